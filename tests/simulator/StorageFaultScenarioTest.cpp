#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ScenarioTestSupport.h"
#include "platform/foundation/FileLayer.h"

namespace trc::simulator::test {
namespace {

using ::testing::HasSubstr;

class StorageFaultScenarioTest : public ::testing::Test {
protected:
    ScenarioHarness harness;

    void TearDown() override { foundation::FileLayer::setShared(nullptr); }

    ScenarioRunner::Result run(const std::string& steps) {
        return harness.run(R"({"defaults": {"a": 1}, "steps": [)" + steps + "]}");
    }
    void failsWith(const std::string& steps, const std::string& message) {
        auto r = run(steps);
        ASSERT_FALSE(r.passed());
        EXPECT_THAT(ScenarioHarness::failures(r), HasSubstr("step 1: " + message)) << ScenarioHarness::failures(r);
    }
};

TEST_F(StorageFaultScenarioTest, FaultsOutliveARelaunchUntilTakenAwayAndANewScenarioStartsWithout) {
    auto r = run(R"(
        {"storageFault": {"operation": "open", "path": "Library/Preferences/UserDefaults.json", "errno": "EMFILE"}},
        {"relaunch": true},
        {"check": "defaults", "path": "a", "equals": {"$absent": true}},
        {"check": "storage", "path": "injected", "equals": 1},
        {"relaunch": true},
        {"check": "defaults", "path": "a", "equals": {"$absent": true}},
        {"storageFault": "none"},
        {"check": "defaults", "path": "a", "equals": 1})");
    EXPECT_TRUE(r.passed()) << ScenarioHarness::failures(r);

    r = run(R"({"storageFault": {"operation": "open", "errno": "EACCES", "nth": 1}})");
    EXPECT_TRUE(r.passed()) << ScenarioHarness::failures(r);
    r = run(R"({"relaunch": true}, {"check": "defaults", "path": "a", "equals": 1},
               {"check": "storage", "path": "injected", "equals": 0})");
    EXPECT_TRUE(r.passed()) << ScenarioHarness::failures(r);
}

TEST_F(StorageFaultScenarioTest, AFaultThatCannotBeMetFailsTheStep) {
    failsWith(R"({"storageFault": {"errno": "EWHAT"}})", "\"errno\" must name an error");
    failsWith(R"({"storageFault": {"operation": "open"}})", "\"storageFault\" needs \"errno\"");
    failsWith(R"({"storageFault": {"operation": "seek", "errno": "EIO"}})", "\"operation\" must be");
    failsWith(R"({"storageFault": {"path": "../elsewhere", "errno": "EIO"}})", "\"path\" must be a path inside");
    failsWith(R"({"storageFault": {"path": "/etc", "errno": "EIO"}})", "\"path\" must be a path inside");
    failsWith(R"({"storageFault": {"nth": 0, "errno": "EIO"}})", "\"nth\" must be a whole number");
    failsWith(R"({"storageFault": {"when": 1, "errno": "EIO"}})", "\"storageFault\" has no member \"when\"");
    failsWith(R"({"storageFault": true})", "\"storageFault\" takes a fault");
}

}  // namespace
}  // namespace trc::simulator::test
