#include "simulator/BarcodeScenarioSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ScenarioTestSupport.h"
#include "platform/core/internal/Logging.h"

namespace trc::simulator::test {
namespace {

using ::testing::HasSubstr;

class BarcodeScenarioTest : public ::testing::Test {
protected:
    ScenarioHarness harness;

    ScenarioRunner::Result run(const std::string& steps) {
        return harness.run(R"({"objects": {"scan": {"answers": ["finishedScanningWithResults"]}}, "steps": [)" + steps +
                           "]}");
    }
    static std::string failures(const ScenarioRunner::Result& r) { return ScenarioHarness::failures(r); }
    // The scenario failed, and at that step with that message.
    void failsWith(const std::string& steps, int step, const std::string& message) {
        auto r = run(steps);
        ASSERT_FALSE(r.passed());
        EXPECT_THAT(failures(r), HasSubstr("step " + std::to_string(step) + ": " + message)) << failures(r);
    }
    static constexpr const char* kOpenScanner =
        R"({"new": "UIViewController", "as": "page"}, {"show": "$page", "inNavigation": true},
           {"send": "BarcodeScannerBridge", "selector": "create:callback:", "args": [{}, "$scan"]})";
};

TEST_F(BarcodeScenarioTest, TheBridgeTakesWrongArgumentsAsMissingOnes) {
    auto r = run(R"(
        {"send": "BarcodeScannerBridge", "selector": "check:callback:", "args": ["stock", "not an object"]},
        {"check": "BarcodeScannerViewController", "path": "params", "equals": null},
        {"check": "BarcodeScannerViewController", "path": "callback.class", "equals": "BarcodeScannerDelegate"},
        {"send": "BarcodeScannerBridge", "selector": "create:callback:", "args": [{"a": 1}, null]},
        {"check": "BarcodeScannerViewController", "path": "params", "equals": {"a": 1}})");
    EXPECT_TRUE(r.passed()) << failures(r);
    bool logged = false;
    for (const auto& record : core::internal::Logging::captured()) {
        logged = logged || (record.severity == core::Severity::warn &&
                            record.message ==
                                "BarcodeScannerBridge check:callback: the callback is no object; "
                                "the default one stands in");
    }
    EXPECT_TRUE(logged);
}

TEST_F(BarcodeScenarioTest, ReadingsNeedAScannerOnScreenAndOneKindOfReading) {
    failsWith(R"({"user": "barcode", "text": "1"})", 1,
              "no barcode scanner on screen (on top: HostRootViewController)");
    failsWith(std::string(kOpenScanner) + R"(, {"user": "barcode", "text": "1", "image": "a.png"})", 4,
              "\"barcode\" takes one of");
    failsWith(std::string(kOpenScanner) + R"(, {"user": "barcode", "action": "close"})", 4,
              "\"action\" must be \"cancel\"");
}

TEST_F(BarcodeScenarioTest, TheCameraStepAndThePromptRefuseWhatTheyCannotDo) {
    failsWith(R"({"camera": true})", 1, "\"camera\" takes");
    failsWith(R"({"camera": {"lens": "wide"}})", 1, "\"camera\" has no member \"lens\"");
    failsWith(R"({"camera": {"authorization": "granted"}})", 1, "\"authorization\" must be");
    failsWith(R"({"user": "cameraAccess", "allow": true})", 1, "no camera access prompt is waiting");
    failsWith(R"({"new": "UIViewController", "as": "page"}, {"show": "$page", "inNavigation": 1})", 2,
              "\"inNavigation\" must be true or false");
}

}  // namespace
}  // namespace trc::simulator::test
