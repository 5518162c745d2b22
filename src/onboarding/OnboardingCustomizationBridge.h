#pragma once
// The host's entry for the onboarding texts: class method "config:" with a
// dictionary of texts, handed on as "update:" to the class registered as
// "OnboardingCustomizationSwift" (OnboardingCustomization), which says what
// each text does. Returns nothing; a non-dictionary argument is logged and
// changes nothing. No state; main thread, as every host call.

#include "platform/core/Object.h"

namespace trc::onboarding {

class OnboardingCustomizationBridge : public core::Object {
    TRC_OBJECT(OnboardingCustomizationBridge)
public:
    static constexpr const char* kConfigSelector = "config:";

    static void config(const core::Value& hostTexts);
};

}  // namespace trc::onboarding
