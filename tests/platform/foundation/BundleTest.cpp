#include "platform/foundation/Bundle.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/core/internal/Logging.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/StringsFile.h"
#include "testsupport/ProcessStateReset.h"
#include "testsupport/TemporaryFolder.h"

namespace trc::foundation {
namespace {

namespace fs = std::filesystem;

std::string entries(const StringsFile::Result& r) {
    std::string out;
    for (const auto& [k, v] : r.entries) out += "[" + k + "=" + v + "]";
    return out;
}

TEST(StringsFile, ReadsEntriesBetweenCommentsWithEscapes) {
    auto r = StringsFile::parse(R"(/* Title of the
   agreement screen */
"EULATitleKey" = "End User License Agreement";
// a line comment "ignored" = "x";
"quote" = "say \"hi\"\tand\\ \'go\'\n";  "next"="on the same line";
"unicode" = "\U00e9\u20AC \ud83d\ude00 \101";
unquoted_key = plain.value;
"selfKey";
"dup" = "first"; "dup" = "second";
)");
    EXPECT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(entries(r),
              "[EULATitleKey=End User License Agreement][dup=second][next=on the same line]"
              "[quote=say \"hi\"\tand\\ 'go'\n][selfKey=selfKey][unicode=\xC3\xA9\xE2\x82\xAC \xF0\x9F\x98\x80 A]"
              "[unquoted_key=plain.value]");
}

TEST(StringsFile, ErrorsNameTheLineAndKeepWhatCameBefore) {
    auto missingSemicolon = StringsFile::parse("\"a\" = \"1\";\n\"b\" = \"2\"\n\"c\" = \"3\";");
    EXPECT_EQ(missingSemicolon.error, "line 3: expected \";\" after the value, found \"\"\"");
    EXPECT_EQ(entries(missingSemicolon), "[a=1]");

    EXPECT_EQ(StringsFile::parse("\"a\" = \"1\";\n/* open").error, "line 2: a comment that is never closed");
    EXPECT_EQ(StringsFile::parse("\n\"a\" = \"never closed;").error, "line 2: a quoted text that is never closed");
    EXPECT_EQ(StringsFile::parse("\"a\" = ;").error, "line 1: expected a value, found \";\"");
    EXPECT_EQ(StringsFile::parse("\"a\" \"b\";").error, "line 1: expected \"=\" or \";\" after the key, found \"\"\"");
    EXPECT_EQ(StringsFile::parse("\"a\" = \"\xC3\x28\";").error,
              "the text is neither UTF-8 nor UTF-16 with a byte-order mark");
    EXPECT_TRUE(StringsFile::parse("").ok());
    EXPECT_TRUE(StringsFile::parse("  /* only */ // comments").ok());
}

TEST(StringsFile, ReadsUtf16WithAByteOrderMarkAndSkipsAUtf8One) {
    std::string le("\xFF\xFE", 2);
    for (char c : std::string("\"k\" = \"v\";")) le += std::string{c, '\0'};
    EXPECT_EQ(entries(StringsFile::parse(le)), "[k=v]");
    EXPECT_EQ(entries(StringsFile::parse("\xEF\xBB\xBF\"k\" = \"v\";")), "[k=v]");
    EXPECT_EQ(StringsFile::parse("\xEF\xBB\xBF\"k\" = \"\x9c\";").error,
              "the text is neither UTF-8 nor UTF-16 with a byte-order mark")
        << "a byte-order mark does not let bytes that are not UTF-8 through";
    EXPECT_FALSE(StringsFile::parse(std::string("\xFE\xFF\x00", 3)).ok());
}

class BundleTest : public ::testing::Test {
protected:
    TemporaryFolder folder;
    Bundle bundle{folder.path()};

    void write(const std::string& relative, const std::string& content) {
        AtomicFile::write(folder.path() / relative, content);
    }
};

TEST_F(BundleTest, FindsResourcesAtTheTopThenInTheBestLocalization) {
    write("EULAText_en.txt", "terms");
    write("EULAText_de.html", "<p>AGB</p>");
    write("de.lproj/Logo.png", "de");
    write("en.lproj/Logo.png", "en");
    write("images/BlurredScreen.png", "png");
    EXPECT_EQ(bundle.pathForResource("EULAText_en", "txt"), folder.path() / "EULAText_en.txt");
    EXPECT_EQ(bundle.pathForResource("EULAText_en", ".txt"), folder.path() / "EULAText_en.txt");
    EXPECT_EQ(bundle.pathForResource("EULAText_en.txt", ""), folder.path() / "EULAText_en.txt");
    EXPECT_EQ(bundle.pathForResource("EULAText_en", "html"), std::nullopt);
    EXPECT_EQ(bundle.pathForResource("BlurredScreen", "png", "images"), folder.path() / "images/BlurredScreen.png");
    Bundle::setPreferredLanguages({"de-AT"});
    EXPECT_EQ(bundle.pathForResource("Logo", "png"), folder.path() / "de.lproj/Logo.png");
    Bundle::setPreferredLanguages({"fr"});
    EXPECT_EQ(bundle.pathForResource("Logo", "png"), folder.path() / "en.lproj/Logo.png");
    Bundle::setPreferredLanguages({});
    EXPECT_EQ(bundle.pathsForResources("txt"), std::vector<fs::path>{folder.path() / "EULAText_en.txt"});
    EXPECT_EQ(bundle.pathsForResources("").size(), 2u);
    EXPECT_EQ(bundle.localizations(), (std::vector<std::string>{"de", "en"}));
}

TEST_F(BundleTest, NamesCannotReachOutsideTheBundle) {
    AtomicFile::write(folder.path().parent_path() / (folder.path().filename().string() + "-outside.txt"), "x");
    const std::string outside = "../" + folder.path().filename().string() + "-outside";
    EXPECT_EQ(bundle.pathForResource(outside, "txt"), std::nullopt);
    EXPECT_EQ(bundle.pathForResource("passwd", "", "/etc"), std::nullopt);
    EXPECT_TRUE(bundle.pathsForResources("txt", "..").empty());
    fs::remove(folder.path().parent_path() / (folder.path().filename().string() + "-outside.txt"));
}

TEST_F(BundleTest, InfoDictionaryIsJsonAndAMalformedOneIsEmpty) {
    write("Info.plist", R"({"CFBundleURLTypes": [{"CFBundleURLSchemes": ["trcapp"]}]})");
    const core::Value* types = bundle.infoDictionary().find("CFBundleURLTypes");
    ASSERT_NE(types, nullptr);
    EXPECT_EQ(*types->ifArray()->at(0).find("CFBundleURLSchemes"), core::Value(core::Array{"trcapp"}));

    TemporaryFolder other;
    AtomicFile::write(other.path() / "Info.plist", "<plist>");
    EXPECT_TRUE(Bundle(other.path()).infoDictionary().empty());
    EXPECT_TRUE(Bundle(fs::path()).infoDictionary().empty());
}

TEST_F(BundleTest, LocalizedStringsFallBackFromRegionToLanguageToEnglishToTheDefault) {
    write("de.lproj/Onboarding.strings", "\"okKey\" = \"OK (de)\";\n\"RetryKey\" = \"Wiederholen\";");
    write("de_CH.lproj/Onboarding.strings", "\"okKey\" = \"OK (CH)\";");
    write("en.lproj/Onboarding.strings", "\"okKey\" = \"OK\";\n\"AgreeKey\" = \"Agree\";");
    write("en.lproj/Localizable.strings", "\"plain\" = \"from the default table\";");
    write("fr.lproj/Onboarding.strings", "\"okKey\" = ");  // malformed: nothing from it
    EXPECT_EQ(bundle.localizedString("okKey", "Onboarding", "Ok", {"de-CH"}), "OK (CH)");
    EXPECT_EQ(bundle.localizedString("RetryKey", "Onboarding", "Retry", {"de-CH"}), "Wiederholen");
    EXPECT_EQ(bundle.localizedString("AgreeKey", "Onboarding", "I agree", {"de-CH"}), "Agree");
    EXPECT_EQ(bundle.localizedString("okKey", "Onboarding", "Ok", {"fr"}), "OK");
    EXPECT_EQ(bundle.localizedString("okKey", "Onboarding", "Ok", {"it", "de_DE.UTF-8"}), "OK (de)");
    EXPECT_EQ(bundle.localizedString("MissingKey", "Onboarding", "Default text", {"de"}), "Default text");
    EXPECT_EQ(bundle.localizedString("MissingKey", "Onboarding", "", {"de"}), "MissingKey");
    EXPECT_EQ(bundle.localizedString("okKey", "NoSuchTable", "Ok", {"de"}), "Ok");
    EXPECT_EQ(bundle.localizedString("plain", "", "", {"en"}), "from the default table");
    EXPECT_EQ(Bundle(fs::path()).localizedString("okKey", "Onboarding", "Ok", {"de"}), "Ok");
}

TEST_F(BundleTest, LocalizationsAndTablesAreReadOnceUntilTheProcessStateResets) {
    write("en.lproj/FormCell.strings", "\"NoneKey\" = \"None\";");
    Bundle::setPreferredLanguages({"de"});
    EXPECT_EQ(bundle.localizedString("NoneKey", "FormCell", "-"), "None");
    write("de.lproj/FormCell.strings", "\"NoneKey\" = \"Keine\";");
    write("en.lproj/FormCell.strings", "\"NoneKey\" = \"Nothing\";");
    EXPECT_EQ(bundle.localizedString("NoneKey", "FormCell", "-"), "None") << "what was read is kept";

    core::ProcessStateReset::resetAll();
    EXPECT_EQ(bundle.localizedString("NoneKey", "FormCell", "-"), "Keine");
    Bundle::setPreferredLanguages({"fr"});
    EXPECT_EQ(bundle.localizedString("NoneKey", "FormCell", "-"), "Nothing") << "other languages count at once";
    Bundle::setPreferredLanguages({});
}

TEST(BundleGlobals, MainIsEmptyUntilSetAndTheFrameworkBundleIsAFolder) {
    EXPECT_EQ(Bundle::main()->pathForResource("Info", "plist"), std::nullopt);
    TemporaryFolder folder;
    AtomicFile::write(folder.path() / "EULAText_en.txt", "terms");
    Bundle::setMain(folder.path());
    EXPECT_EQ(Bundle::main()->pathForResource("EULAText_en", "txt"), folder.path() / "EULAText_en.txt");
    Bundle::setMain({});
    EXPECT_EQ(Bundle::main()->bundlePath(), fs::path());
    EXPECT_FALSE(Bundle::framework()->bundlePath().empty());
}

// The library's bundle travels with it: an application finds it under
// share/trc/framework of its own folder or the folder above (an installed
// <prefix>/bin/app and <prefix>/share/trc/framework), the environment may
// name another folder, and nothing of the machine that built it is needed.
TEST(FrameworkBundle, IsFoundBesideTheProgramOrOneFolderAbove) {
    TemporaryFolder prefix;
    const fs::path bundle = prefix.path() / "share" / "trc" / "framework";
    fs::create_directories(bundle / "en.lproj");
    fs::create_directories(prefix.path() / "bin");
    EXPECT_EQ(Bundle::frameworkFolderNear(prefix.path() / "bin" / "app"), bundle);
    EXPECT_EQ(Bundle::frameworkFolderNear(prefix.path() / "app"), bundle);
    EXPECT_EQ(Bundle::frameworkFolderNear(prefix.path() / "bin" / "tools" / "app"), fs::path());
    EXPECT_EQ(Bundle::frameworkFolderNear(fs::path()), fs::path());
}

TEST(FrameworkBundle, TheEnvironmentNamesAnotherFolder) {
    TemporaryFolder elsewhere;
    const char* before = std::getenv(Bundle::kFrameworkFolderVariable);
    const std::string saved = before ? before : "";
    ::setenv(Bundle::kFrameworkFolderVariable, elsewhere.path().c_str(), 1);
    EXPECT_EQ(Bundle::locateFrameworkFolder(), elsewhere.path());
    ::setenv(Bundle::kFrameworkFolderVariable, "", 1);
    EXPECT_EQ(Bundle::locateFrameworkFolder(), Bundle::frameworkFolderNear(fs::read_symlink("/proc/self/exe")));
    if (before) {
        ::setenv(Bundle::kFrameworkFolderVariable, saved.c_str(), 1);
    } else {
        ::unsetenv(Bundle::kFrameworkFolderVariable);
    }
}

// Without the library's strings tables its texts fall back to English, and
// one "warn" line says so, naming where the tables were looked for.
TEST(FrameworkBundle, MissingStringsTablesAreSaidOnceNamingTheFolder) {
    const fs::path original = Bundle::framework()->bundlePath();
    auto warnings = [] {
        std::vector<std::string> out;
        for (const core::internal::LogRecord& r : core::internal::Logging::captured()) {
            if (r.severity == core::Severity::warn) out.push_back(r.message);
        }
        return out;
    };
    TemporaryFolder empty;
    core::internal::Logging::clearCaptured();
    Bundle::setFrameworkFolder(empty.path());
    EXPECT_EQ(Bundle::framework()->localizedString("NoneKey", "FormCell", "None"), "None");
    EXPECT_EQ(Bundle::framework()->localizedString("NoneKey", "FormCell", "None"), "None");
    const std::vector<std::string> said = warnings();
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find(empty.path().string()), std::string::npos) << said[0];

    Bundle::setFrameworkFolder(original);
    core::internal::Logging::clearCaptured();
    EXPECT_EQ(Bundle::framework()->localizedString("NoneKey", "FormCell", "", {"en"}), "None");
    EXPECT_TRUE(warnings().empty()) << "a bundle with its tables says nothing";
}

TEST(FrameworkBundle, AProgramOfTheBuildTreeFindsItWithoutInstalling) {
    const fs::path found = Bundle::locateFrameworkFolder();
    ASSERT_FALSE(found.empty());
    EXPECT_TRUE(fs::is_regular_file(found / "en.lproj" / "FormCell.strings")) << found;
    EXPECT_EQ(Bundle(found).localizedString("NoneKey", "FormCell", "", {"en"}), "None");
}

}  // namespace
}  // namespace trc::foundation
