#include <httplib.h>

#include <mutex>
#include <thread>

#include "FlowTestSupport.h"
#include "SignInBrowser.h"
#include "platform/core/Json.h"
#include "platform/flows/AuthenticationViewController.h"
#include "platform/flows/CodableStoring.h"
#include "platform/flows/ConfigurationError.h"
#include "platform/flows/DiscoveryServiceConfigurationTransformer.h"
#include "platform/flows/EULAStep.h"
#include "platform/flows/OAuth2AuthenticationParameters.h"
#include "platform/flows/OAuth2AuthenticationStep.h"
#include "platform/flows/OAuth2Error.h"
#include "platform/flows/OnboardingError.h"
#include "platform/flows/URLCache.h"
#include "platform/flows/URLError.h"
#include "platform/flows/VessaWKWebViewPresenter.h"
#include "platform/flows/ZELURLSession.h"
#include "platform/flows/ZELvornSettingsParameters.h"
#include "testsupport/ProcessStateReset.h"

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
    auto oauth =
        std::any_cast<OAuth2AuthenticationParameters>(info.at(OnboardingInfoKey::oauth2AuthenticationParameters));
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

// A token endpoint on 127.0.0.1: records each token request's form and
// answers with the status and body a test sets.
class TokenEndpoint {
public:
    TokenEndpoint() {
        server.Post("/token", [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard<std::mutex> lock(mutex);
            forms.push_back(foundation::FormURLEncoding::read(req.body).value_or(foundation::FormURLEncoding::Pairs{}));
            contentTypes.push_back(req.get_header_value("Content-Type"));
            res.status = status;
            res.set_content(body, "application/json");
        });
        server.Get("/me", [this](const httplib::Request& req, httplib::Response& res) {
            std::lock_guard<std::mutex> lock(mutex);
            authorization = req.get_header_value("Authorization");
            res.set_content("{}", "application/json");
        });
        port = server.bind_to_any_port("127.0.0.1");
        thread = std::thread([this] { server.listen_after_bind(); });
        while (!server.is_running()) std::this_thread::yield();
    }
    ~TokenEndpoint() {
        server.stop();
        thread.join();
    }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port) + path; }
    std::size_t requests() {
        std::lock_guard<std::mutex> lock(mutex);
        return forms.size();
    }
    void answer(int newStatus, std::string newBody) {
        std::lock_guard<std::mutex> lock(mutex);
        status = newStatus;
        body = std::move(newBody);
    }
    std::string contentType(std::size_t request) {
        std::lock_guard<std::mutex> lock(mutex);
        return contentTypes.at(request);
    }
    std::string lastAuthorization() {
        std::lock_guard<std::mutex> lock(mutex);
        return authorization;
    }
    std::string sent(std::size_t request, const char* name) {
        std::lock_guard<std::mutex> lock(mutex);
        return foundation::FormURLEncoding::value(forms.at(request), name).value_or("<none>");
    }

    std::mutex mutex;
    int status = 200;
    std::string body = R"({"access_token": "tok-123", "token_type": "bearer", "expires_in": 3600})";
    std::vector<foundation::FormURLEncoding::Pairs> forms;
    std::vector<std::string> contentTypes;
    std::string authorization;
    httplib::Server server;
    int port = 0;
    std::thread thread;
};

class SignIn : public FlowTest {
protected:
    OnboardingContext context(const std::string& tokenURL) {
        OnboardingContext ctx;
        ctx.info[OnboardingInfoKey::oauth2AuthenticationParameters] = OAuth2AuthenticationParameters{
            "https://auth.example.com/authorize", tokenURL, "client 1", "app://cb/done", {}};
        return ctx;
    }
    std::shared_ptr<AuthenticationViewController> signInScreen() {
        runMain();
        return std::dynamic_pointer_cast<AuthenticationViewController>(topScreen());
    }
    // Starts a sign-in against the endpoint; its result lands in result.
    std::shared_ptr<AuthenticationViewController> start(const std::string& tokenURL) {
        result.reset();
        step->onboard(context(tokenURL), [this](OnboardingResult r) { result = r; });
        return signInScreen();
    }
    const OAuth2Error* failure() const {
        const auto* failed = result ? Error::as<OnboardingError>(result->error()) : nullptr;
        return failed ? Error::as<OAuth2Error>(failed->innerError()) : nullptr;
    }

    std::optional<OnboardingResult> result;
    std::shared_ptr<OAuth2AuthenticationStep> step =
        std::make_shared<OAuth2AuthenticationStep>(std::make_shared<VessaWKWebViewPresenter>(
            std::weak_ptr<core::Object>(), std::weak_ptr<ZELWKNavigationDelegate>()));
};

TEST(SignInRequest, TheChallengeIsS256OfTheVerifierAndTheEndpointKeepsItsOwnQuery) {
    // RFC 7636 appendix B.
    EXPECT_EQ(OAuth2AuthenticationStep::codeChallenge("dBjftJeZ4CVP-mB92K27uhbUJU1p1r_wW1gFWFOEjXk"),
              "E9Melhoa2OwvFrEMTJguCHaoeK1t8URWbuGJSstw-cM");
    OAuth2AuthenticationParameters p{"https://a.example.com/auth?tenant=t1#top", "t", "client 1", "app://cb?x=1", {}};
    EXPECT_EQ(OAuth2AuthenticationStep::authorizationURL(p, "CH", "ST"),
              "https://a.example.com/auth?tenant=t1&response_type=code&client_id=client+1"
              "&redirect_uri=app%3A%2F%2Fcb%3Fx%3D1&code_challenge_method=S256&code_challenge=CH&state=ST");
    p.authorizationEndpointURL = "https://a.example.com/auth";
    EXPECT_EQ(OAuth2AuthenticationStep::authorizationURL(p, "CH", "ST").substr(0, 42),
              "https://a.example.com/auth?response_type=c");
}

TEST_F(SignIn, TheRedirectsCodeIsExchangedWithTheVerifierAndItsTokenAuthorizesLaterRequests) {
    TokenEndpoint server;
    auto screen = start(server.url("/token"));
    ASSERT_TRUE(screen);
    EXPECT_EQ(authorizationParameter(*screen, "response_type"), "code");
    EXPECT_EQ(authorizationParameter(*screen, "client_id"), "client 1");
    EXPECT_EQ(authorizationParameter(*screen, "redirect_uri"), "app://cb/done");
    EXPECT_EQ(authorizationParameter(*screen, "code_challenge_method"), "S256");
    const std::string state = authorizationParameter(*screen, "state");
    EXPECT_EQ(state.size(), 43u);

    EXPECT_TRUE(screen->navigate("https://auth.example.com/login?next=%2Fauthorize"));
    EXPECT_TRUE(screen->navigate("app://cb/other?code=c&state=" + state));
    EXPECT_FALSE(screen->hasEnded()) << "pages on the way are let through";
    runMain();
    EXPECT_FALSE(result);

    EXPECT_TRUE(screen->navigate("APP://CB/done?state=" + state + "&code=the+code%2F1"));
    EXPECT_TRUE(screen->hasEnded());
    EXPECT_FALSE(screen->navigate("app://cb/done?code=again&state=" + state)) << "the screen has ended";
    ASSERT_TRUE(pumpUntil([&] { return result.has_value(); }));
    ASSERT_TRUE(result->isSuccess()) << result->error()->description();
    ASSERT_EQ(server.requests(), 1u);
    EXPECT_EQ(server.sent(0, "grant_type"), "authorization_code");
    EXPECT_EQ(server.sent(0, "code"), "the code/1") << "exactly the code the redirect carried";
    EXPECT_EQ(server.sent(0, "redirect_uri"), "app://cb/done");
    EXPECT_EQ(server.sent(0, "client_id"), "client 1");
    EXPECT_EQ(OAuth2AuthenticationStep::codeChallenge(server.sent(0, "code_verifier")),
              authorizationParameter(*screen, "code_challenge"));
    EXPECT_EQ(server.contentType(0), "application/x-www-form-urlencoded");
    EXPECT_EQ(URLCache::shared().count(), 0u) << "the token answer is not kept in the URL cache";

    auto signedIn = *result->context();
    bool fetched = false;
    signedIn.zelURLSession()
        ->dataTask(URLRequest(server.url("/me")), [&](auto, auto, auto) { fetched = true; })
        ->resume();
    ASSERT_TRUE(pumpUntil([&] { return fetched; }));
    EXPECT_EQ(server.lastAuthorization(), "Bearer tok-123");

    step->isAllowingOfflineRestore = true;
    OnboardingContext relaunch(signedIn.onboardingID, signedIn.credentialStore, signedIn.presentationDelegate);
    result.reset();
    step->restore(relaunch, [&](OnboardingResult r) { result = r; });
    runMain();
    ASSERT_TRUE(result && result->isSuccess()) << "the kept token restores without the server";
    EXPECT_EQ(server.requests(), 1u);
}

TEST_F(SignIn, ATokenRequestIsNeverAnsweredFromTheURLCache) {
    TokenEndpoint server;
    const std::string kept = R"({"access_token": "old"})";
    URLCache::shared().storeCachedResponse(
        server.url("/token"), {HTTPURLResponse{server.url("/token"), 200, {}}, core::Data(kept.begin(), kept.end())});
    auto screen = start(server.url("/token"));
    screen->navigate(redirectWithCode(*screen, "c1"));
    ASSERT_TRUE(pumpUntil([&] { return result.has_value(); }));
    EXPECT_EQ(server.requests(), 1u);
}

TEST_F(SignIn, AWrongRedirectOrARefusalFailsWithTheServersWordsAndNoSecret) {
    TokenEndpoint server;
    struct Case {
        const char* name;
        std::function<std::string(const AuthenticationViewController&)> redirect;
        int status;
        std::string body;
        OAuth2Error::Case expected;
        std::size_t tokenRequests;
        std::string description;
    };
    const std::string code = "spent-code-1";
    auto withState = [](const std::string& query) {
        return [query](const AuthenticationViewController& s) {
            return "app://cb/done?" + query + "&state=" + authorizationParameter(s, "state");
        };
    };
    const std::vector<Case> cases = {
        {"another state", [](const auto&) { return std::string("app://cb/done?code=c&state=forged"); }, 200, "",
         OAuth2Error::Case::stateMismatch, 0, "OAuth2Error.stateMismatch: the redirect carries another state"},
        {"no state", [](const auto&) { return std::string("app://cb/done?code=c"); }, 200, "",
         OAuth2Error::Case::stateMismatch, 0, "OAuth2Error.stateMismatch: the redirect carries no state"},
        {"the person refused", withState("error=access_denied"), 200, "", OAuth2Error::Case::authorizationFailed, 0,
         "OAuth2Error.authorizationFailed: access_denied"},
        {"no code", withState("session=1"), 200, "", OAuth2Error::Case::missingCode, 0,
         "OAuth2Error.missingCode: the redirect carries no code"},
        {"a replayed code", [&](const auto& s) { return redirectWithCode(s, code); }, 400,
         R"({"error": "invalid_grant", "error_description": "code spent-code-1 was used"})",
         OAuth2Error::Case::tokenRequestFailed, 1, "OAuth2Error.tokenRequestFailed: invalid_grant - code ... was used"},
        {"an unknown client", [&](const auto& s) { return redirectWithCode(s, code); }, 401,
         R"({"error": "invalid_client"})", OAuth2Error::Case::tokenRequestFailed, 1,
         "OAuth2Error.tokenRequestFailed: invalid_client"},
        {"a page for an answer", [&](const auto& s) { return redirectWithCode(s, code); }, 400, "<html>tok-123</html>",
         OAuth2Error::Case::invalidTokenResponse, 1, "OAuth2Error.invalidTokenResponse: status 400"},
        {"a MAC token", [&](const auto& s) { return redirectWithCode(s, code); }, 200,
         R"({"access_token": "tok-123", "token_type": "mac"})", OAuth2Error::Case::invalidTokenResponse, 1,
         "OAuth2Error.invalidTokenResponse: the token type is not Bearer"},
    };
    std::size_t before = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server.answer(c.status, c.body);
        auto screen = start(server.url("/token"));
        ASSERT_TRUE(screen);
        EXPECT_TRUE(screen->navigate(c.redirect(*screen)));
        ASSERT_TRUE(pumpUntil([&] { return result.has_value(); }));
        ASSERT_TRUE(failure()) << (result->error() ? result->error()->description() : "success");
        EXPECT_EQ(failure()->errorCase(), c.expected);
        EXPECT_EQ(failure()->description(), c.description);
        EXPECT_EQ(server.requests() - before, c.tokenRequests);
        before = server.requests();
        const std::string told = result->error()->description();
        for (const std::string& secret : {code, std::string("tok-123")})
            EXPECT_EQ(told.find(secret), std::string::npos);
        if (c.tokenRequests) {
            EXPECT_EQ(told.find(server.sent(server.requests() - 1, "code_verifier")), std::string::npos);
        }
    }
}

TEST_F(SignIn, ARestoreWithoutAKeptTokenOrWithoutOfflineRestoreSignsInTheSameWay) {
    TokenEndpoint server;
    for (bool offline : {true, false}) {
        SCOPED_TRACE(offline ? "nothing kept" : "offline restore not allowed");
        step->isAllowingOfflineRestore = offline;
        OnboardingContext ctx = context(server.url("/token"));
        if (!offline) {
            const std::string kept = R"({"access_token": "kept"})";
            ctx.credentialStore->put(core::Data(kept.begin(), kept.end()), OAuth2AuthenticationStep::kTokenKey);
        }
        result.reset();
        step->restore(ctx, [this](OnboardingResult r) { result = r; });
        auto screen = signInScreen();
        ASSERT_TRUE(screen) << "the sign-in screen is shown";
        screen->navigate(redirectWithCode(*screen, "restore-code"));
        ASSERT_TRUE(pumpUntil([&] { return result.has_value(); }));
        ASSERT_TRUE(result->isSuccess()) << result->error()->description();
        EXPECT_EQ(server.sent(server.requests() - 1, "code"), "restore-code");
    }
}

TEST_F(SignIn, CancelAndAnUnreachableTokenServerEndAsTheRoadsExpect) {
    start("http://127.0.0.1:9/token")->cancel();
    runMain();
    ASSERT_TRUE(result);
    EXPECT_EQ(Error::as<OnboardingError>(result->error())->errorCase(), OnboardingError::Case::cancelled);

    auto screen = start("http://127.0.0.1:9/token");
    screen->navigate(redirectWithCode(*screen, "c1"));
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

    core::ProcessStateReset::resetAll();
    EXPECT_TRUE(weakStep.expired());
    EXPECT_TRUE(weakFlowState.expired());
    EXPECT_FALSE(completed) << "an abandoned run is not completed";
}

}  // namespace
}  // namespace trc::flows::test
