#include <cmath>
#include <filesystem>
#include <limits>

#include "onboarding/LoopbackServer.h"
#include "onboarding/OnboardingController.h"
#include "onboarding/OnboardingTestSupport.h"
#include "onboarding/RelaunchProbe.h"
#include "platform/core/Block.h"
#include "platform/flows/CompositeStorage.h"
#include "platform/flows/OAuth2Error.h"
#include "platform/flows/OTPError.h"
#include "platform/flows/OnboardingError.h"
#include "platform/flows/PlistCoder.h"
#include "platform/flows/SAMLError.h"
#include "platform/flows/StoreManagerError.h"
#include "platform/flows/StoreManagerStep.h"
#include "platform/flows/URLError.h"
#include "platform/flows/UnexpectedError.h"
#include "platform/flows/VUIPasscodeController.h"
#include "platform/flows/ZELURLSession.h"
#include "platform/flows/ZELvornSettingsDownloadStep.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/UIAlertController.h"
#include "services/AppConfig.h"
#include "services/ToastMessageView.h"

namespace trc::onboarding {
namespace {

using core::Value;
using flows::ErrorPtr;
using flows::OnboardingError;
using flows::StoreManagerError;
using flows::URLError;
using services::AppConfig;
using test::LoopbackServer;
using SMCase = StoreManagerError::Case;

constexpr const char* kCouldNotRestore = "Onboarded client could not be restored!";
constexpr const char* kPasscode = "25803614";

// A restore step that ends each run with the next scripted error, and with
// success once they are used up.
class ScriptedStep : public flows::OnboardingStep {
public:
    explicit ScriptedStep(std::vector<ErrorPtr> outcomes = {}) : outcomes_(std::move(outcomes)) {}
    void onboard(const flows::OnboardingContext& context, Completion completion) override {
        restore(context, std::move(completion));
    }
    void restore(const flows::OnboardingContext& context, Completion completion) override {
        ErrorPtr error = runs < outcomes_.size() ? outcomes_[runs] : nullptr;
        ++runs;
        completion(error ? flows::OnboardingResult::failed(error) : flows::OnboardingResult::success(context));
    }
    void reset(const flows::OnboardingContext&, ResetCompletion completion) override { completion(); }

    std::size_t runs = 0;

private:
    std::vector<ErrorPtr> outcomes_;
};

class PasscodeRoadsTest : public test::OnboardingTest {
protected:
    void SetUp() override {
        OnboardingTest::SetUp();
        controller = OnboardingController::sharedInstance();
        callback = std::make_shared<test::RecordingCallback>(std::set<std::string, std::less<>>{"setOnboardingStage"});
        controller->callback = callback;
        resolve = core::Block::make([this](const std::vector<Value>& a) {
            const Value& v = a.empty() ? Value() : a[0];
            heard.push_back(v.isNil() ? "resolve"
                                      : "resolve:" + (v.ifObject() ? v.ifObject()->className() : v.description()));
            return Value();
        });
        reject = core::Block::make([this](const std::vector<Value>& a) {
            // These roads pass a message only, never a code or an error.
            const bool messageOnly = a.size() == 3 && a[0].isNil() && a[1].ifString() && a[2].isNil();
            heard.push_back(messageOnly ? "reject:" + *a[1].ifString() : "reject with more than a message");
            return Value();
        });
    }

    // A client as onboarding leaves it: its store, "onboarded", and the
    // session and credential store of this run.
    std::shared_ptr<flows::CompositeStorage> onboardClient(std::optional<std::string> passcode = kPasscode,
                                                           bool biometric = false) {
        foundation::UUID id;
        auto path = flows::SecureKeyValueStoreManager().storePath(id);
        auto store = flows::SecureKeyValueStore::create(path, passcode, biometric, 3,
                                                        flows::SecureKeyValueStore::KeyDerivationLimits::minimum());
        foundation::UserDefaults::shared().setObject(OnboardingController::kAppOnboardedState, Value(id.uuidString()));
        auto composite = std::make_shared<flows::CompositeStorage>(store, std::make_shared<flows::PlistCoder>());
        AppConfig::sharedInstance()->credentialStore = composite;
        AppConfig::sharedInstance()->zelURLSession = std::make_shared<flows::ZELURLSession>();
        return composite;
    }
    bool isOnboarded() const {
        return foundation::UserDefaults::shared().stringForKey(OnboardingController::kAppOnboardedState).has_value();
    }

    template <class T>
    std::shared_ptr<T> shown() {
        pumpUntil([&] { return std::dynamic_pointer_cast<T>(topScreen()) != nullptr; }, 2);
        return std::dynamic_pointer_cast<T>(topScreen());
    }
    bool tapAlert(const std::string& title, const std::string& message) {
        auto alert = shown<ui::UIAlertController>();
        if (!alert) return false;
        EXPECT_EQ(alert->title, title);
        EXPECT_EQ(alert->message, message);
        EXPECT_EQ(alert->actionTitles(), std::vector<std::string>{"Ok"});
        alert->tapAction(std::size_t{0});
        runMain();
        return true;
    }
    std::string heardText() {
        pumpUntil([] { return false; }, 0.02);
        std::string out;
        for (const auto& h : heard) out += (out.empty() ? "" : " | ") + h;
        heard.clear();
        return out;
    }

    std::shared_ptr<OnboardingController> controller;
    std::shared_ptr<test::RecordingCallback> callback;
    std::shared_ptr<core::Block> resolve;
    std::shared_ptr<core::Block> reject;
    std::vector<std::string> heard;
};

// --- The relaunch restore: probe, flows and failures ---

class RelaunchTest : public PasscodeRoadsTest {
protected:
    void SetUp() override {
        PasscodeRoadsTest::SetUp();
        foundation::UserDefaults::shared().setObject(OnboardingController::kAppOnboardedState,
                                                     Value(foundation::UUID().uuidString()));
        script({});
    }
    // The restore with the download ends with errors, in turn; the other succeeds.
    void script(std::vector<ErrorPtr> errors) {
        withDownload = std::make_shared<ScriptedStep>(std::move(errors));
        withoutDownload = std::make_shared<ScriptedStep>();
        Flows flows;
        flows.restoringFlow = {withDownload};
        flows.restoringFlowSkipDownload = {withoutDownload};
        controller->currentFlow = flows;
    }
    void relaunch(const Value& vornURL) {
        core::Dictionary params;
        if (!vornURL.isNil()) params.set(OnboardingController::kVornURLParam, vornURL);
        controller->restoreOnRelaunch(params, resolve, reject);
        pumpUntil([&] { return !heard.empty() || topScreen() != window->rootViewController(); }, 5);
    }

    std::shared_ptr<ScriptedStep> withDownload;
    std::shared_ptr<ScriptedStep> withoutDownload;
};

TEST_F(RelaunchTest, ALostConnectionWarnsAndEndsAsAnOfflineRestore) {
    auto webView = [](ErrorPtr page) { return flows::OAuth2Error::webView(std::move(page)).clone(); };
    auto authFailed = [](ErrorPtr inner) {
        return OnboardingError::authenticationFailed("a", std::nullopt, std::nullopt, std::move(inner)).clone();
    };
    const ErrorPtr lost[] = {
        URLError(URLError::notConnectedToInternet).clone(),
        URLError(URLError::timedOut).clone(),
        authFailed(URLError(URLError::notConnectedToInternet).clone()),
        authFailed(webView(URLError(URLError::timedOut).clone())),
        authFailed(flows::SAMLError::webView(URLError(URLError::timedOut).clone()).clone()),
        authFailed(flows::OTPError::webView(URLError(URLError::notConnectedToInternet).clone()).clone()),
    };
    LoopbackServer server;
    for (const ErrorPtr& error : lost) {
        AppConfig::sharedInstance()->zelURLSession.reset();
        script({error});
        relaunch(Value(server.url()));
        ASSERT_TRUE(tapAlert("Unaccessible Internet Connection",
                             "Restoring application is not complete due to failure of accessing internet. Application "
                             "is running in offline mode now."))
            << error->description();
        EXPECT_EQ(heardText(), "resolve:OnboardingResult");
        EXPECT_EQ(withDownload->runs, 1u);
        EXPECT_TRUE(AppConfig::sharedInstance()->zelURLSession) << "goes on as a restored client";
    }
}

TEST_F(RelaunchTest, OtherFailuresWarnAndTheButtonStartsTheRestoreAgainFromTheProbe) {
    auto authFailed = [](ErrorPtr inner) {
        return OnboardingError::authenticationFailed(std::nullopt, std::nullopt, std::nullopt, std::move(inner))
            .clone();
    };
    const ErrorPtr others[] = {
        URLError(URLError::cannotConnectToHost).clone(),
        authFailed(flows::OAuth2Error::webView(URLError(URLError::cannotConnectToHost).clone()).clone()),
        authFailed(flows::OAuth2Error(flows::OAuth2Error::Case::authorizationFailed).clone()),
        OnboardingError::missingArgument("configuration", "WelcomeScreenStep").clone(),
        // A cancel nobody made (a screen that could not be shown) waits for the person too.
        OnboardingError::cancelled(flows::UnexpectedError("nothing on screen").clone()).clone(),
    };
    for (const ErrorPtr& error : others) {
        LoopbackServer server;
        script({error});
        relaunch(Value(server.url()));
        EXPECT_EQ(heardText(), "") << error->description();
        ASSERT_TRUE(tapAlert("Unsuccessful Restore", "Restoring application is not complete successfully. Retry now."));
        pumpUntil([&] { return !heard.empty(); });
        EXPECT_EQ(heardText(), "resolve");
        EXPECT_EQ(server.hits(), 2);
        EXPECT_EQ(withDownload->runs, 2u);
    }
}

TEST_F(RelaunchTest, APersonsCancelStartsTheRestoreAgainAtOnce) {
    LoopbackServer server;
    const auto personCancelled =
        OnboardingError::cancelled(flows::OAuth2Error(flows::OAuth2Error::Case::cancelled).clone()).clone();
    script({OnboardingError::cancelled().clone(), personCancelled});
    relaunch(Value(server.url()));
    pumpUntil([&] { return !heard.empty(); });
    EXPECT_EQ(heardText(), "resolve");
    EXPECT_EQ(withDownload->runs, 3u);
    EXPECT_EQ(server.hits(), 3);
    EXPECT_TRUE(AppConfig::sharedInstance()->credentialStore) << "the restore's own store is kept for the retry";
}

TEST_F(RelaunchTest, StoreErrorsThatTheResetHandlingNeverAnswersStillRejectAtOnce) {
    for (SMCase error : {SMCase::storeCorrupted, SMCase::skipPasscodeSetup, SMCase::cancelPasscodeEntry,
                         SMCase::storeUnavailable, SMCase::wrongPasscode}) {
        foundation::UserDefaults::shared().setObject(OnboardingController::kAppOnboardedState,
                                                     Value(foundation::UUID().uuidString()));
        auto step = std::make_shared<ScriptedStep>(std::vector<ErrorPtr>{StoreManagerError(error).clone()});
        controller->currentFlow->restoringFlowSkipDownload = {step};
        relaunch(Value());
        // Once, with what happened: no restore goes on behind the reject to
        // succeed later.
        EXPECT_EQ(heardText(), std::string("reject:") + kCouldNotRestore);
        EXPECT_EQ(step->runs, 1u);
    }
}

TEST_F(RelaunchTest, AWarningThatCannotBeShownStillEndsTheRestore) {
    window->setRootViewController(nullptr);
    script({});
    controller->currentFlow->restoringFlowSkipDownload = {
        std::make_shared<ScriptedStep>(std::vector<ErrorPtr>{URLError(URLError::cannotConnectToHost).clone()})};
    relaunch(Value());
    EXPECT_EQ(heardText(), std::string("reject:") + kCouldNotRestore);

    controller->currentFlow->restoringFlowSkipDownload = {
        std::make_shared<ScriptedStep>(std::vector<ErrorPtr>{URLError(URLError::timedOut).clone()})};
    relaunch(Value());
    EXPECT_EQ(heardText(), "resolve:OnboardingResult");
}

// --- Unlock, verification and passcode change with a real store (the
// host scenarios show the roads a person takes) ---

using StoreRoadsTest = PasscodeRoadsTest;

TEST_F(StoreRoadsTest, AnUnlockWithoutTheStoreOfThisRunIsRejected) {
    onboardClient();
    AppConfig::sharedInstance()->credentialStore.reset();
    controller->unlockScreen(resolve, reject);
    controller->changeUserPasscode(resolve, reject);
    const std::string rejected = std::string("reject:") + kCouldNotRestore;
    EXPECT_EQ(heardText(), rejected + " | " + rejected);
}

TEST_F(StoreRoadsTest, AResetPasscodeEndsTheClientWithTheStoresReason) {
    onboardClient();
    controller->verifyPasscode({}, resolve, reject);
    auto screen = shown<flows::VUIPasscodeController>();
    ASSERT_TRUE(screen);
    EXPECT_TRUE(screen->resetPasscode());
    pumpUntil([&] { return !heard.empty(); });
    EXPECT_EQ(heardText(), "reject:The passcode has to be reset. :Reset Client");
    EXPECT_FALSE(isOnboarded());
}

TEST_F(StoreRoadsTest, AChangeOfAStoreThatIsGoneRejectsWithItsDescription) {
    onboardClient();
    flows::SecureKeyValueStore::destroy(
        flows::SecureKeyValueStoreManager().storePath(*controller->savedOnboardingID()));
    controller->changeUserPasscode(resolve, reject);
    EXPECT_EQ(heardText(), "reject:There is no secure store for this onboarding.");
    EXPECT_TRUE(logged("Passcode change failed: There is no secure store"));
}

// --- Overlapping passcode operations: the first goes on, a second unlock
// joins it, any other is refused at once ---

class OverlapTest : public PasscodeRoadsTest {
protected:
    enum class Op { unlock, verify, change, restore };
    static constexpr const char* kNewPasscode = "14702580";

    static const char* selectorOf(Op op) {
        switch (op) {
            case Op::unlock: return "applicationWillEnterForeground:reject:";
            case Op::verify: return "verifyPasscode:resolve:reject:";
            case Op::change: return "changeUserPasscode:reject:";
            case Op::restore: return "restoreOnRelaunch:resolve:reject:";
        }
        return "";
    }
    void SetUp() override {
        PasscodeRoadsTest::SetUp();
        onboardClient();
        Flows flows;
        flows.restoringFlow = {Flows::createStoreManagerStep()};
        flows.restoringFlowSkipDownload = {Flows::createStoreManagerStep()};
        controller->currentFlow = flows;
    }
    // Blocks that tell which call heard what.
    std::pair<std::shared_ptr<core::Block>, std::shared_ptr<core::Block>> blocks(const std::string& name) {
        auto resolve = core::Block::make([this, name](const std::vector<Value>&) {
            heard.push_back(name + ":resolve");
            return Value();
        });
        auto reject = core::Block::make([this, name](const std::vector<Value>& a) {
            heard.push_back(name + ":reject:" + (a.size() > 1 && a[1].ifString() ? *a[1].ifString() : std::string()));
            return Value();
        });
        return {resolve, reject};
    }
    void start(Op op, const std::string& name) {
        auto [resolve, reject] = blocks(name);
        switch (op) {
            case Op::unlock: controller->unlockScreen(resolve, reject); break;
            case Op::verify: controller->verifyPasscode({}, resolve, reject); break;
            case Op::change: controller->changeUserPasscode(resolve, reject); break;
            case Op::restore: controller->restoreOnRelaunch({}, resolve, reject); break;
        }
        runMain();
    }
    // Answers the operation's screens as the person would.
    void finish(Op op) {
        auto screen = shown<flows::VUIPasscodeController>();
        ASSERT_TRUE(screen);
        EXPECT_TRUE(screen->enterPasscode(passcode));
        if (op == Op::change) {
            pumpUntil([&] {
                auto next = std::dynamic_pointer_cast<flows::VUIPasscodeController>(topScreen());
                return next && next->mode() == flows::VUIPasscodeController::Mode::create;
            });
            auto create = shown<flows::VUIPasscodeController>();
            ASSERT_TRUE(create);
            create->enterPasscode(kNewPasscode);
            create->enterPasscode(kNewPasscode);
            passcode = kNewPasscode;
        }
        pumpUntil([&] { return !heard.empty(); });
    }
    int passcodeScreensShown() const {
        int count = 0;
        for (auto vc = window->rootViewController(); vc; vc = vc->presentedViewController())
            if (std::dynamic_pointer_cast<flows::VUIPasscodeController>(vc)) ++count;
        return count;
    }

    std::string passcode = kPasscode;
};

TEST_F(OverlapTest, EachPairOfOperations) {
    const Op ops[] = {Op::unlock, Op::verify, Op::change, Op::restore};
    for (Op first : ops) {
        for (Op second : ops) {
            SCOPED_TRACE(std::string(selectorOf(first)) + " then " + selectorOf(second));
            heard.clear();
            start(first, "first");
            ASSERT_EQ(passcodeScreensShown(), 1);
            start(second, "second");
            const bool joins = first == Op::unlock && second == Op::unlock;
            EXPECT_EQ(heardText(), joins ? std::string()
                                         : std::string("second:reject:Another passcode operation is in progress: ") +
                                               selectorOf(first));
            EXPECT_EQ(passcodeScreensShown(), 1) << "the first operation's screen stays, and only it";
            finish(first);
            EXPECT_EQ(heardText(), joins ? "first:resolve | second:resolve" : "first:resolve");
            EXPECT_EQ(topScreen(), window->rootViewController()) << "no screen is left up";
            // The way is free again.
            start(second, "again");
            finish(second);
            EXPECT_EQ(heardText(), "again:resolve");
            EXPECT_EQ(topScreen(), window->rootViewController());
        }
    }
}

TEST_F(OverlapTest, AJoinedUnlockSharesAFailureToo) {
    start(Op::unlock, "first");
    start(Op::unlock, "second");
    auto screen = shown<flows::VUIPasscodeController>();
    ASSERT_TRUE(screen);
    for (int i = 0; i < 3; ++i) screen->enterPasscode("99990000");
    auto alert = shown<ui::UIAlertController>();
    ASSERT_TRUE(alert) << "the retry limit's alert";
    EXPECT_EQ(heardText(), "") << "both wait for the alert";
    alert->tapAction(std::size_t{0});
    pumpUntil([&] { return heard.size() == 2; });
    EXPECT_EQ(heardText(),
              "first:reject:The passcode retry limit has been reached. :Reset Client | "
              "second:reject:The passcode retry limit has been reached. :Reset Client");
    EXPECT_EQ(topScreen(), window->rootViewController());
}

// --- A restore that ends at a store that cannot open starts nothing by
// itself ---

TEST_F(OverlapTest, ARestoreWhoseStoreIsGoneRejectsResetsAndStartsNothing) {
    flows::SecureKeyValueStore::destroy(
        flows::SecureKeyValueStoreManager().storePath(*controller->savedOnboardingID()));
    start(Op::restore, "restore");
    pumpUntil([] { return false; }, 0.1);
    EXPECT_EQ(heardText(), std::string("restore:reject:") + kCouldNotRestore);
    EXPECT_FALSE(isOnboarded()) << "the saved onboarding that can never open again is reset";
    EXPECT_EQ(topScreen(), window->rootViewController()) << "no onboarding started by itself";
    EXPECT_FALSE(dispatch::MainQueue::shared().hasDueWork());
}

TEST_F(OverlapTest, AStoreThatCannotBeReadEndsTheRestoreOnceAndKeepsEverything) {
    const auto path = flows::SecureKeyValueStoreManager().storePath(*controller->savedOnboardingID());
    flows::SecureKeyValueStore::destroy(path);
    std::filesystem::create_directories(path);
    start(Op::restore, "restore");
    pumpUntil([] { return false; }, 0.1);
    EXPECT_EQ(heardText(), std::string("restore:reject:") + kCouldNotRestore);
    EXPECT_TRUE(isOnboarded()) << "nothing is reset for a store that may be readable later";
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(topScreen(), window->rootViewController());
    EXPECT_FALSE(logged("Restoring FAILED")) << "no restore loop";
    EXPECT_FALSE(dispatch::MainQueue::shared().hasDueWork());
    // A retry happens when the host asks, and ends the same way.
    start(Op::restore, "retry");
    pumpUntil([] { return false; }, 0.1);
    EXPECT_EQ(heardText(), std::string("retry:reject:") + kCouldNotRestore);
}

// --- Passcode source and blur screen ---

using PasscodeSourceAndBlurTest = PasscodeRoadsTest;

TEST_F(PasscodeSourceAndBlurTest, ThePasscodeSourceFollowsTheStore) {
    EXPECT_EQ(controller->getPasscodeSource(), 0);
    onboardClient(kPasscode);
    EXPECT_EQ(controller->getPasscodeSource(), 1);
    onboardClient(kPasscode, true);
    EXPECT_EQ(controller->getPasscodeSource(), 2);
    onboardClient(std::nullopt);
    EXPECT_EQ(controller->getPasscodeSource(), 0);
}

TEST_F(PasscodeSourceAndBlurTest, NumbersAnIntegerCannotHoldLeaveTheBlurScreenAlone) {
    auto config = AppConfig::sharedInstance();
    auto blur = [&](Value number) {
        controller->manageBlurScreen({{OnboardingController::kManageBlurScreenKey, number}});
    };
    blur(Value(-0.9));
    ASSERT_TRUE(config->blurView) << "cut toward zero";
    for (double huge : {std::nan(""), std::numeric_limits<double>::infinity(), 1e300, -1e300}) blur(Value(huge));
    EXPECT_TRUE(config->blurView);
}

}  // namespace
}  // namespace trc::onboarding
