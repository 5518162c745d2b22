// The library's English strings tables against the code that reads them:
// every key a feature looks up is in its table, the table holds no stray
// key, and where the code carries its own English default the table says
// the same, so that the two never drift apart.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "onboarding/OnboardingCustomization.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/StringsFile.h"

namespace {

using trc::foundation::Bundle;
using trc::foundation::StringsFile;
using trc::onboarding::OnboardingCustomization;

const std::filesystem::path kFramework = std::filesystem::path(TRC_SOURCE_DIR) / "resources" / "framework";

// Keys read by features whose English default lives only in the table so far.
const std::set<std::string> kOnboardingAlertKeys = {
    "InternetFailureTitleKey",  "InternetFailureMessageKey", "RestoreFailureTitleKey",
    "RestoreFailureMessageKey", "InvalidConnectionTitle",    "InvalidConnectionMessage",
};
const std::set<std::string> kFormCellKeys = {"NoneKey", "SignatureCaptured"};

class FrameworkStrings : public ::testing::Test {
protected:
    static StringsFile::Result table(const std::string& name) {
        return StringsFile::load(kFramework / "en.lproj" / (name + ".strings"));
    }
    static std::set<std::string> keysOf(const StringsFile::Result& r) {
        std::set<std::string> keys;
        for (const auto& [key, value] : r.entries) {
            keys.insert(key);
            EXPECT_FALSE(value.empty()) << key;
        }
        return keys;
    }
};

TEST_F(FrameworkStrings, OnboardingTableHasEveryKeyReadAndTheCodesDefaults) {
    const StringsFile::Result onboarding = table(OnboardingCustomization::kStringsTable);
    ASSERT_TRUE(onboarding.ok()) << onboarding.error;
    std::set<std::string> expected = kOnboardingAlertKeys;
    auto same = [&](const char* key, const char* englishDefault) {
        expected.insert(key);
        auto it = onboarding.entries.find(key);
        ASSERT_NE(it, onboarding.entries.end()) << key;
        EXPECT_EQ(it->second, englishDefault) << key;
    };
    for (const auto& text : OnboardingCustomization::texts()) {
        if (text.tableKey) same(text.tableKey, text.englishDefault);
    }
    same(OnboardingCustomization::kResetPasscodeTableKey, OnboardingCustomization::kResetPasscodeDefault);
    EXPECT_EQ(keysOf(onboarding), expected);
}

TEST_F(FrameworkStrings, FormCellTableHasItsTwoKeys) {
    const StringsFile::Result formCell = table("FormCell");
    ASSERT_TRUE(formCell.ok()) << formCell.error;
    EXPECT_EQ(keysOf(formCell), kFormCellKeys);
    EXPECT_EQ(formCell.entries.at("NoneKey"), "None");
}

TEST_F(FrameworkStrings, TheFrameworkBundleServesThemInEveryLanguageItLacks) {
    const auto original = Bundle::framework()->bundlePath();
    Bundle::setFrameworkFolder(kFramework);
    const auto bundle = Bundle::framework();
    Bundle::setFrameworkFolder(original);
    EXPECT_EQ(bundle->localizedString("okKey", "Onboarding", "fallback", {"de-CH"}), "Ok");
    EXPECT_EQ(bundle->localizedString("NetworkUnreachableKey", "Onboarding", "", {"en"}),
              "Network unavailable.  Please try again later.");
    EXPECT_EQ(bundle->localizedString("SignatureCaptured", "FormCell", "None", {"fr"}), "Signature captured");
    EXPECT_EQ(bundle->localizedString("NoSuchKey", "FormCell", "None", {"en"}), "None");
}

}  // namespace
