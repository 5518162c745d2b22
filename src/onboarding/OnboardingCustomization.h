#pragma once
// The onboarding texts a host may replace. Interim version: only the reads
// onboarding needs (the text set by the host, else its English default);
// the full class with the host's update comes with the customization
// feature and replaces this file. Main thread only.

#include <optional>
#include <string>

namespace trc::onboarding {

class OnboardingCustomization {
public:
    enum class Text {
        authenticationFailedMessageString,
        eulaTitleString,
        retryButtonString,
        agreeButtonString,
        disagreeButtonString,
        networkUnreachableString,
        okButtonString,
        enterCredentialsMessageString,
        maxAttemptsReachedMessageString,
        onboardingFailedMessageString,
        scanButtonString,
        continueWithSameAppString,
        scanNewQRCodeString,
        selectOptionString,
        userChoiceString,
        eulaDisagreeAlertMessage,
        eulaDisagreeAlertQuitString,
        eulaDisagreeAlertConsentString,
    };

    static std::optional<std::string> get(Text text);
    static std::optional<std::string> textOrDefault(Text text);
};

}  // namespace trc::onboarding
