#include "platform/flows/OnboardingFlowController.h"

#include <atomic>
#include <optional>

#include "platform/dispatch/MainQueue.h"
#include "platform/flows/Logger.h"
#include "platform/flows/UnexpectedError.h"

namespace trc::flows {

namespace {

const char* const kLoggerName = "ZEL.Flows.OnboardingFlowController";

// Wraps a step's completion so that only its first call counts and the flow
// goes on from the main queue, never from inside the step.
template <class... A>
std::function<void(A...)> onceOnMain(std::size_t position, std::function<void(A...)> next) {
    auto called = std::make_shared<std::atomic<bool>>(false);
    return [called, position, next = std::move(next)](A... args) {
        if (called->exchange(true)) {
            Logger::shared(kLoggerName)
                ->warn("Step " + std::to_string(position) +
                       " completed more than once; the later completion is ignored");
            return;
        }
        dispatch::MainQueue::shared().async([next, args...] { next(args...); });
    };
}

class ResetRun : public std::enable_shared_from_this<ResetRun> {
public:
    ResetRun(OnboardingFlowController::Steps steps, OnboardingContext context, OnboardingStep::ResetCompletion done)
        : steps_(std::move(steps)), context_(std::move(context)), done_(std::move(done)) {}

    void next() {
        if (index_ == steps_.size()) {
            if (done_) done_();
            return;
        }
        std::size_t position = index_++;
        auto self = shared_from_this();
        auto stepDone = onceOnMain<>(position, std::function<void()>([self] { self->next(); }));
        const auto& step = steps_[position];
        if (!step) {
            stepDone();
            return;
        }
        try {
            step->reset(context_, stepDone);
        } catch (...) {
            Logger::shared(kLoggerName)
                ->error("Reset of step " + std::to_string(position) +
                        " failed: " + UnexpectedError::fromCurrentException()->description());
            stepDone();
        }
    }

private:
    OnboardingFlowController::Steps steps_;
    OnboardingContext context_;
    OnboardingStep::ResetCompletion done_;
    std::size_t index_ = 0;
};

class FlowRun : public std::enable_shared_from_this<FlowRun> {
public:
    FlowRun(OnboardingFlowController::Steps steps, bool restoring, bool resetOnError, OnboardingStep::Completion done)
        : steps_(std::move(steps)), restoring_(restoring), resetOnError_(resetOnError), done_(std::move(done)) {}

    void next(const OnboardingContext& context) {
        if (index_ == steps_.size()) {
            finish(OnboardingResult::success(context));
            return;
        }
        std::size_t position = index_++;
        auto self = shared_from_this();
        last_ = context;
        auto stepDone = onceOnMain<OnboardingResult>(
            position,
            std::function<void(OnboardingResult)>([self](OnboardingResult r) { self->handle(std::move(r)); }));
        const auto& step = steps_[position];
        if (!step) {
            stepDone(OnboardingResult::failed(
                std::make_shared<UnexpectedError>("no step at position " + std::to_string(position))));
            return;
        }
        try {
            if (restoring_)
                step->restore(context, stepDone);
            else
                step->onboard(context, stepDone);
        } catch (...) {
            stepDone(OnboardingResult::failed(UnexpectedError::fromCurrentException()));
        }
    }

private:
    void handle(OnboardingResult result) {
        if (result.isSuccess()) {
            next(*result.context());
            return;
        }
        if (!result.error())
            result = OnboardingResult::failed(std::make_shared<UnexpectedError>("failure without an error"));
        if (resetOnError_) {
            auto self = shared_from_this();
            auto run = std::make_shared<ResetRun>(steps_, *last_, [self, result] { self->finish(result); });
            run->next();
            return;
        }
        finish(std::move(result));
    }

    void finish(OnboardingResult result) {
        auto done = std::move(done_);
        done_ = nullptr;
        if (done) done(std::move(result));
    }

    OnboardingFlowController::Steps steps_;
    bool restoring_;
    bool resetOnError_;
    OnboardingStep::Completion done_;
    std::size_t index_ = 0;
    std::optional<OnboardingContext> last_;
};

void start(OnboardingFlowController::Steps steps, const OnboardingContext& context, bool restoring, bool resetOnError,
           OnboardingStep::Completion completion) {
    auto run = std::make_shared<FlowRun>(std::move(steps), restoring, resetOnError, std::move(completion));
    dispatch::MainQueue::shared().async([run, context] { run->next(context); });
}

}  // namespace

void OnboardingFlowController::onboard(const Steps& steps, const OnboardingContext& context, bool shouldResetOnError,
                                       OnboardingStep::Completion completion) {
    start(steps, context, false, shouldResetOnError, std::move(completion));
}

void OnboardingFlowController::restore(const Steps& steps, const OnboardingContext& context,
                                       OnboardingStep::Completion completion) {
    start(steps, context, true, false, std::move(completion));
}

void OnboardingFlowController::reset(const Steps& steps, const OnboardingContext& context,
                                     OnboardingStep::ResetCompletion completion) {
    auto run = std::make_shared<ResetRun>(steps, context, std::move(completion));
    dispatch::MainQueue::shared().async([run] { run->next(); });
}

}  // namespace trc::flows
