#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ScenarioTestSupport.h"

namespace trc::simulator::test {
namespace {

using ::testing::HasSubstr;

// The simulated browser of the sign-in screen: where it may go and what it
// says when an authorization server does not send it back.
class SignInScenarioTest : public ::testing::Test {
protected:
    ScenarioHarness harness;

    // Onboards up to the sign-in screen (step 3) with the given connection
    // members, then runs the action as step 4.
    ScenarioRunner::Result signIn(const std::string& connection, const std::string& action) {
        return harness.run(R"({"servers": {"vorn": {"body": "{\"access_token\": \"t\"}"}, "down": {"refuse": true}},
            "objects": {"cb": {"answers": ["setOnboardingStage", "finishedOnboardingWithParams"]}},
            "steps": [
              {"send": "WelcomeScreenBridge", "selector": "create:callback:", "args": [{
                "ApplicationID": "app1", "VornURL": "{{vorn}}", "TokenEndpointURL": "{{vorn}}/token",
                "RedirectURL": "{{vorn}}/cb", "AllowedDomains": ["127.0.0.1", "example.com"], "SkipEula": true, )" +
                           connection + R"(}, "$cb"]},
              {"user": "welcome", "action": "start"},
              {"check": "screen", "path": "class", "equals": "AuthenticationViewController"},
              )" + action + "]}");
    }
    void failsWith(const std::string& connection, const std::string& action, const std::string& message) {
        auto r = signIn(connection, action);
        ASSERT_FALSE(r.passed());
        EXPECT_THAT(ScenarioHarness::failures(r), HasSubstr("step 4: " + message)) << ScenarioHarness::failures(r);
    }
};

TEST_F(SignInScenarioTest, ABrowserThatIsNotSentBackFailsTheStepSayingWhy) {
    const std::string success = R"({"user": "authenticate", "outcome": "success"})";
    failsWith(R"("ClientID": "client-1", "AuthorizationEndpointURL": "{{down}}/authorize")", success,
              "the authorization request to http://127.0.0.1:");
    failsWith(R"("ClientID": "client-1", "AuthorizationEndpointURL": "{{vorn}}/authorize?response_type=token")",
              success, "the authorization server answered 200 without a redirect: {\"access_token\": \"t\"}");
    failsWith(R"("ClientID": "client-1", "AuthorizationEndpointURL": "https://example.com/authorize")", success,
              "the simulator signs in only at http://127.0.0.1, not at https://example.com/authorize?");
}

TEST_F(SignInScenarioTest, TheActionTakesAnOutcomeOrARedirectAndTheScreenTakesTheURLOnce) {
    const std::string connection = R"("ClientID": "client-1", "AuthorizationEndpointURL": "{{vorn}}/authorize")";
    failsWith(connection, R"({"user": "authenticate", "outcome": "maybe"})",
              "\"outcome\" must be \"success\", \"failure\" or \"cancel\"");
    failsWith(connection, R"({"user": "authenticate", "outcome": "success", "redirect": "x"})",
              "\"authenticate\" takes either \"outcome\" or \"redirect\"");
    failsWith(connection, R"({"user": "authenticate"})", "\"authenticate\" takes either \"outcome\" or \"redirect\"");

    auto r = signIn(connection, R"({"user": "authenticate", "redirect": "https://example.com/login?state={state}"},
        {"check": "screen", "path": "hasEnded", "equals": false},
        {"user": "authenticate", "redirect": "{{vorn}}/cb?error=access_denied&state={state}"},
        {"check": "alert", "path": "title", "equals": "Failed to onboard!"},
        {"check": "server:vorn", "path": "count", "equals": 0})");
    EXPECT_TRUE(r.passed()) << ScenarioHarness::failures(r);
}

}  // namespace
}  // namespace trc::simulator::test
