#include "onboarding/OnboardingCustomization.h"

#include <algorithm>
#include <string_view>

#include "platform/core/ClassInfo.h"
#include "platform/core/ProcessState.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/flows/VUIPasscodeController.h"
#include "platform/foundation/Bundle.h"

namespace trc::onboarding {

namespace {

using Text = OnboardingCustomization::Text;
using Fallback = OnboardingCustomization::Fallback;

// The passcode screens write their number where the host wrote "{0}", and
// nowhere else.
constexpr std::string_view kHostPlaceholder = "{0}";
constexpr std::string_view kScreenPlaceholder = "%d";
constexpr std::string_view kLiteralPercent = "%%";
constexpr std::array<const char*, 2> kFormatKeys = {"attemptsLeftMessageFormat", "setPasscodeMessageFormat"};
// Without the host's text this one goes back to its default on the screens too.
constexpr const char* kEnterCredentialsKey = "enterCredentialsMessageString";

std::array<std::optional<std::string>, OnboardingCustomization::kTextCount>& values() {
    static auto& v = []() -> auto& {
        static std::array<std::optional<std::string>, OnboardingCustomization::kTextCount> s;
        core::ProcessState::registerReset("onboarding.OnboardingCustomization", [] { s.fill(std::nullopt); });
        return s;
    }
    ();
    return v;
}

std::size_t indexOf(Text text) { return static_cast<std::size_t>(text); }

std::string localized(const char* tableKey, const char* englishDefault) {
    return foundation::Bundle::framework()->localizedString(tableKey, OnboardingCustomization::kStringsTable,
                                                            englishDefault);
}

const std::string* givenString(const core::Dictionary& hostTexts, const char* key) {
    const core::Value* v = hostTexts.find(key);
    return v ? v->ifString() : nullptr;
}

// The host's text as a format of the passcode screens: only "{0}" becomes
// their number; a '%' the host wrote is escaped so it shows as written. One
// pass, so a long text costs no more than its length.
std::string withScreenPlaceholders(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.substr(i, kHostPlaceholder.size()) == kHostPlaceholder) {
            out += kScreenPlaceholder;
            i += kHostPlaceholder.size() - 1;
        } else if (text[i] == '%') {
            out += kLiteralPercent;
        } else {
            out += text[i];
        }
    }
    return out;
}

void setScreenText(const char* key, std::string text) {
    if (!flows::VUIPasscodeController::setText(key, std::move(text))) {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::error,
                                       std::string("the passcode screens have no text \"") + key + "\"");
    }
}

}  // namespace

const std::array<OnboardingCustomization::TextInfo, OnboardingCustomization::kTextCount>&
OnboardingCustomization::texts() {
    static const std::array<TextInfo, kTextCount> table = {{
        {Text::authenticationFailedMessageString, "authenticationFailedMessageString",
         "authenticationFailedMessageString", Fallback::localized, "AuthenticationFailedKey",
         "Authentication failed. Please try again", false},
        {Text::onboardingFailedMessageString, "onboardingFailedMessageString", "onboardingFailedMessageString",
         Fallback::localized, "OnboardingFailedKey",
         "User onboarding has failed due to an error. Please try again or contact your administrator.", false},
        {Text::networkUnreachableString, "networkUnreachableString", "networkUnreachableFailureString",
         Fallback::localized, "NetworkUnreachableKey", "Network unavailable.  Please try again later.", false},
        {Text::eulaTitleString, "eulaTitleString", "eulaTitleString", Fallback::localized, "EULATitleKey",
         "End User License Agreement", false},
        {Text::scanButtonString, "scanButtonString", "scanButtonString", Fallback::nothing, nullptr, nullptr, true},
        {Text::selectOptionString, "selectOptionString", "selectOptionString", Fallback::localized, "SelectOptionKey",
         "Please select an option", true},
        {Text::userChoiceString, "userChoiceString", "userChoiceString", Fallback::emptyText, nullptr, nullptr, true},
        {Text::continueWithSameAppString, "continueWithSameAppString", "continueWithSameAppString", Fallback::localized,
         "ContinueWithSameAppKey", "Use current application", true},
        {Text::scanNewQRCodeString, "scanNewQRCodeString", "scanNewQRCodeString", Fallback::localized,
         "ScanNewQRCodeKey", "Scan new QR code", true},
        {Text::agreeButtonString, "agreeButtonString", "agreeButtonString", Fallback::localized, "AgreeKey", "Agree",
         false},
        {Text::disagreeButtonString, "disagreeButtonString", "disagreeButtonString", Fallback::localized, "DisagreeKey",
         "Disagree", false},
        {Text::eulaDisagreeAlertMessage, "eulaDisagreeAlertMessage", "eulaRejectAlertTitleText", Fallback::localized,
         "EULARejectAlertTitleText", "Without consent, you will not be able to continue onboarding", false},
        {Text::eulaDisagreeAlertQuitString, "eulaDisagreeAlertQuitString", "eulaRejectAlertQuitBtnText",
         Fallback::localized, "EULARejectAlertYesBtnText", "Quit Process", false},
        {Text::eulaDisagreeAlertConsentString, "eulaDisagreeAlertConsentString", "eulaRejectAlertConsentBtnText",
         Fallback::localized, "EULARejectAlertNoBtnText", "Give Consent", false},
        // Shared with the passcode screens under the same names.
        {Text::enterCredentialsMessageString, "enterCredentialsMessageString", kEnterCredentialsKey,
         Fallback::localized, "EnterCredentialsKey", "Please start the onboarding process again!", false},
        {Text::maxAttemptsReachedMessageString, "maxAttemptsReachedMessageString", "maxAttemptsReachedMessageString",
         Fallback::localized, "MaxAttemptsReachedKey", "No more attempts left", false},
        {Text::okButtonString, "okButtonString", "okButtonString", Fallback::localized, "okKey", "Ok", false},
        {Text::retryButtonString, "retryButtonString", "retryButtonString", Fallback::localized, "RetryKey", "Retry",
         false},
    }};
    return table;
}

const OnboardingCustomization::TextInfo& OnboardingCustomization::info(Text text) {
    const auto& all = texts();
    return *std::find_if(all.begin(), all.end(), [text](const TextInfo& i) { return i.text == text; });
}

const std::array<const char*, 46>& OnboardingCustomization::passcodeScreenKeys() {
    static const std::array<const char*, 46> keys = {
        "attemptsLeftMessageFormat",
        "authenticateWithFaceIDMessageString",
        "authenticateWithTouchIDMessageString",
        "changePasscodeTitleString",
        "choosePasscodeTitleString",
        "confirmPasscodeString",
        "confirmPasscodeTitleString",
        "digitsLabelString",
        "enableButtonString",
        kEnterCredentialsKey,
        "enterPasscodeAgainString",
        "enterYourCurrentPasscodeMessageString",
        "enterYourPasscodeMessageString",
        "faceIDEnableMessage1String",
        "faceIDEnableMessage2String",
        "faceIDMessage1String",
        "faceIDMessage2String",
        "faceIDTitleString",
        "includeRequiredGroupMessage",
        "learnMoreFaceIDLinkString",
        "learnMoreTouchIDLinkString",
        "lowerCaseLabelString",
        "maxAttemptsReachedMessageString",
        "nextItemString",
        "nonAlphabeticLabelString",
        "notNowActionString",
        "notNowButtonString",
        "okButtonString",
        "oneAttempLeftMessageFormat",
        "passcodeNotMatchMessageString",
        "passcodeRejectedMessageString",
        "passcodeTitleString",
        "passcodeValidationFailedMessageString",
        kResetPasscodeButtonKey,
        "retryButtonString",
        "retryPasscodeMessageString",
        "setPasscodeMessageFormat",
        "settingsActionString",
        "touchIDEnableMessage1String",
        "touchIDEnableMessage2String",
        "touchIDMessage1String",
        "touchIDMessage2String",
        "touchIDTitleString",
        "upperCaseLabelString",
        "useFaceIDMessageString",
        "useTouchIDMessageString",
    };
    return keys;
}

const core::ClassInfo& OnboardingCustomization::classInfo() {
    static const core::ClassInfo& info = []() -> const core::ClassInfo& {
        core::ClassBuilder<OnboardingCustomization> builder(kRegisteredName, core::Object::classInfo());
        builder.constructible().classMethod(kUpdateSelector, [](core::Args args) {
            if (const core::Dictionary* d = args[0].ifDictionary()) {
                update(*d);
            } else {
                core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::error,
                                               std::string("onboarding texts must be a dictionary, not ") +
                                                   core::Value::kindName(args[0].kind()) + "; nothing changed");
            }
            return core::Value();
        });
        for (const TextInfo& t : texts()) {
            builder.classProperty(t.property, [text = t.text] {
                std::optional<std::string> v = get(text);
                return v ? core::Value(*v) : core::Value();
            });
        }
        return builder.build();
    }();
    return info;
}

std::optional<std::string> OnboardingCustomization::get(Text text) { return values()[indexOf(text)]; }

void OnboardingCustomization::set(Text text, std::optional<std::string> value) {
    values()[indexOf(text)] = std::move(value);
}

std::optional<std::string> OnboardingCustomization::defaultText(Text text) {
    const TextInfo& i = info(text);
    switch (i.fallback) {
    case Fallback::localized: return localized(i.tableKey, i.englishDefault);
    case Fallback::nothing: return std::nullopt;
    case Fallback::emptyText: return std::string();
    }
    return std::nullopt;
}

std::optional<std::string> OnboardingCustomization::textOrDefault(Text text) {
    if (std::optional<std::string> v = get(text)) return v;
    return defaultText(text);
}

void OnboardingCustomization::update(const core::Dictionary& hostTexts) {
    for (const TextInfo& t : texts()) {
        const std::string* given = givenString(hostTexts, t.hostKey);
        if (given && !(t.nonEmptyOnly && given->empty())) {
            set(t.text, *given);
        } else {
            set(t.text, defaultText(t.text));
        }
    }
    for (const char* key : passcodeScreenKeys()) {
        const std::string_view name(key);
        if (const std::string* given = givenString(hostTexts, key)) {
            const bool isFormat = std::find(kFormatKeys.begin(), kFormatKeys.end(), name) != kFormatKeys.end();
            setScreenText(key, isFormat ? withScreenPlaceholders(*given) : *given);
        } else if (name == kEnterCredentialsKey) {
            setScreenText(key, *defaultText(Text::enterCredentialsMessageString));
        } else if (name == kResetPasscodeButtonKey) {
            setScreenText(key, localized(kResetPasscodeTableKey, kResetPasscodeDefault));
        }
    }
}

}  // namespace trc::onboarding
