#include "platform/flows/ZELvornSettingsTransformationMap.h"

#include "platform/flows/ConfigurationError.h"
#include "platform/flows/VUIPasscodePolicy.h"

namespace trc::flows {

namespace {

using CE = ConfigurationError;

void readBool(const core::Dictionary& d, const char* key, bool& out) {
    if (const core::Value* v = d.find(key)) {
        if (!v->ifBool()) throw CE(CE::Case::invalidValue, std::string("passcodePolicy.") + key);
        out = *v->ifBool();
    }
}

void readInt(const core::Dictionary& d, const char* key, int low, int high, int& out) {
    if (const core::Value* v = d.find(key)) {
        auto n = v->ifInteger();
        if (!n || *n < low || *n > high) throw CE(CE::Case::invalidValue, std::string("passcodePolicy.") + key);
        out = static_cast<int>(*n);
    }
}

std::any passcodePolicy(const core::Value& value) {
    const core::Dictionary* d = value.ifDictionary();
    if (!d) throw CE(CE::Case::invalidValue, "passcodePolicy");
    VUIPasscodePolicy policy;
    readBool(*d, "enabled", policy.isEnabled);
    readInt(*d, "minLength", 1, 64, policy.minLength);
    readBool(*d, "digitsOnly", policy.isDigitsOnly);
    readInt(*d, "retryLimit", 0, 100, policy.retryLimit);
    readBool(*d, "allowsBiometric", policy.allowsBiometric);
    return policy;
}

}  // namespace

std::vector<ConfigurationTransformer::Rule> ZELvornSettingsTransformationMap::rules() {
    return {{"passcodePolicy", OnboardingInfoKey::passcodePolicy, passcodePolicy}};
}

}  // namespace trc::flows
