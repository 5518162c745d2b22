#include <gtest/gtest.h>

#include <map>

#include "onboarding/OnboardingCustomization.h"
#include "platform/core/internal/Logging.h"
#include "platform/flows/VUIPasscodeController.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/Bundle.h"
#include "services/FreshSandboxTest.h"
#include "testsupport/TemporaryFolder.h"

using namespace trc;
using core::Value;
using flows::VUIPasscodeController;
using onboarding::OnboardingCustomization;
using Text = OnboardingCustomization::Text;

namespace {

using Texts = std::map<std::string, std::optional<std::string>>;

const Texts kDefaults = {
    {"authenticationFailedMessageString", "Authentication failed. Please try again"},
    {"eulaTitleString", "End User License Agreement"},
    {"retryButtonString", "Retry"},
    {"agreeButtonString", "Agree"},
    {"disagreeButtonString", "Disagree"},
    {"networkUnreachableString", "Network unavailable.  Please try again later."},
    {"okButtonString", "Ok"},
    {"enterCredentialsMessageString", "Please start the onboarding process again!"},
    {"maxAttemptsReachedMessageString", "No more attempts left"},
    {"onboardingFailedMessageString",
     "User onboarding has failed due to an error. Please try again or contact your administrator."},
    {"scanButtonString", std::nullopt},
    {"continueWithSameAppString", "Use current application"},
    {"scanNewQRCodeString", "Scan new QR code"},
    {"selectOptionString", "Please select an option"},
    {"userChoiceString", ""},
    {"eulaDisagreeAlertMessage", "Without consent, you will not be able to continue onboarding"},
    {"eulaDisagreeAlertQuitString", "Quit Process"},
    {"eulaDisagreeAlertConsentString", "Give Consent"},
};

class Customization : public trc::testing::FreshSandboxTest {
protected:
    static Texts own() {
        Texts out;
        for (const auto& t : OnboardingCustomization::texts()) out[t.property] = OnboardingCustomization::get(t.text);
        return out;
    }
    static Texts ownOrDefault() {
        Texts out;
        for (const auto& t : OnboardingCustomization::texts())
            out[t.property] = OnboardingCustomization::textOrDefault(t.text);
        return out;
    }
    // Every passcode screen text set to a marker, so a change shows.
    static void markScreens() {
        for (const char* key : OnboardingCustomization::passcodeScreenKeys())
            ASSERT_TRUE(VUIPasscodeController::setText(key, std::string("marked ") + key)) << key;
    }
    static std::map<std::string, std::string> changedScreens() {
        std::map<std::string, std::string> out;
        for (const char* key : OnboardingCustomization::passcodeScreenKeys()) {
            std::string now = VUIPasscodeController::text(key);
            if (now != std::string("marked ") + key) out[key] = now;
        }
        return out;
    }
    static std::size_t errors() {
        std::size_t n = 0;
        for (const auto& r : core::internal::Logging::captured()) n += r.severity == core::Severity::error;
        return n;
    }
};

TEST_F(Customization, EveryTextIsNothingBeforeTheFirstUpdateAndAfterARelaunch) {
    Texts nothing;
    for (const auto& [name, text] : kDefaults) nothing[name] = std::nullopt;
    EXPECT_EQ(own(), nothing);
    // Readers that cannot wait for the host still show the defaults.
    EXPECT_EQ(ownOrDefault(), kDefaults);

    OnboardingCustomization::update({{"okButtonString", "Done"}});
    EXPECT_EQ(OnboardingCustomization::get(Text::okButtonString), "Done");
    EXPECT_EQ(OnboardingCustomization::textOrDefault(Text::okButtonString), "Done");
    relaunch();
    EXPECT_EQ(own(), nothing);
}

TEST_F(Customization, AnEmptyDictionarySetsTheDefaultsAndLeavesMostScreenTextsAlone) {
    markScreens();
    OnboardingCustomization::update({});
    EXPECT_EQ(own(), kDefaults);
    EXPECT_EQ(changedScreens(), (std::map<std::string, std::string>{
                                    {"enterCredentialsMessageString", "Please start the onboarding process again!"},
                                    {"resetPasscodeButtonString", "Reset Passcode"}}));
}

TEST_F(Customization, TextsAreReadFromTheHostKeysAndEachUpdateSetsEveryTextAgain) {
    OnboardingCustomization::update({{"eulaRejectAlertTitleText", "No consent, no app"},
                                     {"eulaRejectAlertQuitBtnText", "Leave"},
                                     {"eulaRejectAlertConsentBtnText", "Consent"},
                                     {"networkUnreachableFailureString", "Offline"},
                                     {"eulaDisagreeAlertMessage", "ignored"},
                                     {"networkUnreachableString", "ignored"}});
    EXPECT_EQ(OnboardingCustomization::get(Text::eulaDisagreeAlertMessage), "No consent, no app");
    EXPECT_EQ(OnboardingCustomization::get(Text::eulaDisagreeAlertQuitString), "Leave");
    EXPECT_EQ(OnboardingCustomization::get(Text::eulaDisagreeAlertConsentString), "Consent");
    EXPECT_EQ(OnboardingCustomization::get(Text::networkUnreachableString), "Offline");
    OnboardingCustomization::update({{"agreeButtonString", "Yes"}});
    Texts expected = kDefaults;
    expected["agreeButtonString"] = "Yes";
    EXPECT_EQ(own(), expected);
}

TEST_F(Customization, EmptyTextsCountOnlyWhereAnEmptyTextIsAllowed) {
    markScreens();
    core::Dictionary empty;
    for (const auto& t : OnboardingCustomization::texts()) empty.set(t.hostKey, "");
    OnboardingCustomization::update(empty);
    Texts expected;
    for (const auto& t : OnboardingCustomization::texts()) expected[t.property] = "";
    // These take only a text of at least one character.
    expected["selectOptionString"] = "Please select an option";
    expected["continueWithSameAppString"] = "Use current application";
    expected["scanNewQRCodeString"] = "Scan new QR code";
    expected["scanButtonString"] = std::nullopt;
    EXPECT_EQ(own(), expected);
    // The shared texts reach the screens empty too; the reset button was not given.
    EXPECT_EQ(changedScreens(), (std::map<std::string, std::string>{{"enterCredentialsMessageString", ""},
                                                                    {"maxAttemptsReachedMessageString", ""},
                                                                    {"okButtonString", ""},
                                                                    {"resetPasscodeButtonString", "Reset Passcode"},
                                                                    {"retryButtonString", ""}}));
}

TEST_F(Customization, ValuesOfOtherKindsCountAsNotGiven) {
    for (const Value& v : {Value(7), Value(true), Value::null(), Value(core::Array{"Ok"})}) {
        markScreens();
        core::Dictionary hostTexts;
        for (const auto& t : OnboardingCustomization::texts()) hostTexts.set(t.hostKey, v);
        for (const char* key : OnboardingCustomization::passcodeScreenKeys()) hostTexts.set(key, v);
        OnboardingCustomization::update(hostTexts);
        EXPECT_EQ(own(), kDefaults) << v.description();
        EXPECT_EQ(changedScreens().size(), 2u) << v.description();
    }
}

TEST_F(Customization, GivenScreenTextsReachThePasscodeScreens) {
    markScreens();
    core::Dictionary hostTexts;
    for (const char* key : OnboardingCustomization::passcodeScreenKeys()) hostTexts.set(key, std::string("new ") + key);
    OnboardingCustomization::update(hostTexts);
    auto changed = changedScreens();
    EXPECT_EQ(changed.size(), OnboardingCustomization::passcodeScreenKeys().size());
    for (const auto& [key, text] : changed) EXPECT_EQ(text, "new " + key);
    EXPECT_EQ(OnboardingCustomization::get(Text::okButtonString), "new okButtonString");
    EXPECT_EQ(OnboardingCustomization::get(Text::retryButtonString), "new retryButtonString");
    EXPECT_EQ(OnboardingCustomization::get(Text::enterCredentialsMessageString), "new enterCredentialsMessageString");
    EXPECT_EQ(OnboardingCustomization::get(Text::maxAttemptsReachedMessageString),
              "new maxAttemptsReachedMessageString");
    EXPECT_EQ(errors(), 0u);

    // Without them again, the screens keep what they were given but for two.
    OnboardingCustomization::update({});
    EXPECT_EQ(VUIPasscodeController::text("okButtonString"), "new okButtonString");
    EXPECT_EQ(VUIPasscodeController::text("enterCredentialsMessageString"),
              "Please start the onboarding process again!");
    EXPECT_EQ(VUIPasscodeController::text("resetPasscodeButtonString"), "Reset Passcode");
    EXPECT_EQ(OnboardingCustomization::get(Text::okButtonString), "Ok");
}

TEST_F(Customization, NumberPlaceholdersOfTwoFormatsBecomeTheScreensOwn) {
    const std::string text = "{0} tries, {0} left {0";
    OnboardingCustomization::update({{"attemptsLeftMessageFormat", text},
                                     {"setPasscodeMessageFormat", "{{0}}"},
                                     {"oneAttempLeftMessageFormat", text}});
    EXPECT_EQ(VUIPasscodeController::text("attemptsLeftMessageFormat"), "%d tries, %d left {0");
    EXPECT_EQ(VUIPasscodeController::text("setPasscodeMessageFormat"), "{%d}");
    EXPECT_EQ(VUIPasscodeController::text("oneAttempLeftMessageFormat"), text);
    // What else the host wrote is shown as it stands, never read as a format.
    OnboardingCustomization::update({{"attemptsLeftMessageFormat", "50% %s %n %@ {0}"}});
    EXPECT_EQ(VUIPasscodeController::formatted(VUIPasscodeController::text("attemptsLeftMessageFormat"), 3),
              "50% %s %n %@ 3");
    // The screens' own placeholder, written by the host, is the host's text too.
    OnboardingCustomization::update({{"setPasscodeMessageFormat", "At least {0} digits, not %d (100%)"},
                                     {"attemptsLeftMessageFormat", "%%d %{0} {0}%"}});
    EXPECT_EQ(VUIPasscodeController::formatted(VUIPasscodeController::text("setPasscodeMessageFormat"), 8),
              "At least 8 digits, not %d (100%)");
    EXPECT_EQ(VUIPasscodeController::formatted(VUIPasscodeController::text("attemptsLeftMessageFormat"), 2),
              "%%d %2 2%");
}

class CustomizationLocalized : public Customization {
protected:
    void SetUp() override {
        Customization::SetUp();
        original = foundation::Bundle::framework()->bundlePath();
        foundation::AtomicFile::write(folder.path() / "de.lproj" / "Onboarding.strings",
                                      "/* German */\n\"okKey\" = \"OK (de)\";\n"
                                      "\"ResetPasscodeKey\" = \"Code zur\\U00fccksetzen\";\n"
                                      "\"SelectOptionKey\" = \"Bitte w\\U00e4hlen\";\n");
        foundation::Bundle::setFrameworkFolder(folder.path());
        foundation::Bundle::setPreferredLanguages({"de-CH"});
    }
    void TearDown() override {
        foundation::Bundle::setFrameworkFolder(original);
        foundation::Bundle::setPreferredLanguages({});
        Customization::TearDown();
    }
    foundation::TemporaryFolder folder;
    std::filesystem::path original;
};

TEST_F(CustomizationLocalized, DefaultsComeFromTheOnboardingTableOfTheLibrarysBundle) {
    OnboardingCustomization::update({{"selectOptionString", ""}});
    EXPECT_EQ(OnboardingCustomization::get(Text::okButtonString), "OK (de)");
    EXPECT_EQ(OnboardingCustomization::get(Text::selectOptionString), "Bitte w\u00e4hlen");
    EXPECT_EQ(OnboardingCustomization::get(Text::retryButtonString), "Retry");  // not in the table
    EXPECT_EQ(VUIPasscodeController::text("resetPasscodeButtonString"), "Code zur\u00fccksetzen");
    EXPECT_EQ(OnboardingCustomization::textOrDefault(Text::agreeButtonString), "Agree");
}

}  // namespace
