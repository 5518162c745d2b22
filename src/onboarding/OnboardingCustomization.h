#pragma once
// The onboarding texts a host may replace: eighteen texts the onboarding
// screens and alerts show, and the texts of the passcode screens, all set
// from one dictionary of texts (update). The host reaches it through
// OnboardingCustomizationBridge, and by the name "OnboardingCustomizationSwift"
// (class method "update:", one class property per text).
//
// Each own text is nothing until the first update; every update then sets
// each of them again, to the host's text or, when the host gives none, to
// its localized default from the strings table "Onboarding" of the
// library's own bundle (English when the table has no entry). Readers that
// may run before any update take textOrDefault(), so an alert never goes
// out untitled. The passcode screens' texts are set only when the host
// gives them (see update).
//
// Texts live for the process; a ProcessState reset clears them. Main
// thread only, as every host call: the passcode screens read the same texts
// there.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/Dictionary.h"
#include "platform/core/Object.h"

namespace trc::onboarding {

class OnboardingCustomization : public core::Object {
    TRC_OBJECT(OnboardingCustomization)
public:
    static constexpr const char* kRegisteredName = "OnboardingCustomizationSwift";
    static constexpr const char* kUpdateSelector = "update:";
    // The strings table of the onboarding texts in the library's own bundle.
    static constexpr const char* kStringsTable = "Onboarding";

    // The own texts, named as their properties.
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
    static constexpr std::size_t kTextCount = 18;

    // What the host's text replaces when it gives none.
    enum class Fallback { localized, nothing, emptyText };

    struct TextInfo {
        Text text;
        const char* property;
        const char* hostKey;
        Fallback fallback;
        const char* tableKey;        // localized fallbacks only
        const char* englishDefault;  // localized fallbacks only
        // Only a text of at least one character counts as given.
        bool nonEmptyOnly;
    };
    // Every own text, in the order update handles them.
    static const std::array<TextInfo, kTextCount>& texts();
    static const TextInfo& info(Text text);

    // The passcode screens' texts the host may set, by the screens' own
    // names (alphabetical, as update handles them).
    static const std::array<const char*, 46>& passcodeScreenKeys();
    static constexpr const char* kResetPasscodeButtonKey = "resetPasscodeButtonString";
    static constexpr const char* kResetPasscodeTableKey = "ResetPasscodeKey";
    static constexpr const char* kResetPasscodeDefault = "Reset Passcode";

    static std::optional<std::string> get(Text text);
    static void set(Text text, std::optional<std::string> value);
    // The text as set, else what update would set without the host's text.
    static std::optional<std::string> textOrDefault(Text text);
    // What update sets when the host gives no usable text.
    static std::optional<std::string> defaultText(Text text);

    // Applies a host dictionary of texts: every own text takes the host's
    // text (a string; for some, a non-empty one) or its default; a passcode
    // screen text takes the host's string, empty or not, and is otherwise
    // left alone, but for "enterCredentialsMessageString" and
    // "resetPasscodeButtonString", which fall back to their defaults. In
    // "attemptsLeftMessageFormat" and "setPasscodeMessageFormat" each "{0}"
    // becomes the screens' number placeholder "%d". Values of other kinds
    // count as not given.
    static void update(const core::Dictionary& hostTexts);
};

}  // namespace trc::onboarding
