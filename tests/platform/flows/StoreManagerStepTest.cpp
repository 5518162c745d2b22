#include "platform/flows/StoreManagerStep.h"

#include "FlowTestSupport.h"
#include "platform/core/internal/Logging.h"
#include "platform/flows/CompositeStorage.h"
#include "platform/flows/OnboardingError.h"
#include "platform/flows/StoreManager.h"
#include "platform/flows/StoreManagerError.h"
#include "platform/flows/VUIPasscodeController.h"
#include "platform/foundation/FaultyFiles.h"

namespace trc::flows::test {
namespace {

core::Data bytes(const std::string& s) { return core::Data(s.begin(), s.end()); }

class StoreStep : public FlowTest {
protected:
    std::shared_ptr<StoreManagerStep> step = std::make_shared<StoreManagerStep>(
        OnboardingInfoKey::passcodePolicy, std::make_shared<SecureKeyValueStoreManager>());
    std::optional<OnboardingResult> result;
    int completions = 0;
    OnboardingStep::Completion keep() {
        return [this](OnboardingResult r) {
            result = r;
            ++completions;
        };
    }
    std::optional<StoreManagerError::Case> failure() const {
        const auto* e = result ? Error::as<StoreManagerError>(result->error()) : nullptr;
        return e ? std::optional(e->errorCase()) : std::nullopt;
    }

    std::shared_ptr<VUIPasscodeController> passcodeScreen() {
        runMain();
        return std::dynamic_pointer_cast<VUIPasscodeController>(topScreen());
    }

    // Onboards with the passcode; returns the onboarded context.
    OnboardingContext onboardWith(const std::string& passcode, OnboardingContext ctx = OnboardingContext()) {
        step->onboard(ctx, keep());
        auto screen = passcodeScreen();
        EXPECT_TRUE(screen);
        if (!screen) return ctx;
        screen->enterPasscode(passcode);
        screen->enterPasscode(passcode);
        runMain();
        EXPECT_TRUE(result && result->isSuccess());
        auto onboarded = *result->context();
        result.reset();
        return onboarded;
    }
};

TEST_F(StoreStep, OnboardingCarriesWhatEarlierStepsStoredIntoTheEncryptedStoreForALaterRestore) {
    OnboardingContext ctx;
    ctx.credentialStore->put(bytes("persisted configuration"), "config");
    auto onboarded = onboardWith("25803614", ctx);
    EXPECT_EQ(topScreen(), window->rootViewController()) << "the passcode screen is gone";

    OnboardingContext relaunch(onboarded.onboardingID, nullptr, ctx.presentationDelegate);
    step->restore(relaunch, keep());
    auto screen = passcodeScreen();
    ASSERT_TRUE(screen);
    EXPECT_TRUE(screen->cancelButton()->isHidden()) << "no cancel button unless asked for";
    screen->enterPasscode("00000000");
    EXPECT_NE(screen->messageLabel()->text->find("9 attempts left"), std::string::npos);
    screen->enterPasscode("25803614");
    runMain();
    ASSERT_TRUE(result && result->isSuccess());
    EXPECT_EQ(result->context()->credentialStore->get("config"), bytes("persisted configuration"));
}

TEST_F(StoreStep, CreatingAsksTwiceAndFollowsThePolicy) {
    step->onboard(OnboardingContext(), keep());
    auto screen = passcodeScreen();
    ASSERT_TRUE(screen);
    screen->enterPasscode("1234567");  // seven digits: too short
    EXPECT_EQ(screen->stage(), VUIPasscodeController::Stage::choose);
    screen->enterPasscode("12345678");
    EXPECT_EQ(screen->stage(), VUIPasscodeController::Stage::confirm);
    screen->enterPasscode("12345679");
    EXPECT_EQ(screen->stage(), VUIPasscodeController::Stage::choose) << "a mismatch starts over";
    EXPECT_FALSE(result);
    screen->cancel();
    runMain();
    ASSERT_TRUE(result && !result->isSuccess());
    EXPECT_TRUE(Error::is<OnboardingError>(result->error()));
}

TEST_F(StoreStep, RestoreEndsWithTheErrorsTheOnboardingRoadsTellApart) {
    auto onboarded = onboardWith("25803614");
    step->showsCancelButtonOnRestore = true;
    step->restore(onboarded, keep());
    passcodeScreen()->cancel();
    runMain();
    ASSERT_TRUE(result);
    EXPECT_EQ(Error::as<StoreManagerError>(result->error())->errorCase(), StoreManagerError::Case::cancelPasscodeEntry);

    result.reset();
    VUIPasscodePolicy strict;
    strict.retryLimit = 2;
    step->defaultPasscodePolicy = strict;
    auto second = onboardWith("87654321");
    step->restore(second, keep());
    auto screen = passcodeScreen();
    screen->enterPasscode("00000000");
    screen->enterPasscode("00000001");
    runMain();
    ASSERT_TRUE(result);
    EXPECT_EQ(Error::as<StoreManagerError>(result->error())->errorCase(),
              StoreManagerError::Case::passcodeRetryLimitReached);

    result.reset();
    bool reset = false;
    step->reset(second, [&] { reset = true; });
    EXPECT_TRUE(reset);
    step->restore(second, keep());
    runMain();
    ASSERT_TRUE(result);
    EXPECT_EQ(Error::as<StoreManagerError>(result->error())->errorCase(), StoreManagerError::Case::storeNotFound);
}

TEST_F(StoreStep, ARestoreOfAStoreThatCannotBeReadEndsOnceBeforeAnyScreen) {
    auto onboarded = onboardWith("25803614");
    const auto folder = step->persistentStoreManager()->folder(&onboarded);
    for (int error : {EACCES, EIO}) {
        testing::FaultyFiles files;
        files.fail(foundation::FileOperation::read, folder, error);
        completions = 0;
        step->restore(onboarded, keep());
        runMain();
        EXPECT_EQ(completions, 1);
        EXPECT_EQ(failure(), StoreManagerError::Case::storeUnavailable);
        EXPECT_EQ(topScreen(), window->rootViewController()) << "no passcode screen";
    }
}

TEST_F(StoreStep, OnAFullDiskWrongPasscodesCountToTheLimitAndALockedStoreIsRefusedBeforeAnyScreen) {
    VUIPasscodePolicy strict;
    strict.retryLimit = 2;
    step->defaultPasscodePolicy = strict;
    auto onboarded = onboardWith("25803614");
    const auto path = step->persistentStoreManager()->storePath(onboarded.onboardingID, &onboarded);
    testing::FaultyFiles files;
    files.fail(foundation::FileOperation::write, step->persistentStoreManager()->folder(&onboarded), ENOSPC);
    completions = 0;
    step->restore(onboarded, keep());
    auto screen = passcodeScreen();
    ASSERT_TRUE(screen);
    screen->enterPasscode("00000000");
    EXPECT_FALSE(result) << "a wrong passcode, asked again";
    EXPECT_NE(screen->messageLabel()->text->find("1 attempt left"), std::string::npos);
    screen->enterPasscode("00000001");
    runMain();
    EXPECT_EQ(failure(), StoreManagerError::Case::passcodeRetryLimitReached);
    EXPECT_EQ(completions, 1);
    EXPECT_TRUE(SecureKeyValueStore::readHeader(path)->isLocked()) << "the lock is on disk";

    // Until its owner's reset removes it, every restore ends at once.
    for (int again = 0; again < 2; ++again) {
        result.reset();
        step->restore(onboarded, keep());
        runMain();
        EXPECT_EQ(failure(), StoreManagerError::Case::passcodeRetryLimitReached);
        EXPECT_EQ(topScreen(), window->rootViewController()) << "no passcode screen";
    }
    step->reset(onboarded, [] {});
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(StoreStep, OnStorageThatCannotBeWrittenAPasscodeEndsTheRestoreUnjudged) {
    auto onboarded = onboardWith("25803614");
    testing::FaultyFiles files;
    files.fail(foundation::FileOperation::write, step->persistentStoreManager()->folder(&onboarded), EIO);
    for (const char* passcode : {"25803614", "00000000"}) {
        result.reset();
        completions = 0;
        step->restore(onboarded, keep());
        passcodeScreen()->enterPasscode(passcode);
        runMain();
        EXPECT_EQ(completions, 1);
        EXPECT_EQ(failure(), StoreManagerError::Case::storeUnavailable) << passcode;
        EXPECT_EQ(topScreen(), window->rootViewController()) << "the passcode screen is gone";
    }
    files.heal();
    result.reset();
    step->restore(onboarded, keep());
    passcodeScreen()->enterPasscode("25803614");
    runMain();
    ASSERT_TRUE(result && result->isSuccess());
}

TEST_F(StoreStep, ChangingThePasscodeAsksForTheCurrentOneThenANewOne) {
    auto onboarded = onboardWith("25803614");
    auto presenter = onboarded.presentationDelegate;
    auto manager = std::make_shared<StoreManager>(onboarded.onboardingID, onboarded.credentialStore,
                                                  std::make_shared<SecureKeyValueStoreManager>(), presenter);
    EXPECT_EQ(manager->passcodeState(), PasscodeState::passcode);
    std::optional<ErrorPtr> done;
    manager->performPasscodeAction(PasscodeAction::change, [&](ErrorPtr e) { done = e; });
    passcodeScreen()->enterPasscode("25803614");
    auto create = passcodeScreen();
    ASSERT_EQ(create->mode(), VUIPasscodeController::Mode::create);
    create->enterPasscode("11223344");
    create->enterPasscode("11223344");
    runMain();
    ASSERT_TRUE(done);
    EXPECT_EQ(*done, nullptr);
    onboarded.credentialStore->put(bytes("after"), "late");

    step->restore(onboarded, keep());
    passcodeScreen()->enterPasscode("11223344");
    runMain();
    ASSERT_TRUE(result && result->isSuccess());
    EXPECT_EQ(result->context()->credentialStore->get("late"), bytes("after"));
}

TEST_F(StoreStep, NoPasscodeOrKeyReachesTheLog) {
    core::internal::Logging::clearCaptured();
    auto onboarded = onboardWith("25803614");
    step->restore(onboarded, keep());
    passcodeScreen()->enterPasscode("99999999");
    passcodeScreen()->enterPasscode("25803614");
    runMain();
    for (const auto& r : core::internal::Logging::captured()) {
        EXPECT_EQ(r.message.find("25803614"), std::string::npos) << r.message;
        EXPECT_EQ(r.message.find("99999999"), std::string::npos) << r.message;
    }
}

}  // namespace
}  // namespace trc::flows::test
