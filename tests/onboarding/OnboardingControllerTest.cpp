#include "onboarding/OnboardingController.h"

#include <httplib.h>

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <thread>

#include "host/WelcomeScreenBridge.h"
#include "host/WelcomeScreenDelegate.h"
#include "onboarding/LaunchEULAStep.h"
#include "onboarding/OnboardingCustomization.h"
#include "onboarding/OnboardingTestSupport.h"
#include "onboarding/QRCodePicture.h"
#include "onboarding/WelcomeScreenStep.h"
#include "platform/core/Block.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/flows/AuthenticationViewController.h"
#include "platform/flows/CompositeStorage.h"
#include "platform/flows/Logger.h"
#include "platform/flows/OAuth2AuthenticationStep.h"
#include "platform/flows/PlistCoder.h"
#include "platform/flows/SecureKeyValueStore.h"
#include "platform/flows/SignInBrowser.h"
#include "platform/flows/StoreManagerError.h"
#include "platform/flows/StoreManagerStep.h"
#include "platform/flows/UnexpectedError.h"
#include "platform/flows/VUIPasscodeController.h"
#include "platform/flows/VessaASWebAuthenticationSessionPresenter.h"
#include "platform/flows/VessaWKWebViewPresenter.h"
#include "platform/flows/ZELURLSession.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FaultyFiles.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/UIAlertController.h"
#include "platform/vessa/VUIWelcomeScreen.h"
#include "services/AppConfig.h"
#include "services/SecureStoreManager.h"
#include "services/VersionObserver.h"
#include "testsupport/TemporaryFolder.h"

namespace trc::onboarding {
namespace {

using core::Value;
using services::AppConfig;
using test::RecordingCallback;

// Answers every request with one JSON body, as the mobile-services server,
// the token endpoint and the user roles would.
class LoopbackServer {
public:
    LoopbackServer() {
        auto answer = [](const httplib::Request&, httplib::Response& res) {
            res.set_content(R"({"access_token":"secret-token","id":"user-9"})", "application/json");
        };
        server.Get(".*", answer);
        server.Post(".*", answer);
        port = server.bind_to_any_port("127.0.0.1");
        thread = std::thread([this] { server.listen_after_bind(); });
        while (!server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~LoopbackServer() {
        server.stop();
        thread.join();
    }
    std::string url() const { return "http://127.0.0.1:" + std::to_string(port); }

    httplib::Server server;
    int port = 0;
    std::thread thread;
};

core::Dictionary hostParams(const std::string& server) {
    return {{"ApplicationID", "app1"},
            {"ClientID", "client-1"},
            {"VornURL", server},
            {"AuthorizationEndpointURL", server + "/authorize"},
            {"TokenEndpointURL", server + "/token"},
            {"RedirectURL", server + "/cb"},
            {"AllowedDomains", core::Array{"127.0.0.1"}},
            {"SkipEula", true},
            {"EncryptDatabase", true}};
}

class ControllerTest : public test::OnboardingTest {
protected:
    void SetUp() override {
        OnboardingTest::SetUp();
        controller = OnboardingController::sharedInstance();
        callback = std::make_shared<RecordingCallback>(std::set<std::string, std::less<>>{
            "setOnboardingStage", "finishedOnboardingWithParams", "finishedLoadingRegistrationInfo"});
    }
    template <class T>
    std::shared_ptr<T> screen() {
        auto top = topScreen();
        if (auto nav = std::dynamic_pointer_cast<ui::UINavigationController>(top))
            return std::dynamic_pointer_cast<T>(nav->topViewController());
        return std::dynamic_pointer_cast<T>(top);
    }
    const Value* sentArgument(const std::string& selector) const {
        for (const auto& [s, v] : callback->sent)
            if (s == selector) return &v;
        return nullptr;
    }

    std::shared_ptr<OnboardingController> controller;
    std::shared_ptr<RecordingCallback> callback;
};

TEST_F(ControllerTest, AFullOnboardingHandsTheHostItsKeyAndNeverLogsIt) {
    LoopbackServer server;
    flows::Logger::root()->setLogLevel(core::Severity::debug);
    controller->initialize(hostParams(server.url()), callback);
    runMain();
    ASSERT_TRUE(screen<vessa::VUIWelcomeScreen>());
    ASSERT_TRUE(screen<vessa::VUIWelcomeScreen>()->start());
    ASSERT_TRUE(pumpUntil([&] { return screen<flows::AuthenticationViewController>() != nullptr; }));
    auto signIn = screen<flows::AuthenticationViewController>();
    signIn->navigate(flows::test::redirectWithCode(*signIn, "one-time-code-4711"));
    ASSERT_TRUE(pumpUntil([&] { return screen<flows::VUIPasscodeController>() != nullptr; }));
    screen<flows::VUIPasscodeController>()->enterPasscode("25803614");
    runMain();
    screen<flows::VUIPasscodeController>()->enterPasscode("25803614");
    ASSERT_TRUE(pumpUntil([&] { return sentArgument("finishedLoadingRegistrationInfo") != nullptr; }));

    EXPECT_EQ(callback->selectors(), "setOnboardingStage,finishedOnboardingWithParams,finishedLoadingRegistrationInfo");
    const Value* result = sentArgument("finishedOnboardingWithParams");
    ASSERT_TRUE(result && result->find("OfflineKey") && result->find("OfflineKey")->ifString());
    const std::string key = *result->find("OfflineKey")->ifString();
    EXPECT_EQ(key.size(), 44u);
    EXPECT_EQ(*result->find("PasscodeSource"), Value(1));
    EXPECT_TRUE(logged("::: Onboarding SUCCEEDED!"));
    EXPECT_TRUE(logged("Current loglevel: debug"));
    for (const auto& r : core::internal::Logging::captured()) {
        EXPECT_EQ(r.message.find(key), std::string::npos) << r.logger << ": " << r.message;
        EXPECT_EQ(r.message.find("secret-token"), std::string::npos) << r.logger << ": " << r.message;
        EXPECT_EQ(r.message.find("one-time-code-4711"), std::string::npos) << r.logger << ": " << r.message;
        EXPECT_EQ(r.message.find("25803614"), std::string::npos) << "the passcode, " << r.logger << ": " << r.message;
    }
    EXPECT_FALSE(AppConfig::sharedInstance()->isOnboarding());
    EXPECT_TRUE(foundation::UserDefaults::shared().boolForKey(OnboardingController::kIsInitialLaunchKey));
    EXPECT_TRUE(controller->savedOnboardingID());
}

TEST_F(ControllerTest, ParametersAreCopiedWholeEachTime) {
    auto config = AppConfig::sharedInstance();
    controller->updateParams({{"AppNameLabel", "First"}, {"EncryptDatabase", false}, {"IsDemoAvailable", true}});
    EXPECT_EQ(config->appLabel(), std::optional<std::string>("First"));
    EXPECT_FALSE(config->encryptDatabase());
    controller->updateParams(
        {{"EncryptDatabase", "yes"}, {"IsDemoAvailable", 1}, {"VornURL", "https://v"}, {"EnableOverrides", true}});
    EXPECT_FALSE(config->appLabel());
    EXPECT_FALSE(config->encryptDatabase());
    EXPECT_FALSE(config->isDemoAvailable());
    EXPECT_EQ(config->connectionSettings().size(), 9u);
    EXPECT_EQ(config->connectionSettings().get(AppConfig::kVornURL), Value("https://v"));
    EXPECT_EQ(config->connectionSettings().get(AppConfig::kEnableOverrides), Value(true));
    EXPECT_TRUE(config->connectionSettings().find(AppConfig::kClientId)->isNil());
}

TEST_F(ControllerTest, OnlyAChangedCertificateSettingRebuildsTheStepLists) {
    controller->updateParams({{"AllowCerts", true}, {"SkipEula", true}});
    Flows::update();
    auto first = Flows::availableFlows().at(Flows::kOAuth).onboardingFlow.front();
    controller->updateParams({{"AllowCerts", true}});
    controller->updateParams({{"SkipEula", true}});
    EXPECT_EQ(Flows::availableFlows().at(Flows::kOAuth).onboardingFlow.front(), first);
    controller->updateParams({{"AllowCerts", true}});
    controller->updateParams({{"AllowCerts", false}, {"ApplicationID", "fresh"}});
    const Flows& rebuilt = Flows::availableFlows().at(Flows::kOAuth);
    EXPECT_NE(rebuilt.onboardingFlow.front(), first);
    EXPECT_EQ(rebuilt.appID, "fresh");  // the rebuild saw the new parameters
    auto oauth = std::dynamic_pointer_cast<flows::OAuth2AuthenticationStep>(rebuilt.onboardingFlow[3]);
    ASSERT_TRUE(oauth);
    EXPECT_TRUE(std::dynamic_pointer_cast<flows::VessaWKWebViewPresenter>(oauth->presenter()));
}

TEST_F(ControllerTest, TheCertificateSettingChoosesTheSignInPresenter) {
    for (const Value& allow : {Value(true), Value(false), Value(), Value("true")}) {
        AppConfig::sharedInstance()->setConnectionSetting(AppConfig::kAllowCerts, allow);
        auto step = Flows::createOAuth2AuthenticationStep();
        EXPECT_TRUE(step->isAllowingOfflineRestore);
        EXPECT_EQ(
            std::dynamic_pointer_cast<flows::VessaASWebAuthenticationSessionPresenter>(step->presenter()) != nullptr,
            allow == Value(true));
    }
}

TEST_F(ControllerTest, TheApplicationIDFallsBackToTheSecureStoreAndIsKeptThere) {
    controller->updateParams({});
    EXPECT_EQ(Flows::oauth().appID, "");
    services::SecureStoreManager::sharedInstance()->putString("stored-app", "ApplicationID");
    controller->updateParams({{"ApplicationID", 42}});
    EXPECT_EQ(Flows::oauth().appID, "stored-app");
    controller->updateParams({{"ApplicationID", "host-app"}});
    EXPECT_EQ(Flows::oauth().appID, "host-app");
    EXPECT_EQ(services::SecureStoreManager::sharedInstance()->getString("ApplicationID"), "host-app");
}

TEST_F(ControllerTest, AClientOnboardedFromACodeKeepsTheCodesApplicationID) {
    foundation::UserDefaults::shared().setObject(AppConfig::kScannedConnectionSettingsKey,
                                                 Value(core::Dictionary{{"applicationID", "scanned-app"}}));
    for (const core::Dictionary& host : {core::Dictionary{{"ApplicationID", "host-app"}}, core::Dictionary{}}) {
        controller->updateParams(host);
        EXPECT_EQ(AppConfig::sharedInstance()->connectionSettings().get(AppConfig::kApplicationID),
                  Value("scanned-app"));
        EXPECT_EQ(Flows::oauth().appID, "scanned-app");
        EXPECT_EQ(services::SecureStoreManager::sharedInstance()->getString("ApplicationID"), "scanned-app");
    }
}

TEST_F(ControllerTest, OnboardingParametersThatAreNoDictionaryAreLoggedAndChangeNothing) {
    controller->initialize({{"ApplicationID", "app1"}, {"SkipEula", true}}, callback);
    runMain();
    core::internal::Logging::clearCaptured();
    auto other = std::make_shared<test::RecordingCallback>(std::set<std::string, std::less<>>{});
    auto bridge = std::make_shared<host::WelcomeScreenBridge>();
    const Value wrong[] = {Value("ApplicationID=app2"), Value(7LL), Value(core::Array{Value("x")}), Value(true)};
    for (const Value& params : wrong) {
        bridge->perform("create:callback:", params, Value(other));
        controller->perform("initialize:callback:", params, Value(other));
        bridge->perform("reInitializePage:", params);
        runMain();
    }
    EXPECT_EQ(controller->callback, callback);
    EXPECT_EQ(controller->params.get("ApplicationID"), Value("app1"));
    EXPECT_EQ(AppConfig::sharedInstance()->connectionSettings().get(AppConfig::kApplicationID), Value("app1"));
    std::size_t warnings = 0;
    for (const auto& r : core::internal::Logging::captured())
        if (r.logger == core::SharedLoggerManager::kTRCLogger && r.severity == core::Severity::warn &&
            r.message.find("not a dictionary") != std::string::npos)
            ++warnings;
    EXPECT_EQ(warnings, 12u);
}

TEST_F(ControllerTest, OneAgreementStepStandsInBothListsThatHaveIt) {
    foundation::TemporaryFolder bundle("trc-bundle-");
    std::ofstream(bundle.path() / "EULAText_en.html") << "<p>Terms</p>";
    foundation::Bundle::setMain(bundle.path());
    controller->updateParams({{"SkipEula", false}});
    Flows flows = Flows::oauth();
    ASSERT_EQ(flows.onboardingFlow.size(), 8u);
    ASSERT_EQ(flows.restoringFlowSkipDownload.size(), 5u);
    EXPECT_TRUE(std::dynamic_pointer_cast<LaunchEULAStep>(flows.onboardingFlow[0]));
    EXPECT_EQ(flows.onboardingFlow[0], flows.restoringFlowSkipDownload[1]);
    EXPECT_TRUE(std::dynamic_pointer_cast<WelcomeScreenStep>(flows.onboardingFlow[1]));

    // With the agreement first, re-initializing only marks the welcome step to refresh.
    controller->currentFlow = flows;
    controller->reInitializePage({{"SkipEula", false}});
    EXPECT_TRUE(OnboardingController::isURLOnboarding);
    foundation::Bundle::setMain({});
}

TEST_F(ControllerTest, TheScanButtonTextTitlesTheStartButtonWhenAScanWasAskedFor) {
    OnboardingCustomization::set(OnboardingCustomization::Text::scanButtonString, "Scan");
    controller->updateParams(hostParams("https://mobile.example.com"));
    auto welcome = vessa::VUIWelcomeScreen::createInstanceFromStoryboard();
    Flows::customizeWelcomeScreen(*welcome);
    EXPECT_NE(welcome->primaryActionButton()->title(), std::optional<std::string>("Scan"));
    EXPECT_EQ(welcome->emailTextField()->text, "user@example.com");
    Flows::customizeScanButton = true;
    Flows::customizeWelcomeScreen(*welcome);
    EXPECT_EQ(welcome->primaryActionButton()->title(), std::optional<std::string>("Scan"));
    EXPECT_FALSE(Flows::customizeScanButton);
}

TEST_F(ControllerTest, ABridgeWithoutCallbackInstallsADelegateThatAnswersNoBareName) {
    host::WelcomeScreenBridge bridge;
    auto made = std::make_shared<host::WelcomeScreenBridge>();
    Value returned = made->perform("create:callback:", Value(core::Dictionary{{"SkipEula", true}}), Value());
    EXPECT_EQ(returned.ifObject(), std::static_pointer_cast<core::Object>(controller));
    auto delegate = std::dynamic_pointer_cast<host::WelcomeScreenDelegate>(controller->callback);
    ASSERT_TRUE(delegate);
    for (const char* name : {"setOnboardingStage", "finishedOnboardingWithParams", "finishedLoadingRegistrationInfo",
                             "qrCodeScanComplete"}) {
        EXPECT_FALSE(delegate->respondsToSelector(name));
        EXPECT_TRUE(delegate->respondsToSelector(std::string(name) + ":"));
    }
    runMain();
    EXPECT_TRUE(screen<vessa::VUIWelcomeScreen>());
}

TEST_F(ControllerTest, TheForegroundUnlockTakesTheResolveBlockFirst) {
    std::string heard;
    auto resolve = core::Block::make([&](const std::vector<Value>&) {
        heard += "resolve";
        return Value();
    });
    auto reject = core::Block::make([&](const std::vector<Value>& a) {
        heard += "reject:" + (a.size() > 1 && a[1].ifString() ? *a[1].ifString() : std::string());
        return Value();
    });
    auto bridge = std::make_shared<host::WelcomeScreenBridge>();
    bridge->perform("applicationWillEnterForeground:reject:", Value(resolve), Value(reject));
    EXPECT_EQ(heard, "reject:Onboarded client could not be restored!");
}

TEST_F(ControllerTest, AValueUnderOnboardedThatIsNoUUIDCountsAsNotOnboardedAndStays) {
    foundation::UserDefaults::shared().setObject("onboarded", Value("not-a-uuid"));
    controller->initialize({{"SkipEula", true}}, callback);
    runMain();
    EXPECT_EQ(foundation::UserDefaults::shared().objectForKey("onboarded"), Value("not-a-uuid"));
    EXPECT_TRUE(screen<vessa::VUIWelcomeScreen>());
}

TEST_F(ControllerTest, ACancelledFlowRestartsWithoutAnAlertWhateverTheLetterCase) {
    controller->initialize({{"SkipEula", true}}, callback);
    runMain();
    controller->presentationDelegate->dismiss({});
    runMain();
    controller->onboardingCompletion(
        flows::OnboardingResult::failed(std::make_shared<flows::UnexpectedError>("THE FLOW GOT CANCELLED")));
    runMain();
    EXPECT_FALSE(std::dynamic_pointer_cast<ui::UIAlertController>(topScreen()));
    EXPECT_TRUE(screen<vessa::VUIWelcomeScreen>());
}

TEST_F(ControllerTest, AStoreErrorOnRestoreResetsWithTheReasonAndNeverCompletes) {
    bool completed = false;
    flows::StoreManagerError error(flows::StoreManagerError::Case::cancelPasscodeEntry);
    controller->restoreFailed(error.clone(), [&] { completed = true; });
    runMain();
    EXPECT_EQ(controller->presentationDelegate->infoText(),
              std::optional<std::string>("Application reset because of store error " + error.description()));
    EXPECT_FALSE(completed);
}

TEST_F(ControllerTest, ARestoreNobodyWasToldOfEndsAtTheFailureAlertOrStartsAgainWhenTheStoreIsGone) {
    controller->initialize({{"SkipEula", true}}, callback);
    runMain();
    controller->presentationDelegate->dismiss({});
    runMain();
    const std::string id = foundation::UUID().uuidString();
    auto failWith = [&](flows::StoreManagerError::Case c) {
        foundation::UserDefaults::shared().setObject("onboarded", Value(id));
        controller->restoringCompletion(flows::OnboardingResult::failed(flows::StoreManagerError(c).clone()));
        pumpUntil([] { return false; }, 0.05);
    };
    // A store that cannot be read now: no loop, nothing reset, and the
    // failure alert, so nobody waits on a splash screen for ever.
    failWith(flows::StoreManagerError::Case::storeUnavailable);
    EXPECT_EQ(foundation::UserDefaults::shared().objectForKey("onboarded"), Value(id));
    auto alert = std::dynamic_pointer_cast<ui::UIAlertController>(topScreen());
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title, std::optional<std::string>("Failed to onboard!"));
    EXPECT_FALSE(dispatch::MainQueue::shared().hasDueWork());
    controller->presentationDelegate->dismiss({});
    runMain();
    // A store that is gone: reset, and onboarding anew for the callback.
    failWith(flows::StoreManagerError::Case::storeNotFound);
    EXPECT_TRUE(foundation::UserDefaults::shared().objectForKey("onboarded").isNil());
    pumpUntil([&] { return screen<vessa::VUIWelcomeScreen>() != nullptr; }, 2);
    EXPECT_TRUE(screen<vessa::VUIWelcomeScreen>()) << (topScreen() ? topScreen()->className() : "none");
}

TEST_F(ControllerTest, WithoutACallbackTheResultStaysAndIsOnboardingStaysTrue) {
    AppConfig::sharedInstance()->setIsOnboarding(true);
    controller->onboardingCompletion(flows::OnboardingResult::success(flows::OnboardingContext()));
    runMain();
    EXPECT_TRUE(logged("Callback is nil"));
    EXPECT_TRUE(AppConfig::sharedInstance()->isOnboarding());
    EXPECT_FALSE(foundation::UserDefaults::shared().boolForKey(OnboardingController::kIsInitialLaunchKey));
}

TEST_F(ControllerTest, TheStageWelcomeIsToldWhenTheControllerAppears) {
    controller->callback = callback;
    window->setRootViewController(controller);
    runMain();
    EXPECT_EQ(callback->selectors(), "setOnboardingStage");
    EXPECT_EQ(callback->sent.front().second, Value("Welcome"));
}

}  // namespace
}  // namespace trc::onboarding

namespace trc::onboarding {
namespace {

TEST_F(ControllerTest, TheBlurScreenEntryTakesOnlyItsTwoNumbers) {
    auto config = AppConfig::sharedInstance();
    controller->manageBlurScreen({{"ManageBlurScreen", 0}, {"Modal", "yes"}});
    ASSERT_TRUE(config->blurView());
    EXPECT_EQ(config->blurView()->superview(), window->rootViewController()->view());
    for (const Value& ignored : {Value(true), Value("1"), Value(2), Value(-1), Value(std::nan("")), Value(1e300)}) {
        controller->manageBlurScreen({{"ManageBlurScreen", ignored}});
        EXPECT_TRUE(config->blurView()) << ignored.description();
    }
    controller->manageBlurScreen({{"ManageBlurScreen", 1.9}});
    EXPECT_FALSE(config->blurView());
}

TEST_F(ControllerTest, ASessionCarriesOneVersionHeaderHoweverOftenItIsRestored) {
    flows::OnboardingContext context;
    controller->restoringCompletion(flows::OnboardingResult::success(context));
    controller->restoringCompletion(flows::OnboardingResult::success(context));
    int versions = 0;
    for (const auto& o : context.zelURLSession()->observers())
        if (std::dynamic_pointer_cast<services::VersionObserver>(o)) ++versions;
    EXPECT_EQ(versions, 1);
    EXPECT_EQ(AppConfig::sharedInstance()->zelURLSession(),
              std::static_pointer_cast<core::Object>(context.zelURLSession()));
}

}  // namespace
}  // namespace trc::onboarding

namespace trc::onboarding {
namespace {

TEST_F(ControllerTest, WithoutAFlowOfItsOwnTheResetUsesTheRelaunchLists) {
    ASSERT_FALSE(controller->currentFlow);
    Flows::Steps steps = controller->resetFlow();
    ASSERT_EQ(steps.size(), 7u);
    EXPECT_TRUE(std::dynamic_pointer_cast<flows::StoreManagerStep>(steps.back()));
}

}  // namespace
}  // namespace trc::onboarding

namespace trc::onboarding {
namespace {

TEST_F(ControllerTest, TheStoreStepShowsTheBundlesBlurredScreenBehindTheBiometricUnlock) {
    EXPECT_FALSE(Flows::createStoreManagerStep()->backgroundImageForTouchIDView);
    foundation::TemporaryFolder bundle("trc-bundle-");
    test::QRCodePicture::writeBlank(bundle.path() / "BlurredScreen.png");
    foundation::Bundle::setMain(bundle.path());
    EXPECT_TRUE(Flows::createStoreManagerStep()->backgroundImageForTouchIDView);
    foundation::Bundle::setMain({});
}

}  // namespace
}  // namespace trc::onboarding

namespace trc::onboarding {
namespace {

TEST_F(ControllerTest, NumbersAnIntegerCannotHoldLeaveTheBlurScreenAlone) {
    auto config = AppConfig::sharedInstance();
    auto blur = [&](Value number) {
        controller->manageBlurScreen({{OnboardingController::kManageBlurScreenKey, number}});
    };
    blur(Value(-0.9));
    ASSERT_TRUE(config->blurView()) << "cut toward zero";
    for (double huge : {std::nan(""), std::numeric_limits<double>::infinity(), 1e300, -1e300}) blur(Value(huge));
    EXPECT_TRUE(config->blurView());
}

// --- Storage that will not let go or will not keep ---

class StorageTest : public ControllerTest {
protected:
    using Op = trc::testing::FaultyFiles::Op;
    static std::filesystem::path defaultsFile() { return foundation::UserDefaults::shared().filePath(); }
    static std::filesystem::path storePath(const foundation::UUID& id) {
        return flows::SecureKeyValueStoreManager().storePath(id);
    }
    // The context a finished onboarding hands over: its own store.
    static flows::OnboardingContext finishedContext() {
        flows::OnboardingContext context;
        auto store = flows::SecureKeyValueStore::create(storePath(context.onboardingID), std::string("25803614"), false,
                                                        3, flows::SecureKeyValueStore::KeyDerivationLimits::minimum());
        context.credentialStore =
            std::make_shared<flows::CompositeStorage>(store, std::make_shared<flows::PlistCoder>());
        return context;
    }
    std::shared_ptr<ui::UIAlertController> failureAlert() {
        auto alert = std::dynamic_pointer_cast<ui::UIAlertController>(topScreen());
        if (alert) {
            EXPECT_EQ(alert->title, std::optional<std::string>("Failed to onboard!"));
        }
        return alert;
    }
    // Time passes, and nothing more happens on its own.
    void nothingMoreHappens(const trc::testing::FaultyFiles& faults) {
        const auto injected = faults.injected();
        const auto shown = topScreen();
        const std::string heard = callback->selectors();
        for (int i = 0; i < 10; ++i) {
            dispatch::MainQueue::shared().advance(0.5);
            pumpUntil([] { return false; }, 0.01);
        }
        EXPECT_EQ(faults.injected(), injected) << "no storage call tried again";
        EXPECT_EQ(topScreen(), shown);
        EXPECT_EQ(callback->selectors(), heard);
    }
};

TEST_F(StorageTest, ASavedOnboardingThatCannotBeResetEndsOnceAtTheFailureAlert) {
    const foundation::UUID saved;
    foundation::UserDefaults::shared().setObject("onboarded", Value(saved.uuidString()));
    trc::testing::FaultyFiles faults;
    faults.fail(Op::write, defaultsFile(), ENOSPC);
    controller->initialize({{"SkipEula", true}}, callback);
    runMain();
    auto alert = failureAlert();
    ASSERT_TRUE(alert) << (topScreen() ? topScreen()->className() : "nothing");
    EXPECT_TRUE(logged("The onboarding could not be reset: it left the user default \"onboarded\""));
    nothingMoreHappens(faults);
    EXPECT_FALSE(logged("Restoring FAILED"));

    // Retrying while the disk is still full ends the same way, once per tap.
    alert->tapAction(std::size_t{0});
    runMain();
    alert = failureAlert();
    ASSERT_TRUE(alert);
    nothingMoreHappens(faults);

    faults.heal();
    alert->tapAction(std::size_t{0});
    runMain();
    EXPECT_TRUE(screen<vessa::VUIWelcomeScreen>());
    EXPECT_FALSE(controller->savedOnboardingID());
}

TEST_F(StorageTest, AStoreThatCannotBeRemovedEndsTheResetOfASavedOnboardingToo) {
    flows::OnboardingContext context = finishedContext();
    foundation::UserDefaults::shared().setObject("onboarded", Value(context.onboardingID.uuidString()));
    trc::testing::FaultyFiles faults;
    faults.fail(Op::remove, storePath(context.onboardingID), EACCES);
    controller->initialize({{"SkipEula", true}}, callback);
    runMain();
    ASSERT_TRUE(failureAlert());
    EXPECT_TRUE(logged("it left its secure store " + storePath(context.onboardingID).filename().string()));
    nothingMoreHappens(faults);
}

TEST_F(StorageTest, AnOnboardingIsReportedDoneOnlyOnceItIsSaved) {
    struct Fault {
        const char* what;
        Op operation;
        int error;
        std::uint64_t nth;
    };
    const Fault faultsToTry[] = {{"a full disk", Op::write, ENOSPC, 0},
                                 {"a read-only folder", Op::rename, EROFS, 0},
                                 {"a sync that fails once", Op::sync, EIO, 1},
                                 {"no descriptor left", Op::open, EMFILE, 0}};
    for (const Fault& f : faultsToTry) {
        SCOPED_TRACE(f.what);
        controller->callback = callback;
        callback->sent.clear();
        AppConfig::sharedInstance()->setIsOnboarding(true);
        flows::OnboardingContext context = finishedContext();
        {
            trc::testing::FaultyFiles faults;
            faults.fail(f.operation, defaultsFile(), f.error, f.nth);
            controller->onboardingCompletion(flows::OnboardingResult::success(context));
            pumpUntil([] { return false; }, 0.1);
            EXPECT_EQ(callback->selectors(), "") << "no stage, no result";
            ASSERT_TRUE(failureAlert());
            EXPECT_TRUE(logged("::: Onboarding FAILED! The onboarding could not be saved"));
        }
        // Nothing half-onboarded stays: no store, no "onboarded", nothing kept in AppConfig.
        EXPECT_FALSE(std::filesystem::exists(storePath(context.onboardingID)));
        EXPECT_FALSE(controller->savedOnboardingID());
        EXPECT_FALSE(AppConfig::sharedInstance()->credentialStore());
        EXPECT_TRUE(AppConfig::sharedInstance()->isOnboarding());
        controller->presentationDelegate->dismiss({});
        runMain();
    }
}

TEST_F(StorageTest, TheSettingsOfAScannedCodeAreKeptBeforeTheHostHearsOfSuccess) {
    controller->callback = callback;
    AppConfig::sharedInstance()->setIsOnboarding(true);
    const core::Dictionary scanned{{"applicationID", "scanned-app"}, {"vornURL", "https://mobile.example.com"}};
    flows::OnboardingContext context = finishedContext();
    context.info[WelcomeScreenStep::scannedConnectionSettings] = scanned;
    // Taking the code could not write them; now the disk has room again.
    ASSERT_FALSE(foundation::UserDefaults::shared().dictionaryForKey(AppConfig::kScannedConnectionSettingsKey));
    controller->onboardingCompletion(flows::OnboardingResult::success(context));
    runMain();
    EXPECT_EQ(foundation::UserDefaults::shared().dictionaryForKey(AppConfig::kScannedConnectionSettingsKey),
              std::optional(scanned));
    EXPECT_EQ(controller->savedOnboardingID(), std::optional(context.onboardingID));
    const Value* result = sentArgument("finishedOnboardingWithParams");
    ASSERT_TRUE(result);
    EXPECT_EQ(*result->find("PasscodeSource"), Value(1)) << "read from the onboarding's own store";
}

TEST_F(StorageTest, OnboardingStartedAgainEndsAWaitingPasscodeOperationFirst) {
    flows::OnboardingContext context = finishedContext();
    foundation::UserDefaults::shared().setObject("onboarded", Value(context.onboardingID.uuidString()));
    AppConfig::sharedInstance()->setCredentialStore(std::dynamic_pointer_cast<core::Object>(context.credentialStore));
    AppConfig::sharedInstance()->setZelURLSession(context.zelURLSession());
    std::vector<std::string> heard;
    auto resolve = core::Block::make([&](const std::vector<Value>&) {
        heard.push_back("resolve");
        return Value();
    });
    auto reject = core::Block::make([&](const std::vector<Value>& a) {
        heard.push_back("reject:" + *a.at(1).ifString());
        return Value();
    });
    controller->unlockScreen(resolve, reject);
    runMain();
    ASSERT_TRUE(std::dynamic_pointer_cast<flows::VUIPasscodeController>(topScreen()));
    controller->initialize({{"SkipEula", true}}, callback);
    runMain();
    EXPECT_EQ(heard, std::vector<std::string>{"reject:Onboarding started again"});
    EXPECT_TRUE(screen<vessa::VUIWelcomeScreen>());
    for (auto vc = window->rootViewController(); vc; vc = vc->presentedViewController())
        EXPECT_FALSE(std::dynamic_pointer_cast<flows::VUIPasscodeController>(vc)) << "the old passcode screen is gone";
    EXPECT_FALSE(std::filesystem::exists(storePath(context.onboardingID))) << "the saved onboarding was reset";
    EXPECT_FALSE(controller->savedOnboardingID());
}

}  // namespace
}  // namespace trc::onboarding
