#include <cmath>
#include <filesystem>
#include <limits>

#include "onboarding/PasscodeOperations.h"

#include "onboarding/LoopbackServer.h"
#include "onboarding/OnboardingController.h"
#include "onboarding/OnboardingReset.h"
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
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/FaultyFiles.h"
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
constexpr const char* kStartedAgain = "Onboarding started again";

// The onboarding the operations serve, as the controller would be, with what
// they ask of it recorded: the step lists are the test's, the reset is the
// real one (over a store step) and a successful restore keeps its session
// and store.
class FakeOwner : public PasscodeOperations::Owner {
public:
    std::optional<foundation::UUID> savedOnboardingID() const override {
        auto text = foundation::UserDefaults::shared().stringForKey(OnboardingController::kAppOnboardedState);
        return text ? foundation::UUID::fromString(*text) : std::nullopt;
    }
    Flows restoreFlows() const override { return flows; }
    flows::OnboardingContext defaultInitialContext() const override {
        flows::OnboardingContext context(foundation::UUID(), flows::CompositeStorage::makeInMemory(),
                                         std::make_shared<flows::ModalUIViewControllerPresenter>());
        if (auto store =
                std::dynamic_pointer_cast<flows::CodableStoring>(AppConfig::sharedInstance()->credentialStore()))
            context.credentialStore = store;
        return context;
    }
    void updateParams(const core::Dictionary& params) override {
        const Value* url = params.find(OnboardingController::kVornURLParam);
        AppConfig::sharedInstance()->setConnectionSetting(AppConfig::kVornURL, url ? *url : Value());
    }
    void restoringCompletion(const flows::OnboardingResult& result) override {
        events.push_back(result.isSuccess() ? "restored" : "restore failed");
        if (const flows::OnboardingContext* context = result.context()) {
            auto config = AppConfig::sharedInstance();
            config->setCredentialStore(std::dynamic_pointer_cast<core::Object>(context->credentialStore));
            if (context->zelURLSession()) config->setZelURLSession(context->zelURLSession());
        }
    }
    void restoringCompletionCancel() override { events.push_back("cancelled"); }
    void reset(const foundation::UUID& onboardingID, std::function<void(ErrorPtr)> done) override {
        resets.push_back(onboardingID);
        flows::OnboardingContext context = defaultInitialContext();
        context.onboardingID = onboardingID;
        OnboardingReset::reset({Flows::createStoreManagerStep()}, context, std::move(done));
    }
    void setInfoText(const std::string& text) override { infoText = text; }

    Flows flows;
    std::vector<std::string> events;
    std::vector<foundation::UUID> resets;
    std::string infoText;
};

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
        owner = std::make_shared<FakeOwner>();
        operations = std::make_shared<PasscodeOperations>(owner);
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
                                                           bool biometric = false, foundation::UUID id = {}) {
        auto path = flows::SecureKeyValueStoreManager().storePath(id);
        auto store = flows::SecureKeyValueStore::create(path, passcode, biometric, 3,
                                                        flows::SecureKeyValueStore::KeyDerivationLimits::minimum());
        foundation::UserDefaults::shared().setObject(OnboardingController::kAppOnboardedState, Value(id.uuidString()));
        auto composite = std::make_shared<flows::CompositeStorage>(store, std::make_shared<flows::PlistCoder>());
        AppConfig::sharedInstance()->setCredentialStore(composite);
        AppConfig::sharedInstance()->setZelURLSession(std::make_shared<flows::ZELURLSession>());
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

    static std::filesystem::path storePath(const foundation::UUID& id) {
        return flows::SecureKeyValueStoreManager().storePath(id);
    }
    std::optional<foundation::UUID> saved() const { return owner->savedOnboardingID(); }

    std::shared_ptr<FakeOwner> owner;
    std::shared_ptr<PasscodeOperations> operations;
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
        owner->flows = flows;
    }
    void relaunch(const Value& vornURL) {
        core::Dictionary params;
        if (!vornURL.isNil()) params.set(OnboardingController::kVornURLParam, vornURL);
        operations->restoreOnRelaunch(params, resolve, reject);
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
        AppConfig::sharedInstance()->setZelURLSession(nullptr);
        script({error});
        relaunch(Value(server.url()));
        ASSERT_TRUE(tapAlert("Unaccessible Internet Connection",
                             "Restoring application is not complete due to failure of accessing internet. Application "
                             "is running in offline mode now."))
            << error->description();
        EXPECT_EQ(heardText(), "resolve:OnboardingResult");
        EXPECT_EQ(withDownload->runs, 1u);
        EXPECT_TRUE(AppConfig::sharedInstance()->zelURLSession()) << "goes on as a restored client";
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
    EXPECT_TRUE(AppConfig::sharedInstance()->credentialStore()) << "the restore's own store is kept for the retry";
}

TEST_F(RelaunchTest, StoreErrorsThatTheResetHandlingNeverAnswersStillRejectAtOnce) {
    for (SMCase error : {SMCase::storeCorrupted, SMCase::skipPasscodeSetup, SMCase::cancelPasscodeEntry,
                         SMCase::storeUnavailable, SMCase::wrongPasscode}) {
        foundation::UserDefaults::shared().setObject(OnboardingController::kAppOnboardedState,
                                                     Value(foundation::UUID().uuidString()));
        auto step = std::make_shared<ScriptedStep>(std::vector<ErrorPtr>{StoreManagerError(error).clone()});
        owner->flows.restoringFlowSkipDownload = {step};
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
    owner->flows.restoringFlowSkipDownload = {
        std::make_shared<ScriptedStep>(std::vector<ErrorPtr>{URLError(URLError::cannotConnectToHost).clone()})};
    relaunch(Value());
    EXPECT_EQ(heardText(), std::string("reject:") + kCouldNotRestore);

    owner->flows.restoringFlowSkipDownload = {
        std::make_shared<ScriptedStep>(std::vector<ErrorPtr>{URLError(URLError::timedOut).clone()})};
    relaunch(Value());
    EXPECT_EQ(heardText(), "resolve:OnboardingResult");
}

// --- Unlock, verification and passcode change with a real store (the
// host scenarios show the roads a person takes) ---

using StoreRoadsTest = PasscodeRoadsTest;

TEST_F(StoreRoadsTest, AnUnlockWithoutTheStoreOfThisRunIsRejected) {
    onboardClient();
    AppConfig::sharedInstance()->setCredentialStore(nullptr);
    operations->unlockScreen(resolve, reject);
    operations->changeUserPasscode(resolve, reject);
    const std::string rejected = std::string("reject:") + kCouldNotRestore;
    EXPECT_EQ(heardText(), rejected + " | " + rejected);
}

TEST_F(StoreRoadsTest, AResetPasscodeEndsTheClientWithTheStoresReason) {
    onboardClient();
    operations->verifyPasscode({}, resolve, reject);
    auto screen = shown<flows::VUIPasscodeController>();
    ASSERT_TRUE(screen);
    EXPECT_TRUE(screen->resetPasscode());
    pumpUntil([&] { return !heard.empty(); });
    EXPECT_EQ(heardText(), "reject:The passcode has to be reset. :Reset Client");
    EXPECT_FALSE(isOnboarded());
}

TEST_F(StoreRoadsTest, AChangeOfAStoreThatIsGoneRejectsWithItsDescription) {
    onboardClient();
    flows::SecureKeyValueStore::destroy(flows::SecureKeyValueStoreManager().storePath(*saved()));
    operations->changeUserPasscode(resolve, reject);
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
        owner->flows = flows;
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
        case Op::unlock: operations->unlockScreen(resolve, reject); break;
        case Op::verify: operations->verifyPasscode({}, resolve, reject); break;
        case Op::change: operations->changeUserPasscode(resolve, reject); break;
        case Op::restore: operations->restoreOnRelaunch({}, resolve, reject); break;
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
    flows::SecureKeyValueStore::destroy(flows::SecureKeyValueStoreManager().storePath(*saved()));
    start(Op::restore, "restore");
    pumpUntil([] { return false; }, 0.1);
    EXPECT_EQ(heardText(), std::string("restore:reject:") + kCouldNotRestore);
    EXPECT_FALSE(isOnboarded()) << "the saved onboarding that can never open again is reset";
    EXPECT_EQ(topScreen(), window->rootViewController()) << "no onboarding started by itself";
    EXPECT_FALSE(dispatch::MainQueue::shared().hasDueWork());
}

TEST_F(OverlapTest, AStoreThatCannotBeReadEndsTheRestoreOnceAndKeepsEverything) {
    const auto path = flows::SecureKeyValueStoreManager().storePath(*saved());
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

// --- A new onboarding ends every operation: nothing of it touches the new one ---

TEST_F(OverlapTest, AnOperationEndedForANewOnboardingIsRejectedOnceAndChangesNothingAfter) {
    const Op ops[] = {Op::unlock, Op::verify, Op::change, Op::restore};
    for (Op op : ops) {
        SCOPED_TRACE(selectorOf(op));
        onboardClient();
        const foundation::UUID old = *saved();
        start(op, "old");
        // Kept, as a screen a person still looks at would be.
        auto oldScreen = shown<flows::VUIPasscodeController>();
        ASSERT_TRUE(oldScreen);

        operations->endAll(kStartedAgain);
        EXPECT_EQ(heardText(), std::string("old:reject:") + kStartedAgain);
        EXPECT_EQ(passcodeScreensShown(), 0) << "its screens go at once";

        // The new onboarding is saved; the old one's store is still there.
        onboardClient();
        const foundation::UUID fresh = *saved();
        ASSERT_NE(fresh, old);
        // The person answers the old screen after all, with the right passcode.
        oldScreen->enterPasscode(kPasscode);
        oldScreen.reset();
        pumpUntil([] { return false; }, 0.1);
        EXPECT_EQ(heardText(), "") << "no second answer, no resolve after the reject";
        EXPECT_EQ(topScreen(), window->rootViewController()) << "no screen of the old operation comes back";
        EXPECT_EQ(saved(), std::optional(fresh));
        EXPECT_TRUE(std::filesystem::exists(storePath(fresh)));
        EXPECT_TRUE(owner->resets.empty()) << "nothing reset";
        EXPECT_TRUE(owner->events.empty()) << "no restore reported to the host";
        EXPECT_EQ(PasscodeOperations::passcodeSource(fresh), 1);

        // The way is free: the same operation works on the new onboarding.
        start(op, "again");
        finish(op);
        EXPECT_EQ(heardText(), "again:resolve");
        owner->events.clear();
        passcode = kPasscode;
    }
}

TEST_F(OverlapTest, AnOperationEndedWhileItsWarningIsUpDoesNothingWhenTheButtonIsTapped) {
    owner->flows.restoringFlowSkipDownload = {
        std::make_shared<ScriptedStep>(std::vector<ErrorPtr>{URLError(URLError::cannotConnectToHost).clone()})};
    start(Op::restore, "old");
    auto alert = shown<ui::UIAlertController>();
    ASSERT_TRUE(alert);
    operations->endAll(kStartedAgain);
    EXPECT_EQ(heardText(), std::string("old:reject:") + kStartedAgain);
    EXPECT_EQ(topScreen(), window->rootViewController());
    alert->tapAction(std::size_t{0});
    pumpUntil([] { return false; }, 0.1);
    EXPECT_EQ(heardText(), "");
    EXPECT_EQ(topScreen(), window->rootViewController()) << "the retry does not start";
}

// --- A reset that cannot remove what it must ends the road once, with the
// storage error ---

TEST_F(OverlapTest, AResetThatCannotRemoveTheStoreAnswersWithTheStorageErrorOnce) {
    trc::testing::FaultyFiles faults;
    struct Road {
        const char* name;
        std::function<void()> act;
    };
    const Road roads[] = {
        {"a damaged store",
         [&] {
             foundation::AtomicFile::write(storePath(*saved()), "not a store");
             start(Op::restore, "op");
         }},
        {"a passcode to reset",
         [&] {
             start(Op::verify, "op");
             auto screen = shown<flows::VUIPasscodeController>();
             ASSERT_TRUE(screen);
             screen->resetPasscode();
         }},
        {"the retry limit",
         [&] {
             start(Op::unlock, "op");
             auto screen = shown<flows::VUIPasscodeController>();
             ASSERT_TRUE(screen);
             for (int i = 0; i < 3; ++i) screen->enterPasscode("99990000");
             auto alert = shown<ui::UIAlertController>();
             ASSERT_TRUE(alert) << "the retry limit's alert still shows";
             alert->tapAction(std::size_t{0});
         }},
    };
    for (const Road& road : roads) {
        SCOPED_TRACE(road.name);
        onboardClient();
        const foundation::UUID id = *saved();
        faults.heal();
        faults.fail(foundation::FileOperation::remove, storePath(id), EACCES);
        road.act();
        pumpUntil([&] { return !heard.empty(); });
        pumpUntil([] { return false; }, 0.1);
        EXPECT_EQ(heardText(), "op:reject:The onboarding could not be reset: it left its secure store " +
                                   storePath(id).filename().string() + ".");
        EXPECT_EQ(owner->resets, std::vector<foundation::UUID>{id}) << "one reset, of its own onboarding";
        EXPECT_FALSE(dispatch::MainQueue::shared().hasDueWork()) << "nothing goes round again";
        EXPECT_EQ(topScreen(), window->rootViewController());
        EXPECT_TRUE(logged("The onboarding could not be reset"));
        owner->resets.clear();
    }
}

TEST_F(OverlapTest, AStoreErrorResetsOnlyTheOnboardingTheOperationStartedFor) {
    start(Op::verify, "op");
    const foundation::UUID mine = *saved();
    auto screen = shown<flows::VUIPasscodeController>();
    ASSERT_TRUE(screen);
    // Another onboarding is saved meanwhile (without ending this operation).
    const foundation::UUID other;
    foundation::UserDefaults::shared().setObject(OnboardingController::kAppOnboardedState, Value(other.uuidString()));
    screen->resetPasscode();
    pumpUntil([&] { return !heard.empty(); });
    EXPECT_EQ(heardText(), "op:reject:The passcode has to be reset. :Reset Client");
    EXPECT_EQ(owner->resets, std::vector<foundation::UUID>{mine});
    EXPECT_FALSE(std::filesystem::exists(storePath(mine)));
    EXPECT_EQ(saved(), std::optional(other)) << "the other onboarding's \"onboarded\" stays";
}

// --- An operation answers once ---

TEST(PasscodeOperation, AnswersItsCallsOnceWhateverComesAfter) {
    std::vector<std::string> heard;
    auto blocks = [&](const std::string& name) {
        return std::pair{core::Block::make([&heard, name](const std::vector<Value>&) {
                             heard.push_back(name + ":resolve");
                             return Value();
                         }),
                         core::Block::make([&heard, name](const std::vector<Value>& a) {
                             heard.push_back(name + ":reject:" + *a.at(1).ifString());
                             return Value();
                         })};
    };
    auto joined = [&](auto&& answer) {
        heard.clear();
        PasscodeOperations::Operation op(PasscodeOperations::kUnlockEntry, foundation::UUID());
        auto [r1, j1] = blocks("a");
        auto [r2, j2] = blocks("b");
        op.join(r1, j1);
        op.join(r2, j2);
        answer(op);
        std::string out;
        for (const auto& h : heard) out += (out.empty() ? "" : " ") + h;
        return out;
    };
    EXPECT_EQ(joined([](auto& op) {
                  op.reject("first");
                  op.resolve(Value());
                  op.reject("second");
              }),
              "a:reject:first b:reject:first")
        << "nothing after a reject";
    EXPECT_EQ(joined([](auto& op) {
                  op.resolve(Value());
                  op.resolve(Value());
                  op.reject("late");
              }),
              "a:resolve b:resolve")
        << "a resolve is not answered twice";
    EXPECT_EQ(joined([](auto& op) {
                  op.resolve(Value());
                  op.end(kStartedAgain);
              }),
              "a:resolve b:resolve")
        << "ending a settled operation answers nothing more";
    EXPECT_EQ(joined([](auto& op) {
                  op.end(kStartedAgain);
                  op.end("again");
                  op.resolve(Value());
              }),
              std::string("a:reject:") + kStartedAgain + " b:reject:" + kStartedAgain);
}

// --- The passcode source ---

using PasscodeSourceTest = PasscodeRoadsTest;

TEST_F(PasscodeSourceTest, ThePasscodeSourceFollowsTheStoreOfTheOnboardingAskedAbout) {
    EXPECT_EQ(PasscodeOperations::passcodeSource(std::nullopt), 0);
    EXPECT_EQ(PasscodeOperations::passcodeSource(foundation::UUID()), 0) << "no store";
    onboardClient(kPasscode);
    const foundation::UUID first = *saved();
    EXPECT_EQ(PasscodeOperations::passcodeSource(first), 1);
    onboardClient(kPasscode, true);
    EXPECT_EQ(PasscodeOperations::passcodeSource(*saved()), 2);
    onboardClient(std::nullopt);
    EXPECT_EQ(PasscodeOperations::passcodeSource(*saved()), 0);
    EXPECT_EQ(PasscodeOperations::passcodeSource(first), 1) << "whatever \"onboarded\" names now";
}

}  // namespace
}  // namespace trc::onboarding
