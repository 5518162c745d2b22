#include "services/EULAFileLocator.h"

#include <gtest/gtest.h>

#include "platform/core/internal/Logging.h"
#include "platform/foundation/AtomicFile.h"
#include "testsupport/TemporaryFolder.h"

namespace trc::services {
namespace {

class EULAFileLocatorTest : public ::testing::Test {
protected:
    foundation::TemporaryFolder folder;
    foundation::Bundle bundle{folder.path()};

    void write(const std::string& relative, const std::string& content = "terms") {
        foundation::AtomicFile::write(folder.path() / relative, content);
    }
    // The found file's name relative to the bundle, or "none".
    std::string found(const std::vector<std::string>& languages) {
        auto file = EULAFileLocator::find(bundle, languages);
        if (!file) return "none";
        return std::filesystem::relative(file->path, folder.path()).string() + (file->isHTML ? " (html)" : "");
    }
};

TEST_F(EULAFileLocatorTest, HtmlWinsOverTxtOfTheSameLanguageButNotOverABetterLanguage) {
    write("EULAText_de.txt");
    write("EULAText_fr.html");
    EXPECT_EQ(found({"de", "fr"}), "EULAText_de.txt") << "the first preferred language comes first";
    write("EULAText_de.html");
    EXPECT_EQ(found({"de", "fr"}), "EULAText_de.html (html)");
    EXPECT_EQ(found({"fr", "de"}), "EULAText_fr.html (html)");
}

TEST_F(EULAFileLocatorTest, ARegionalLanguageFallsBackToItsBaseThenToEnglish) {
    write("EULAText_en.txt");
    write("EULAText_de.txt");
    EXPECT_EQ(found({"de-CH"}), "EULAText_de.txt");
    EXPECT_EQ(found({"de_CH.UTF-8"}), "EULAText_de.txt") << "a locale name from the environment";
    write("EULAText_de_CH.txt");
    EXPECT_EQ(found({"de-CH"}), "EULAText_de_CH.txt");
    write("EULAText_de-CH.html");
    EXPECT_EQ(found({"de-CH"}), "EULAText_de-CH.html (html)");
    EXPECT_EQ(found({"ja"}), "EULAText_en.txt") << "English when no preferred language has one";
    EXPECT_EQ(found({"C"}), "EULAText_en.txt") << "a machine without a language setting";
}

TEST_F(EULAFileLocatorTest, FindsAgreementsInLanguageFoldersAndNothingElse) {
    write("EULAText.txt");
    write("EULAText_en.pdf");
    write("OtherText_en.txt");
    EXPECT_EQ(found({"en"}), "none") << "only EULAText_<language> with html or txt counts";
    write("en.lproj/EULAText_en.html");
    EXPECT_EQ(found({"en"}), "en.lproj/EULAText_en.html (html)");
    EXPECT_EQ(EULAFileLocator::find(foundation::Bundle({}), {"en"}), std::nullopt) << "an empty bundle";
}

TEST_F(EULAFileLocatorTest, ReadsTheTextAndReportsWhatCannotBeRead) {
    write("EULAText_en.html", "<p>Terms &amp; <b>conditions</b></p><p>2</p>");
    auto file = EULAFileLocator::find(bundle, {"en"});
    ASSERT_TRUE(file);
    EXPECT_EQ(EULAFileLocator::read(*file), "Terms & conditions\n\n2") << "the text, not the markup";
    write("EULAText_en.txt", "<p>plain text as written</p>");
    EXPECT_EQ(EULAFileLocator::read({folder.path() / "EULAText_en.txt", false}), "<p>plain text as written</p>");

    core::internal::Logging::clearCaptured();
    write("EULAText_en.html", "");
    EXPECT_EQ(EULAFileLocator::read(*file), std::nullopt) << "an empty agreement is no agreement";
    write("EULAText_en.html", "<html><head><title>Only a title</title></head></html>");
    EXPECT_EQ(EULAFileLocator::read(*file), std::nullopt) << "nor is one without text";
    std::filesystem::remove(file->path);
    std::filesystem::create_directory(file->path);
    EXPECT_EQ(EULAFileLocator::read(*file), std::nullopt);
    EXPECT_EQ(core::internal::Logging::captured().size(), 3u);
}

}  // namespace
}  // namespace trc::services
