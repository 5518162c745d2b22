#include "platform/flows/OnboardingFlowController.h"

#include <string>

#include "FlowTestSupport.h"
#include "platform/flows/OnboardingError.h"
#include "platform/flows/SimpleTaskStep.h"
#include "platform/flows/UnexpectedError.h"

namespace trc::flows::test {
namespace {

const OnboardingInfoKey kTrail{"trail"};

// A step that appends its name to the trail in info and ends as told.
std::shared_ptr<OnboardingStep> step(std::string name, std::string& log, bool fail = false, int completions = 1) {
    auto onboard = [name, &log, fail, completions](const OnboardingContext& ctx, OnboardingStep::Completion done) {
        log += name;
        OnboardingContext next = ctx;
        const auto* trail = ctx.infoValue<std::string>(kTrail);
        next.info[kTrail] = (trail ? *trail : std::string()) + name;
        for (int i = 0; i < completions; ++i)
            done(fail ? OnboardingResult::failed(OnboardingError::cancelled()) : OnboardingResult::success(next));
    };
    return std::make_shared<SimpleTaskStep>(onboard, onboard, [name, &log](const OnboardingContext&, auto done) {
        log += "~" + name;
        done();
    });
}

class FlowOrder : public FlowTest {};

TEST_F(FlowOrder, StepsRunInOrderAndEachGetsTheContextOfTheOneBefore) {
    std::string log;
    int calls = 0;
    std::optional<OnboardingResult> result;
    OnboardingFlowController::onboard({step("a", log), step("b", log), step("c", log)}, OnboardingContext(), false,
                                      [&](OnboardingResult r) {
                                          ++calls;
                                          result = r;
                                      });
    EXPECT_EQ(calls, 0) << "the completion never runs inside the call";
    runMain();
    EXPECT_EQ(log, "abc");
    ASSERT_EQ(calls, 1);
    ASSERT_TRUE(result->isSuccess());
    EXPECT_EQ(*result->context()->infoValue<std::string>(kTrail), "abc");
}

TEST_F(FlowOrder, AFailureStopsTheFlowAndOptionallyResetsEveryStep) {
    for (bool resetOnError : {false, true}) {
        std::string log;
        std::optional<OnboardingResult> result;
        OnboardingFlowController::onboard({step("a", log), step("b", log, true), step("c", log)}, OnboardingContext(),
                                          resetOnError, [&](OnboardingResult r) { result = r; });
        runMain();
        EXPECT_EQ(log, resetOnError ? "ab~a~b~c" : "ab");
        ASSERT_TRUE(result && !result->isSuccess());
        EXPECT_TRUE(Error::is<OnboardingError>(result->error()));
    }
}

TEST_F(FlowOrder, RestoreUsesEachStepsRestore) {
    std::string log;
    auto restoreOnly = std::make_shared<SimpleTaskStep>([&](const OnboardingContext&, auto) { log += "onboard"; },
                                                        [&](const OnboardingContext& c, auto done) {
                                                            log += "restore";
                                                            done(OnboardingResult::success(c));
                                                        },
                                                        SimpleTaskStep::defaultResetHandler);
    bool ok = false;
    OnboardingFlowController::restore({restoreOnly}, OnboardingContext(),
                                      [&](OnboardingResult r) { ok = r.isSuccess(); });
    runMain();
    EXPECT_EQ(log, "restore");
    EXPECT_TRUE(ok);
}

class FlowCompletion : public FlowTest {};

TEST_F(FlowCompletion, RunsExactlyOnceForAnEmptyListAndForStepsThatCompleteTwice) {
    std::string log;
    int calls = 0;
    OnboardingFlowController::onboard({}, OnboardingContext(), false, [&](OnboardingResult r) {
        ++calls;
        EXPECT_TRUE(r.isSuccess());
    });
    OnboardingFlowController::onboard({step("x", log, false, 2), step("y", log)}, OnboardingContext(), false,
                                      [&](OnboardingResult) { ++calls; });
    int resets = 0;
    OnboardingFlowController::reset({}, OnboardingContext(), [&] { ++resets; });
    runMain();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(log, "xy") << "a second completion of a step must not run the next step again";
}

TEST_F(FlowCompletion, AThrowingOrMissingStepFailsTheFlowInsteadOfEscaping) {
    auto thrower = std::make_shared<SimpleTaskStep>(
        [](const OnboardingContext&, OnboardingStep::Completion) { throw std::runtime_error("boom"); });
    std::vector<std::optional<OnboardingResult>> results(2);
    OnboardingFlowController::onboard({thrower}, OnboardingContext(), false,
                                      [&](OnboardingResult r) { results[0] = r; });
    OnboardingFlowController::onboard({nullptr}, OnboardingContext(), false,
                                      [&](OnboardingResult r) { results[1] = r; });
    runMain();
    for (auto& r : results) {
        ASSERT_TRUE(r && !r->isSuccess());
        EXPECT_TRUE(Error::is<UnexpectedError>(r->error()));
    }
    EXPECT_NE(results[0]->error()->description().find("boom"), std::string::npos);
}

TEST_F(FlowCompletion, ResetVisitsEveryStepInOrderThenCompletesOnce) {
    std::string log;
    int calls = 0;
    OnboardingFlowController::reset({step("a", log), step("b", log, true), step("c", log)}, OnboardingContext(),
                                    [&] { ++calls; });
    runMain();
    EXPECT_EQ(log, "~a~b~c");
    EXPECT_EQ(calls, 1);
}

TEST(OnboardingInfoKeyTest, KeysWithTheSameRawTextAreTheSameKey) {
    OnboardingContext::Info info;
    info[OnboardingInfoKey::zelvornSettingsParameters] = 1;
    EXPECT_EQ(info.count(OnboardingInfoKey("ZELvornSettingsParameters")), 1u);
    EXPECT_NE(OnboardingInfoKey::passcodePolicy, OnboardingInfoKey::previousSettings);
}

TEST(OnboardingErrorTest, CancelledReadsAsTheFlowGotCancelledAndKeepsTheInnerError) {
    auto inner = OnboardingError::missingArgument("a", "b").clone();
    auto e = OnboardingError::authenticationFailed(std::nullopt, "x", std::nullopt, inner);
    EXPECT_EQ(e.innerError(), inner);
    std::string text = OnboardingError::cancelled().localizedDescription();
    for (auto& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_NE(text.find("the flow got cancelled"), std::string::npos);
}

}  // namespace
}  // namespace trc::flows::test
