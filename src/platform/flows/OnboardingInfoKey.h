#pragma once
// The key of a value in an onboarding context's info. A key is made from its
// raw text; two keys with the same raw text are the same key, so a key made
// from "ZELvornSettingsParameters" finds what the static stored. Steps agree
// on the kind of value each key holds (the statics say which). Any thread.

#include <cstddef>
#include <functional>
#include <string>

namespace trc::flows {

class OnboardingInfoKey {
public:
    explicit OnboardingInfoKey(std::string rawValue) : rawValue_(std::move(rawValue)) {}

    const std::string& rawValue() const { return rawValue_; }

    friend bool operator==(const OnboardingInfoKey&, const OnboardingInfoKey&) = default;
    friend auto operator<=>(const OnboardingInfoKey&, const OnboardingInfoKey&) = default;

    struct Hash {
        std::size_t operator()(const OnboardingInfoKey& k) const { return std::hash<std::string>{}(k.rawValue_); }
    };

    // ZELvornSettingsParameters: the mobile-services settings of the flow.
    static const OnboardingInfoKey zelvornSettingsParameters;
    // core::Value: the settings persisted before the current download.
    static const OnboardingInfoKey previousSettings;
    // OAuth2AuthenticationParameters.
    static const OnboardingInfoKey oauth2AuthenticationParameters;
    // OAuth2AuthenticationParameters of a client-credentials grant.
    static const OnboardingInfoKey oauth2ClientCredentialsAuthenticationParameters;
    // VUIPasscodePolicy from the downloaded settings.
    static const OnboardingInfoKey passcodePolicy;
    // std::string: the folder of the onboarding's secure stores.
    static const OnboardingInfoKey secureStoreFolderPath;

private:
    std::string rawValue_;
};

inline const OnboardingInfoKey OnboardingInfoKey::zelvornSettingsParameters{"ZELvornSettingsParameters"};
inline const OnboardingInfoKey OnboardingInfoKey::previousSettings{"ZELvornPreviousSettings"};
inline const OnboardingInfoKey OnboardingInfoKey::oauth2AuthenticationParameters{"OAuth2AuthenticationParameters"};
inline const OnboardingInfoKey OnboardingInfoKey::oauth2ClientCredentialsAuthenticationParameters{
    "OAuth2ClientCredentialsAuthenticationParameters"};
inline const OnboardingInfoKey OnboardingInfoKey::passcodePolicy{"PasscodePolicy"};
inline const OnboardingInfoKey OnboardingInfoKey::secureStoreFolderPath{"SecureStoreFolderPath"};

}  // namespace trc::flows
