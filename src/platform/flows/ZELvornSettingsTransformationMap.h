#pragma once
// The transformation map of the mobile-services settings: the settings
// object "passcodePolicy" ({"enabled", "minLength", "digitsOnly",
// "retryLimit", "allowsBiometric"}, each optional, defaults as in
// VUIPasscodePolicy) becomes a VUIPasscodePolicy under
// OnboardingInfoKey::passcodePolicy. A member of the wrong kind, or a length
// or limit out of range, is a ConfigurationError.

#include <vector>

#include "platform/flows/ConfigurationTransformer.h"

namespace trc::flows {

class ZELvornSettingsTransformationMap {
public:
    static std::vector<ConfigurationTransformer::Rule> rules();
};

}  // namespace trc::flows
