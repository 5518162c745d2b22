#include <httplib.h>

#include <thread>

#include "FlowTestSupport.h"
#include "platform/core/Json.h"
#include "platform/core/ProcessState.h"
#include "platform/flows/AuthenticationViewController.h"
#include "platform/flows/ConfigurationError.h"
#include "platform/flows/DiscoveryServiceConfigurationTransformer.h"
#include "platform/flows/EULAStep.h"
#include "platform/flows/OAuth2AuthenticationParameters.h"
#include "platform/flows/OAuth2AuthenticationStep.h"
#include "platform/flows/OnboardingError.h"
#include "platform/flows/URLError.h"
#include "platform/flows/VessaWKWebViewPresenter.h"
#include "platform/flows/ZELURLSession.h"
#include "platform/flows/ZELvornSettingsParameters.h"

namespace trc::flows::test {
namespace {

TEST(DiscoveryTransformer, ReadsSettingsAndOAuthParametersAndNamesWhatIsMissing) {
    core::Value config = core::Json::parse(R"({"host": "srv.example.com", "port": 8443, "auth": [
        {"type": "oauth2", "config": {"oauth2.authorizationEndpoint": "https://a/auth",
         "oauth2.tokenEndpoint": "https://a/token", "oauth2.clients": [{"clientID": "c1", "redirectURL": "app://cb"}]}}]})");
    DiscoveryServiceConfigurationTransformer t("app1", std::nullopt, std::nullopt, "path/x");
    auto info = t.transform(config);
    auto settings = std::any_cast<ZELvornSettingsParameters>(info.at(OnboardingInfoKey::zelvornSettingsParameters));
    EXPECT_EQ(settings.backendURL, "https://srv.example.com:8443");
    EXPECT_EQ(settings.applicationID, "app1");
    auto oauth = std::any_cast<OAuth2AuthenticationParameters>(info.at(OnboardingInfoKey::oauth2AuthenticationParameters));
    EXPECT_EQ(oauth.clientID, "c1");

    try {
        t.transform(core::Json::parse(R"({"host": "h", "config": {"oauth2.tokenEndpoint": "t"}})"));
        FAIL();
    } catch (const ConfigurationError& e) {
        EXPECT_EQ(e.key(), "oauth2.authorizationEndpoint");
    }
    EXPECT_THROW(t.transform(core::Value(3)), ConfigurationError);
    EXPECT_THROW(t.transform(core::Json::parse(R"({"host": "evil.com/x@y"})")), ConfigurationError);
}

class SignIn : public FlowTest {
protected:
    OnboardingContext context(const std::string& tokenURL) {
        OnboardingContext ctx;
        ctx.info[OnboardingInfoKey::oauth2AuthenticationParameters] =
            OAuth2AuthenticationParameters{"https://auth.example.com/authorize", tokenURL, "client", "app://cb", {}};
        return ctx;
    }
    std::shared_ptr<AuthenticationViewController> signInScreen() {
        runMain();
        return std::dynamic_pointer_cast<AuthenticationViewController>(topScreen());
    }
    std::shared_ptr<OAuth2AuthenticationStep> step = std::make_shared<OAuth2AuthenticationStep>(
        std::make_shared<VessaWKWebViewPresenter>(std::weak_ptr<core::Object>(), std::weak_ptr<ZELWKNavigationDelegate>()));
};

TEST_F(SignIn, ATokenFromTheServerAuthorizesEveryLaterRequestAndAllowsAnOfflineRestore) {
    httplib::Server server;
    std::string authorization;
    server.Post("/token", [](const httplib::Request&, httplib::Response& res) {
        res.set_content(R"({"access_token": "tok-123", "expires_in": 3600})", "application/json");
    });
    server.Get("/me", [&](const httplib::Request& req, httplib::Response& res) {
        authorization = req.get_header_value("Authorization");
        res.set_content("{}", "application/json");
    });
    int port = server.bind_to_any_port("127.0.0.1");
    std::thread t([&] { server.listen_after_bind(); });
    std::string base = "http://127.0.0.1:" + std::to_string(port);

    std::optional<OnboardingResult> result;
    step->onboard(context(base + "/token"), [&](OnboardingResult r) { result = r; });
    auto screen = signInScreen();
    ASSERT_TRUE(screen);
    EXPECT_NE(screen->authorizationURL.find("code_challenge="), std::string::npos);
    screen->finish(AuthenticationViewController::Outcome::success);
    ASSERT_TRUE(pumpUntil([&] { return result.has_value(); }));
    ASSERT_TRUE(result->isSuccess()) << result->error()->description();
    auto signedIn = *result->context();
    bool fetched = false;
    signedIn.zelURLSession()->dataTask(URLRequest(base + "/me"), [&](auto, auto, auto) { fetched = true; })->resume();
    ASSERT_TRUE(pumpUntil([&] { return fetched; }));
    EXPECT_EQ(authorization, "Bearer tok-123");
    server.stop();
    t.join();

    step->isAllowingOfflineRestore = true;
    OnboardingContext relaunch(signedIn.onboardingID, signedIn.credentialStore, signedIn.presentationDelegate);
    result.reset();
    step->restore(relaunch, [&](OnboardingResult r) { result = r; });
    runMain();
    ASSERT_TRUE(result && result->isSuccess()) << "the kept token restores without the server";
}

TEST_F(SignIn, CancelFailureAndAnUnreachableTokenServerEndAsTheRoadsExpect) {
    std::optional<OnboardingResult> result;
    step->onboard(context("http://127.0.0.1:9/token"), [&](OnboardingResult r) { result = r; });
    signInScreen()->finish(AuthenticationViewController::Outcome::cancel);
    runMain();
    ASSERT_TRUE(result);
    EXPECT_EQ(Error::as<OnboardingError>(result->error())->errorCase(), OnboardingError::Case::cancelled);

    result.reset();
    step->onboard(context("http://127.0.0.1:9/token"), [&](OnboardingResult r) { result = r; });
    signInScreen()->finish(AuthenticationViewController::Outcome::success);
    ASSERT_TRUE(pumpUntil([&] { return result.has_value(); }));
    const auto* failed = Error::as<OnboardingError>(result->error());
    ASSERT_TRUE(failed);
    EXPECT_EQ(failed->errorCase(), OnboardingError::Case::authenticationFailed);
    ASSERT_TRUE(Error::is<URLError>(failed->innerError())) << "the fourth value is the request's error";
    EXPECT_EQ(failed->innerError()->code(), URLError::cannotConnectToHost);
}

class Agreement : public FlowTest {};

TEST_F(Agreement, AgreeingRemembersTheVersionSoARestoreDoesNotAskAgain) {
    auto step = std::make_shared<EULAStep>(EULAContent{"Terms", "text", "1.0"});
    bool customized = false;
    step->customizationHandler = [&](VUIEULAViewController& s) {
        customized = true;
        s.cancelButton->setEnabled(false);
    };
    OnboardingContext ctx;
    std::optional<OnboardingResult> result;
    step->onboard(ctx, [&](OnboardingResult r) { result = r; });
    runMain();
    auto screen = std::dynamic_pointer_cast<VUIEULAViewController>(topScreen());
    ASSERT_TRUE(screen && customized);
    EXPECT_FALSE(screen->cancel()) << "a disabled cancel button takes no tap";
    screen->accept();
    runMain();
    ASSERT_TRUE(result && result->isSuccess());
    EXPECT_EQ(topScreen(), window->rootViewController());

    result.reset();
    step->restore(ctx, [&](OnboardingResult r) { result = r; });
    EXPECT_TRUE(result && result->isSuccess());

    auto other = std::make_shared<EULAStep>(EULAContent{"Terms", "text", "2.0"});
    result.reset();
    other->restore(ctx, [&](OnboardingResult r) { result = r; });
    runMain();
    std::dynamic_pointer_cast<VUIEULAViewController>(topScreen())->reject();
    runMain();
    ASSERT_TRUE(result && !result->isSuccess());
}

TEST_F(Agreement, AFlowLeftWaitingOnTheAgreementIsFreedWhenTheProcessStateResets) {
    auto step = std::make_shared<EULAStep>(EULAContent{"Terms", "text", "1.0"});
    std::weak_ptr<EULAStep> weakStep = step;
    auto flowState = std::make_shared<int>(0);
    std::weak_ptr<int> weakFlowState = flowState;
    bool completed = false;
    // The completion holds the step, as a flow run holds its steps.
    step->onboard(OnboardingContext(), [step, flowState, &completed](OnboardingResult) { completed = true; });
    step.reset();
    flowState.reset();
    runMain();
    ASSERT_FALSE(weakStep.expired()) << "a waiting step and its flow keep each other";

    core::ProcessState::resetAll();
    EXPECT_TRUE(weakStep.expired());
    EXPECT_TRUE(weakFlowState.expired());
    EXPECT_FALSE(completed) << "an abandoned run is not completed";
}

}  // namespace
}  // namespace trc::flows::test
