#include "platform/flows/EULAStep.h"

#include <vector>

#include "platform/core/ProcessState.h"
#include "platform/flows/CodableStoring.h"
#include "platform/flows/ModalUIViewControllerPresenter.h"
#include "platform/flows/OnboardingError.h"
#include "platform/flows/UnexpectedError.h"

namespace trc::flows {

namespace {

// Steps waiting for a person. A waiting step holds the flow's completion, and
// the flow holds its steps, so a process reset (a relaunch in the simulator,
// a test's fresh start) lets them go here; otherwise they would keep each
// other alive.
std::vector<std::weak_ptr<EULAStep>>& waitingSteps() {
    static std::vector<std::weak_ptr<EULAStep>> steps;
    return steps;
}

[[maybe_unused]] const bool kResetRegistered = [] {
    core::ProcessState::registerReset("flows.EULAStep.waiting", [] {
        auto steps = std::move(waitingSteps());
        waitingSteps().clear();
        for (const auto& weak : steps) {
            if (auto step = weak.lock()) step->abandon();
        }
    });
    return true;
}();

}  // namespace

EULAStep::EULAStep(EULAContent eulaContent) : content_(std::move(eulaContent)) {}

void EULAStep::abandon() {
    completion_ = nullptr;
    context_.reset();
}

EULAStep::EULAStep(OnboardingInfoKey eulaContentInfoKey) : contentInfoKey_(std::move(eulaContentInfoKey)) {}

void EULAStep::onboard(const OnboardingContext& context, Completion completion) {
    std::optional<EULAContent> content = content_;
    if (!content && contentInfoKey_)
        if (const auto* found = context.infoValue<EULAContent>(*contentInfoKey_)) content = *found;
    if (!content) {
        completion(OnboardingResult::failed(OnboardingError::missingArgument(
            contentInfoKey_ ? contentInfoKey_->rawValue() : "eulaContent", "EULAStep")));
        return;
    }
    if (completion_) {
        // A new run replaces one that never ended.
        auto stale = std::move(completion_);
        completion_ = nullptr;
        stale(OnboardingResult::failed(OnboardingError::cancelled()));
    }
    context_ = context;
    if (!context_->presentationDelegate)
        context_->presentationDelegate = std::make_shared<ModalUIViewControllerPresenter>();
    shown_ = content;
    completion_ = std::move(completion);
    auto& waiting = waitingSteps();
    std::erase_if(waiting, [](const std::weak_ptr<EULAStep>& w) { return w.expired(); });
    waiting.push_back(weakSelf<EULAStep>());

    auto screen = std::make_shared<VUIEULAViewController>();
    screen->title = content->title;
    screen->titleLabel->text = content->title;
    screen->contentLabel->text = content->content;
    std::weak_ptr<EULAStep> weak = weakSelf<EULAStep>();
    std::weak_ptr<VUIEULAViewController> weakScreen = screen;
    screen->onAccept = [weak, weakScreen] {
        auto self = weak.lock();
        auto s = weakScreen.lock();
        if (self && s) self->eulaAccepted(*s);
    };
    screen->onReject = [weak, weakScreen] {
        auto self = weak.lock();
        auto s = weakScreen.lock();
        if (self && s) self->eulaRejected(*s);
    };
    screen->onCancel = [weak] {
        if (auto self = weak.lock()) self->finish(OnboardingResult::failed(OnboardingError::cancelled()));
    };
    if (customizationHandler) customizationHandler(*screen);
    context_->presentationDelegate->present(screen, [weak](ErrorPtr error) {
        if (auto self = weak.lock(); self && error) self->finish(OnboardingResult::failed(error));
    });
}

void EULAStep::restore(const OnboardingContext& context, Completion completion) {
    std::optional<EULAContent> content = content_;
    if (!content && contentInfoKey_)
        if (const auto* found = context.infoValue<EULAContent>(*contentInfoKey_)) content = *found;
    try {
        if (content && context.credentialStore)
            if (auto kept = context.credentialStore->get(kAcceptedVersionKey);
                kept && std::string(kept->begin(), kept->end()) == content->version) {
                completion(OnboardingResult::success(context));
                return;
            }
    } catch (const Error&) {
        // An unreadable record asks again.
    }
    onboard(context, std::move(completion));
}

void EULAStep::eulaAccepted(VUIEULAViewController&) {
    if (!context_ || !shown_) return;
    try {
        if (context_->credentialStore)
            context_->credentialStore->put(core::Data(shown_->version.begin(), shown_->version.end()),
                                           kAcceptedVersionKey);
    } catch (...) {
        return finish(OnboardingResult::failed(UnexpectedError::fromCurrentException()));
    }
    finish(OnboardingResult::success(*context_));
}

void EULAStep::eulaRejected(VUIEULAViewController&) { finish(OnboardingResult::failed(OnboardingError::cancelled())); }

void EULAStep::finish(OnboardingResult result) {
    if (!completion_ || !context_) return;
    auto done = std::move(completion_);
    completion_ = nullptr;
    auto presenter = context_->presentationDelegate;
    context_.reset();
    presenter->dismiss([done, result] { done(result); });
}

void EULAStep::reset(const OnboardingContext& context, ResetCompletion completion) {
    try {
        if (context.credentialStore) context.credentialStore->remove(kAcceptedVersionKey);
    } catch (const Error&) {
        // The store step's reset deletes the whole store.
    }
    completion();
}

}  // namespace trc::flows
