#include "onboarding/WelcomeScreenStep.h"

#include "onboarding/Flows.h"
#include "onboarding/OnboardingTestSupport.h"
#include "onboarding/PLOVOnboardingConfigurationProvider.h"
#include "onboarding/QRCodePicture.h"
#include "onboarding/WelcomeScreenError.h"
#include "platform/core/Json.h"
#include "platform/flows/CompositeStorage.h"
#include "platform/flows/ConfigurationProviderNames.h"
#include "platform/flows/ModalUIViewControllerPresenter.h"
#include "platform/flows/OnboardingError.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/UIAlertController.h"
#include "platform/vessa/VUIOnboardingScanConfirmView.h"
#include "platform/vessa/VUIOnboardingScanViewController.h"
#include "services/AppConfig.h"
#include "testsupport/TemporaryFolder.h"

namespace trc::onboarding {
namespace {

using services::AppConfig;
using test::RecordingCallback;

const char* kHostApp = "host-app";

std::string code(const std::string& server, const std::string& appID = "app2", const std::string& client = "client-2") {
    return R"({"appID":")" + appID + R"(","auth":[{"config":{"oauth2.tokenEndpoint":")" + server +
           R"(/token","oauth2.authorizationEndpoint":"https://auth.example.com/a","oauth2.endUserUI":")" + server +
           R"(","oauth2.clients":[{"clientID":")" + client + R"(","redirectURL":"https://mobile.example.com/cb"}]}}]})";
}

class WelcomeStepTest : public test::OnboardingTest {
protected:
    void SetUp() override {
        OnboardingTest::SetUp();
        auto config = AppConfig::sharedInstance();
        config->setAllowedDomains(core::Dictionary{{"AllowedDomains", core::Array{"example.com"}}});
        config->setConnectionSettings(
            core::Dictionary{{AppConfig::kApplicationID, kHostApp},
                             {AppConfig::kClientId, "host-client"},
                             {AppConfig::kVornURL, "https://mobile.example.com"},
                             {AppConfig::kAuthorizationEndpointURL, "https://auth.example.com/a"},
                             {AppConfig::kRedirectURL, "https://mobile.example.com/cb"},
                             {AppConfig::kTokenEndpointURL, "https://auth.example.com/t"},
                             {AppConfig::kConnectionInfoToastMessage, "hello"},
                             {AppConfig::kEnableOverrides, true}});
        callback = std::make_shared<RecordingCallback>(std::set<std::string, std::less<>>{"qrCodeScanComplete"});
        transformer = std::make_shared<flows::DiscoveryServiceConfigurationTransformer>(kHostApp);
        step = std::make_shared<WelcomeScreenStep>(transformer,
                                                   std::vector<std::shared_ptr<flows::ConfigurationProviding>>{
                                                       std::make_shared<PLOVOnboardingConfigurationProvider>()},
                                                   callback);
        scanner = std::make_shared<vessa::VUIOnboardingScanViewController>();
    }

    bool scan(const std::string& text) { return step->scanViewControllerShouldValidateScanResult(*scanner, text); }
    bool nothingChanged() {
        auto config = AppConfig::sharedInstance();
        return *config->connectionSettings().find(AppConfig::kApplicationID) == core::Value(kHostApp) &&
               foundation::UserDefaults::shared().objectForKey(AppConfig::kScannedConnectionSettingsKey).isNil() &&
               !step->scanResult && callback->sent.empty();
    }

    std::shared_ptr<RecordingCallback> callback;
    std::shared_ptr<flows::DiscoveryServiceConfigurationTransformer> transformer;
    std::shared_ptr<WelcomeScreenStep> step;
    std::shared_ptr<vessa::VUIOnboardingScanViewController> scanner;
};

TEST_F(WelcomeStepTest, AnAcceptedCodeReplacesTheSixConnectionValuesAndTellsTheHost) {
    ASSERT_TRUE(scan(code("https://mobile.example.com", "a/b")));
    auto config = AppConfig::sharedInstance();
    EXPECT_EQ(config->connectionSettings().get(AppConfig::kApplicationID), core::Value("a/b"));
    EXPECT_EQ(config->connectionSettings().get(AppConfig::kClientId), core::Value("client-2"));
    EXPECT_EQ(config->connectionSettings().get(AppConfig::kConnectionInfoToastMessage), core::Value("hello"));
    core::Value saved = foundation::UserDefaults::shared().objectForKey(AppConfig::kScannedConnectionSettingsKey);
    ASSERT_TRUE(saved.ifDictionary());
    EXPECT_EQ(saved.ifDictionary()->size(), 6u);
    EXPECT_FALSE(saved.ifDictionary()->contains(AppConfig::kConnectionInfoToastMessage));
    EXPECT_EQ(callback->selectors(), "qrCodeScanComplete");
    EXPECT_TRUE(step->scanResult);
    EXPECT_EQ(transformer->applicationID, "a/b");
    ASSERT_TRUE(transformer->authenticationPath);
    EXPECT_EQ(transformer->authenticationPath->rfind(
                  "mobileservices/application/a%2Fb/Storage/v1/runtime/application/a%2Fb/device/", 0),
              0u);
    auto confirm = std::dynamic_pointer_cast<vessa::VUIOnboardingScanConfirmView>(scanner->scanConfirmationView);
    ASSERT_TRUE(confirm);
    EXPECT_EQ(confirm->cloudPlatformHostName, std::optional<std::string>("https://mobile.example.com"));
}

struct DomainCase {
    const char* server;
    bool allowed;
};

class ScanDomains : public WelcomeStepTest, public ::testing::WithParamInterface<DomainCase> {};

TEST_P(ScanDomains, OnlyHostsInsideAnAllowedDomainPass) {
    const DomainCase& c = GetParam();
    EXPECT_EQ(scan(code(c.server)), c.allowed) << c.server;
    if (!c.allowed) {
        EXPECT_TRUE(nothingChanged()) << c.server;
        EXPECT_EQ(scanner->invalidQRCodeTitleString, std::optional<std::string>("Invalid Connection"));
        EXPECT_EQ(scanner->invalidQRCodeMessageString,
                  std::optional<std::string>("The connection settings contains URL that is not in allowed domain"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScanDomains,
    ::testing::Values(DomainCase{"https://mobile.example.com", true},
                      DomainCase{"https://MOBILE.Example.COM:8443", true},
                      DomainCase{"https://mobile.example.com.", true}, DomainCase{"https://example.com", true},
                      DomainCase{"https://evilexample.com", false}, DomainCase{"https://example.com.evil.net", false},
                      DomainCase{"https://example.com@evil.net", false},
                      DomainCase{"https://user:pw@evil.net/example.com", false},
                      DomainCase{"mobile.example.com", false}, DomainCase{"https:///example.com", false},
                      // Readers disagree on escapes in a host: refused.
                      DomainCase{"https://mobile%2Eexample.com", false}));

TEST_F(WelcomeStepTest, RefusedCodesChangeNothingAndLeaveNoScanResult) {
    for (const std::string& text :
         std::vector<std::string>{"[1,2]", "42", "\"text\"", "{not json", "{}", R"({"appID":"a"})",
                                  code("https://mobile.example.com", ""),  // an empty value is the placeholder
                                  code("https://mobile.example.com", "app", "")}) {
        EXPECT_FALSE(scan(text)) << text;
        EXPECT_TRUE(nothingChanged()) << text;
        EXPECT_FALSE(scanner->invalidQRCodeTitleString) << text;
    }
    EXPECT_TRUE(test::OnboardingTest::logged("Invalid JSON format"));
}

TEST_F(WelcomeStepTest, WithoutAHostCallbackAGoodCodeIsRefusedAndNothingIsKept) {
    step->callback.reset();
    callback->sent.clear();
    EXPECT_FALSE(scan(code("https://mobile.example.com")));
    EXPECT_TRUE(nothingChanged());
    EXPECT_TRUE(logged("Callback is nil"));
}

TEST_F(WelcomeStepTest, PlainTextCodesNeedTheApplicationsSchemeCollectedOnOnboard) {
    const std::string plain =
        "fieldapp://c?AppId=p1&ClientId=c&ServerUrl=https://mobile.example.com&AuthorizationEndpointUrl=https://"
        "auth.example.com/a&RedirectUrl=https://mobile.example.com/cb&TokenUrl=https://auth.example.com/t";
    EXPECT_FALSE(scan(plain));  // no schemes yet
    step->urlSchemes = {"fieldapp"};
    EXPECT_TRUE(scan(plain));
    EXPECT_EQ(AppConfig::sharedInstance()->connectionSettings().get(AppConfig::kApplicationID), core::Value("p1"));
}

TEST_F(WelcomeStepTest, TheScannerReadsCodesFromPicturesAndShowsWhatItRefused) {
    foundation::TemporaryFolder folder("trc-qr-");
    scanner->delegate = step;
    test::QRCodePicture::write(code("https://mobile.example.com"), folder.path() / "good.png");
    test::QRCodePicture::write(code("https://evil.net"), folder.path() / "bad.png");
    test::QRCodePicture::writeBlank(folder.path() / "blank.png");
    std::string why;
    EXPECT_FALSE(scanner->scanImageFile(folder.path() / "blank.png", why));
    EXPECT_NE(why.find("no QR code"), std::string::npos);
    EXPECT_FALSE(scanner->scanImageFile(folder.path() / "missing.png", why));

    window->rootViewController()->present(scanner, false);
    runMain();
    EXPECT_TRUE(scanner->scanImageFile(folder.path() / "bad.png", why));
    EXPECT_EQ(scanner->lastScanAccepted(), std::optional<bool>(false));
    auto alert = std::dynamic_pointer_cast<ui::UIAlertController>(scanner->presentedViewController());
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title, std::optional<std::string>("Invalid Connection"));
    EXPECT_FALSE(scanner->scanText(code("https://mobile.example.com")));  // the alert is up
    alert->tapAction(0);
    runMain();
    EXPECT_TRUE(scanner->scanImageFile(folder.path() / "good.png", why));
    EXPECT_TRUE(scanner->isShowingConfirmation());
    EXPECT_FALSE(scanner->scanImageFile(folder.path() / "good.png", why));  // awaiting confirmation
    EXPECT_TRUE(scanner->confirmScan());
    runMain();
    EXPECT_FALSE(scanner->presentingViewController());
}

class WelcomeStepRoads : public WelcomeStepTest {
protected:
    flows::OnboardingContext context() {
        flows::OnboardingContext c;
        c.presentationDelegate = std::make_shared<flows::ModalUIViewControllerPresenter>();
        return c;
    }
    void start(const flows::OnboardingContext& c) {
        step->onboard(c, [this](flows::OnboardingResult r) { result = std::move(r); });
        runMain();
    }
    const bool* scanFlag() const {
        return result && result->context() ? result->context()->infoValue<bool>(WelcomeScreenStep::showScanScreen)
                                           : nullptr;
    }
    std::optional<flows::OnboardingResult> result;
};

TEST_F(WelcomeStepRoads, AFalseScanFlagFromTheStepBeforeFinishesAtOnce) {
    auto c = context();
    c.info[WelcomeScreenStep::showScanScreen] = false;
    c.info[flows::OnboardingInfoKey("marker")] = std::string("kept");
    start(c);
    ASSERT_TRUE(result && result->isSuccess());
    EXPECT_TRUE(result->context()->infoValue<std::string>(flows::OnboardingInfoKey("marker")));
    EXPECT_FALSE(step->welcomeScreen);
}

TEST_F(WelcomeStepRoads, ATrueScanFlagShowsTheScannerOptionEvenForValidSettings) {
    auto c = context();
    c.info[WelcomeScreenStep::showScanScreen] = true;
    start(c);
    ASSERT_TRUE(step->welcomeScreen);
    EXPECT_TRUE(step->welcomeScreen->configurationOptions.contains(
        vessa::VUIWelcomeScreen::ConfigurationOption::barcodeScanner));
    EXPECT_EQ(AppConfig::sharedInstance()->connectionSettings().get(AppConfig::kConnectionInfoToastMessage),
              core::Value(""));  // the toast took the message
}

TEST_F(WelcomeStepRoads, TheSelectOptionAlertFinishesWithTheChosenScanFlag) {
    for (std::size_t choice : {0u, 1u}) {
        result.reset();
        Flows::customizeScanButton = false;
        start(context());
        ASSERT_EQ(step->welcomeScreen->state, vessa::VUIWelcomeScreen::State::isConfigured);
        ASSERT_TRUE(step->welcomeScreen->start());
        runMain();
        auto alert = std::dynamic_pointer_cast<ui::UIAlertController>(topScreen());
        ASSERT_TRUE(alert);
        EXPECT_EQ(alert->actionTitles(), (std::vector<std::string>{"Use current application", "Scan new QR code"}));
        alert->tapAction(choice);
        runMain();
        ASSERT_TRUE(scanFlag());
        EXPECT_EQ(*scanFlag(), choice == 1);
        EXPECT_EQ(Flows::customizeScanButton, choice == 1);
        EXPECT_TRUE(result->context()->info.contains(flows::OnboardingInfoKey::zelvornSettingsParameters));
    }
}

TEST_F(WelcomeStepRoads, AfterAnAcceptedScanStartingSkipsTheAlert) {
    start(context());
    ASSERT_TRUE(scan(code("https://mobile.example.com")));
    runMain();
    step->welcomeScreen->start();
    runMain();
    ASSERT_TRUE(scanFlag());
    EXPECT_FALSE(*scanFlag());
}

TEST_F(WelcomeStepRoads, TheDemoChoiceEndsTheStepWithTheDemoRequest) {
    start(context());
    step->welcomeScreen->isDemoAvailable = true;
    ASSERT_TRUE(step->welcomeScreen->demo());
    runMain();
    ASSERT_TRUE(result && !result->isSuccess());
    EXPECT_TRUE(flows::Error::is<WelcomeScreenError>(result->error()));
}

TEST_F(WelcomeStepRoads, CompleteButUnusableSettingsFailTheStep) {
    AppConfig::sharedInstance()->setConnectionSetting(AppConfig::kVornURL, "not a server");
    start(context());
    ASSERT_TRUE(result && !result->isSuccess());
    EXPECT_TRUE(logged("Failed to persist configuration!"));
}

TEST_F(WelcomeStepRoads, InputRequestsAreAnsweredAndOnlyTheFirstAddsOptions) {
    start(context());
    flows::ConfigurationLoader loader({}, {}, {});
    bool answered = false;
    step->configurationProviderRequestedInput(loader, {}, [&](core::Dictionary d) { answered = d.empty(); });
    EXPECT_TRUE(answered);
    EXPECT_TRUE(step->welcomeScreen->configurationOptions.empty());
    step->configurationProviderRequestedInput(
        loader, core::Dictionary{{flows::ConfigurationProviderNames::json, core::Dictionary{}}},
        [](core::Dictionary) {});
    step->configurationProviderRequestedInput(
        loader, core::Dictionary{{flows::ConfigurationProviderNames::discoveryService, core::Dictionary{}}},
        [](core::Dictionary) {});
    EXPECT_EQ(step->welcomeScreen->configurationOptions,
              (std::set<vessa::VUIWelcomeScreen::ConfigurationOption>{
                  vessa::VUIWelcomeScreen::ConfigurationOption::barcodeScanner}));
}

TEST_F(WelcomeStepRoads, RestoreReadsTheKeptConfigurationAndFailsWithoutOne) {
    auto store = flows::CompositeStorage::makeInMemory();
    std::optional<std::optional<WelcomeScreenStep::Config>> restored;
    flows::ErrorPtr error;
    step->restore(store, [&](std::optional<WelcomeScreenStep::Config> c, flows::ErrorPtr e) {
        restored = c;
        error = e;
    });
    const auto* missing = flows::Error::as<flows::OnboardingError>(error);
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->errorCase(), flows::OnboardingError::Case::missingArgument);
    EXPECT_EQ(missing->text(0), std::optional<std::string>("failed to load config data from the store"));
    EXPECT_EQ(missing->text(1), std::optional<std::string>("WelcomeScreenStep"));

    step->credentialStore = store;
    step->persistConfiguration(AppConfig::sharedInstance()->getAppConnectionSettings());
    step->restore(store, [&](std::optional<WelcomeScreenStep::Config> c, flows::ErrorPtr e) {
        restored = c;
        error = e;
    });
    EXPECT_FALSE(error);
    ASSERT_TRUE(restored && *restored);
    EXPECT_TRUE((*restored)->contains(flows::OnboardingInfoKey::oauth2AuthenticationParameters));

    step->welcomeScreen = vessa::VUIWelcomeScreen::createInstanceFromStoryboard();
    bool reset = false;
    step->reset(context(), [&] { reset = true; });
    EXPECT_TRUE(reset);
    EXPECT_FALSE(step->welcomeScreen);
    EXPECT_TRUE(store->get(flows::ConfigurationPersisting::kPersistedConfigurationKey));
}

}  // namespace
}  // namespace trc::onboarding
