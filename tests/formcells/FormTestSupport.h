#pragma once
// What the form tests share: a fresh process and main queue per test, a
// host callback object that answers the names it is given and records what
// it receives, and parameter dictionaries from JSON text.

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "formcells/FormCellContainerViewController.h"
#include "platform/core/Json.h"
#include "platform/core/Object.h"
#include "platform/core/internal/Logging.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/vessa/VUIListPickerDataSource.h"
#include "testsupport/ProcessStateReset.h"

namespace trc::formcells::testing {

// A host callback object: answers exactly the bare names it was made with.
class RecordingDelegate : public core::Object {
public:
    struct Call {
        std::string selector;
        std::vector<core::Value> args;
    };

    explicit RecordingDelegate(std::set<std::string, std::less<>> answers) : answers_(std::move(answers)) {}
    // Also answers "getView" with view (an object, or nil for none).
    RecordingDelegate(std::set<std::string, std::less<>> answers, std::shared_ptr<core::Object> view)
        : answers_(std::move(answers)), view_(std::move(view)) {}

    bool respondsToSelector(std::string_view selector) const override { return answers_.contains(selector); }
    core::Value perform(std::string_view selector, core::Args args) override {
        if (!respondsToSelector(selector)) {
            ADD_FAILURE() << "sent " << selector << " without asking first";
            return {};
        }
        calls.push_back({std::string(selector), {args.begin(), args.end()}});
        if (selector == "getView" && view_) return core::Value(view_);
        return {};
    }

    std::vector<Call> calls;

private:
    std::set<std::string, std::less<>> answers_;
    std::shared_ptr<core::Object> view_;
};

inline std::shared_ptr<RecordingDelegate> reportingDelegate() {
    return std::make_shared<RecordingDelegate>(std::set<std::string, std::less<>>{"valueChangedWithParams", "onPress"});
}

inline core::Dictionary params(const std::string& json) {
    core::Value v = core::Json::parse(json);
    const core::Dictionary* d = v.ifDictionary();
    EXPECT_NE(d, nullptr) << json;
    return d ? *d : core::Dictionary();
}

inline bool logged(core::Severity severity, const std::string& part) {
    for (const auto& r : core::internal::Logging::captured()) {
        if (r.severity == severity && r.message.find(part) != std::string::npos) return true;
    }
    return false;
}

// Announces the form's sections, one per row count, as a host does.
inline void announce(FormCellContainerViewController& form, const std::vector<int>& counts) {
    core::Array list;
    for (int n : counts) list.emplace_back(n);
    EXPECT_TRUE(form.announceNumberOfSections(core::Value(static_cast<int>(counts.size())), "test"));
    EXPECT_TRUE(form.announceNumberOfRowsInSection(core::Value(std::move(list)), "test"));
}

// A list picker data source that counts the host's "no more items" calls
// ("hideLazyLoadingIndicator") and shows no rows.
class CountingSource : public core::Object, public vessa::VUIListPickerDataSource {
public:
    int hidden = 0;
    bool respondsToSelector(std::string_view selector) const override { return selector == "hideLazyLoadingIndicator"; }
    core::Value perform(std::string_view, core::Args) override {
        ++hidden;
        return {};
    }
    int numberOfRowsIn(ui::UITableView&) override { return 0; }
    std::shared_ptr<ui::UITableViewCell> cellForRowAt(ui::UITableView&, int, bool) override { return nullptr; }
    std::shared_ptr<ui::UITableViewCell> cellForItemWithUniqueIdentifier(ui::UITableView&,
                                                                         const std::string&) override {
        return nullptr;
    }
    std::string uniqueIdentifierForItemAt(ui::UITableView&, int) override { return {}; }
    int indexForUniqueIdentifier(ui::UITableView&, const std::string&) override { return -1; }
};

class FreshProcessTest : public ::testing::Test {
protected:
    void SetUp() override {
        core::ProcessStateReset::resetAll();
        dispatch::MainQueue::resetShared();
        core::internal::Logging::clearCaptured();
    }
    void TearDown() override { core::ProcessStateReset::resetAll(); }
};

}  // namespace trc::formcells::testing
