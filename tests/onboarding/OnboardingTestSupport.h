#pragma once
// What the onboarding tests share: a host callback object that answers the
// bare names it is given and records every send, and a fixture that starts
// as a fresh process with a key window (from the flow tests) and an empty
// log capture.

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/Object.h"
#include "platform/core/internal/Logging.h"
#include "platform/flows/FlowTestSupport.h"

namespace trc::onboarding::test {

class RecordingCallback : public core::Object {
public:
    explicit RecordingCallback(std::set<std::string, std::less<>> answers) : answers_(std::move(answers)) {}

    bool respondsToSelector(std::string_view selector) const override { return answers_.contains(selector); }
    core::Value perform(std::string_view selector, core::Args args) override {
        sent.emplace_back(std::string(selector), args.empty() ? core::Value() : args[0]);
        return {};
    }
    // The selectors sent, in order, joined by ",".
    std::string selectors() const {
        std::string out;
        for (const auto& [s, v] : sent) out += (out.empty() ? "" : ",") + s;
        return out;
    }

    std::vector<std::pair<std::string, core::Value>> sent;

private:
    std::set<std::string, std::less<>> answers_;
};

class OnboardingTest : public flows::test::FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        core::internal::Logging::clearCaptured();
    }
    // Whether any captured log line holds text.
    static bool logged(const std::string& text) {
        for (const auto& r : core::internal::Logging::captured())
            if (r.message.find(text) != std::string::npos) return true;
        return false;
    }
};

}  // namespace trc::onboarding::test
