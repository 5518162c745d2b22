#pragma once
// What the setter tests share: a fresh process and main queue per test, a
// window to put cells in (so they can take the focus), a stand-in owner that
// records stored values, and parameter dictionaries from JSON text.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "formcells/FormCellOwner.h"
#include "platform/core/Json.h"
#include "platform/core/internal/Logging.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/ui/UIWindow.h"
#include "testsupport/ProcessStateReset.h"

namespace trc::formcells::testing {

class RecordingOwner : public FormCellOwner {
public:
    void updateParamsWithValue(const core::Dictionary& change, const ui::IndexPath& indexPath) override {
        stored.emplace_back(indexPath, change);
    }
    std::vector<std::pair<ui::IndexPath, core::Dictionary>> stored;
};

class SetterTest : public ::testing::Test {
protected:
    void SetUp() override {
        core::ProcessStateReset::resetAll();
        dispatch::MainQueue::resetShared();
        core::internal::Logging::clearCaptured();
    }

    template <class Cell>
    std::shared_ptr<Cell> shown() {
        auto cell = std::make_shared<Cell>();
        window->addSubview(cell);
        return cell;
    }

    // A parameter dictionary from JSON; dates as {"$date": ...} are not needed here.
    static core::Dictionary params(const std::string& json) {
        core::Value v = core::Json::parse(json);
        const core::Dictionary* d = v.ifDictionary();
        EXPECT_NE(d, nullptr) << json;
        return d ? *d : core::Dictionary();
    }

    static bool logged(core::Severity severity, const std::string& part) {
        for (const auto& r : core::internal::Logging::captured()) {
            if (r.severity == severity && r.message.find(part) != std::string::npos) return true;
        }
        return false;
    }

    std::shared_ptr<ui::UIWindow> window = std::make_shared<ui::UIWindow>();
};

}  // namespace trc::formcells::testing
