#include "onboarding/OnboardingCustomization.h"

namespace trc::onboarding {

std::optional<std::string> OnboardingCustomization::get(Text) { return std::nullopt; }

std::optional<std::string> OnboardingCustomization::textOrDefault(Text text) {
    switch (text) {
        case Text::authenticationFailedMessageString: return "Authentication failed. Please try again";
        case Text::eulaTitleString: return "End User License Agreement";
        case Text::retryButtonString: return "Retry";
        case Text::agreeButtonString: return "Agree";
        case Text::disagreeButtonString: return "Disagree";
        case Text::networkUnreachableString: return "Network unavailable.  Please try again later.";
        case Text::okButtonString: return "Ok";
        case Text::enterCredentialsMessageString: return "Please start the onboarding process again!";
        case Text::maxAttemptsReachedMessageString: return "No more attempts left";
        case Text::onboardingFailedMessageString:
            return "User onboarding has failed due to an error. Please try again or contact your administrator.";
        case Text::scanButtonString: return std::nullopt;
        case Text::continueWithSameAppString: return "Use current application";
        case Text::scanNewQRCodeString: return "Scan new QR code";
        case Text::selectOptionString: return "Please select an option";
        case Text::userChoiceString: return "";
        case Text::eulaDisagreeAlertMessage: return "Without consent, you will not be able to continue onboarding";
        case Text::eulaDisagreeAlertQuitString: return "Quit Process";
        case Text::eulaDisagreeAlertConsentString: return "Give Consent";
    }
    return std::nullopt;
}

}  // namespace trc::onboarding
