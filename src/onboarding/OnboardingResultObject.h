#pragma once
// The result of an onboarding flow handed to the host as an object it keeps
// without looking inside: a relaunch restore that ends in offline mode
// resolves with it. The host sees its class as "OnboardingResult".
// Immutable; main thread.

#include "platform/core/ClassInfo.h"
#include "platform/core/Object.h"
#include "platform/flows/OnboardingResult.h"

namespace trc::onboarding {

class OnboardingResultObject : public core::Object {
    TRC_OBJECT(OnboardingResultObject)
public:
    explicit OnboardingResultObject(flows::OnboardingResult result) : result_(std::move(result)) {}

    const flows::OnboardingResult& result() const { return result_; }

private:
    flows::OnboardingResult result_;
};

}  // namespace trc::onboarding
