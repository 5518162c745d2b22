#include "platform/vessa/VUISignatureImageRenderer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/core/internal/Logging.h"
#include "platform/ui/FontFile.h"
#include "platform/ui/ImageDecoder.h"
#include "platform/ui/ImageEncoder.h"

namespace trc::vessa {
namespace {

using R = VUISignatureImageRenderer;
using Footnote = R::Footnote;
using Alignment = ui::UILabel::Alignment;

constexpr std::uint32_t kWidth = 320;
constexpr std::uint32_t kHeight = 160;
// The strokes every image here carries: one line across the top quarter.
const std::vector<R::Stroke> kStrokes{{{20, 20}, {300, 30}}};

// What the image would show a person, read back from its PNG.
struct Picture {
    ui::ImageDecoder::Pixels pixels;

    bool inked(std::uint32_t x, std::uint32_t y) const {
        const std::uint8_t* p = &pixels.rgba[(std::size_t{y} * pixels.width + x) * 4];
        return p[0] != 0xFF || p[1] != 0xFF || p[2] != 0xFF || p[3] != 0xFF;
    }
    // The inked pixels inside [x0, x1) x [y0, y1).
    int ink(std::uint32_t x0, std::uint32_t y0, std::uint32_t x1, std::uint32_t y1) const {
        int n = 0;
        for (std::uint32_t y = y0; y < y1; ++y) {
            for (std::uint32_t x = x0; x < x1; ++x) n += inked(x, y) ? 1 : 0;
        }
        return n;
    }
    // The topmost inked row at or below y0, or the height when there is none.
    std::uint32_t firstInkedRowFrom(std::uint32_t y0) const {
        for (std::uint32_t y = y0; y < pixels.height; ++y) {
            if (ink(0, y, pixels.width, y + 1) > 0) return y;
        }
        return pixels.height;
    }
    // The mean column of the ink in the footnote area.
    double inkCentre() const {
        double sum = 0;
        int n = 0;
        for (std::uint32_t y = kHeight / 2; y < pixels.height; ++y) {
            for (std::uint32_t x = 0; x < pixels.width; ++x) {
                if (inked(x, y)) {
                    sum += x;
                    ++n;
                }
            }
        }
        return n ? sum / n : -1;
    }
};

Picture draw(const Footnote& footnote, const std::optional<std::string>& fontPath = ui::FontFile::sansSerif(),
             std::uint32_t height = kHeight) {
    auto image = R::render(kWidth, height, ui::UIColor::white(), kStrokes, ui::UIColor::black(), 3, footnote, fontPath);
    auto png = ui::ImageEncoder::pngData(*image);
    EXPECT_TRUE(png);
    std::string error;
    auto pixels = png ? ui::ImageDecoder::decodePNG(*png, error) : std::nullopt;
    EXPECT_TRUE(pixels) << error;
    return Picture{pixels ? *pixels : ui::ImageDecoder::Pixels{}};
}

class SignatureImage : public ::testing::Test {
protected:
    void SetUp() override {
        core::internal::Logging::clearCaptured();
        ASSERT_TRUE(ui::FontFile::sansSerif()) << "the setup script installs a font (fonts-dejavu-core)";
    }
    static bool warned(const std::string& part) {
        for (const auto& r : core::internal::Logging::captured()) {
            if (r.severity == core::Severity::warn && r.message.find(part) != std::string::npos) return true;
        }
        return false;
    }
};

// The footnote area: below the strokes, the bottom half of the image.
constexpr std::uint32_t kFootnoteTop = kHeight / 2;

TEST_F(SignatureImage, TheFootnoteAreaIsDrawnOnlyWithAFootnoteOrATimeStamp) {
    struct Case {
        const char* what;
        Footnote footnote;
        bool inked;
    };
    const std::vector<Case> cases{
        {"nothing", {}, false},
        {"an empty footnote and time stamp", {VUIMultiLineText{"", 5}, std::string(), std::nullopt}, false},
        {"a footnote", {VUIMultiLineText{"Approved", 5}, std::nullopt, std::nullopt}, true},
        {"a time stamp", {std::nullopt, std::string("2026-01-31 10:00"), std::nullopt}, true},
        {"both", {VUIMultiLineText{"Approved", 5}, std::string("2026-01-31 10:00"), std::nullopt}, true},
    };
    for (const auto& c : cases) {
        const Picture picture = draw(c.footnote);
        ASSERT_EQ(picture.pixels.width, kWidth) << c.what;
        ASSERT_EQ(picture.pixels.height, kHeight) << c.what;
        EXPECT_GT(picture.ink(0, 0, kWidth, kFootnoteTop), 500) << c.what << ": the strokes";
        EXPECT_EQ(picture.ink(0, kFootnoteTop, kWidth, kHeight) > 0, c.inked) << c.what;
        EXPECT_EQ(picture.ink(0, kHeight - static_cast<std::uint32_t>(R::kMargin) / 2, kWidth, kHeight), 0)
            << c.what << ": the bottom margin stays free";
    }
    EXPECT_FALSE(warned("font"));
}

TEST_F(SignatureImage, TheFootnoteTakesItsLinesAboveTheTimeStampAndNoMore) {
    const std::string longText =
        "Signed on behalf of the customer after the inspection of every part that was "
        "delivered to the site on the morning of the thirty-first";
    const auto top = [&](int lines, bool stamped) {
        return draw({VUIMultiLineText{longText, lines}, stamped ? std::optional<std::string>("2026") : std::nullopt,
                     std::nullopt})
            .firstInkedRowFrom(kFootnoteTop);
    };
    const std::uint32_t one = top(1, false), two = top(2, false), twoStamped = top(2, true);
    EXPECT_LT(two, one) << "a second line starts higher";
    EXPECT_NEAR(static_cast<double>(one - two), R::kLineHeight, 1);
    EXPECT_NEAR(static_cast<double>(two - twoStamped), R::kLineHeight, 1) << "the time stamp has a line of its own";
    EXPECT_EQ(top(0, false), top(20, false)) << "no limit: the text takes the lines it needs";
    EXPECT_LT(top(0, false), two);
}

TEST_F(SignatureImage, TextThatDoesNotFitIsCutToTheImage) {
    std::string many;
    for (int i = 0; i < 60; ++i) many += "line\n";
    const Picture low =
        draw({VUIMultiLineText{many, 0}, std::string("2026"), std::nullopt}, ui::FontFile::sansSerif(), 40);
    EXPECT_EQ(low.pixels.height, 40u);
    EXPECT_GT(low.ink(0, 0, kWidth, 40), 0);

    const std::string word(400, 'W');
    const Picture wide = draw({VUIMultiLineText{word, 2}, std::nullopt, std::nullopt});
    EXPECT_GT(wide.ink(0, kFootnoteTop, kWidth, kHeight), 0);
    EXPECT_EQ(wide.ink(kWidth - static_cast<std::uint32_t>(R::kMargin) / 2, kFootnoteTop, kWidth, kHeight), 0)
        << "a word wider than the image is broken, never drawn past the margin";
}

TEST_F(SignatureImage, AlignmentPlacesTheLines) {
    const auto centre = [&](std::optional<Alignment> alignment) {
        return draw({VUIMultiLineText{"Approved", 1}, std::nullopt, alignment}).inkCentre();
    };
    const double natural = centre(std::nullopt), left = centre(Alignment::Left), middle = centre(Alignment::Center),
                 right = centre(Alignment::Right);
    EXPECT_EQ(natural, left);
    EXPECT_NEAR(middle, kWidth / 2.0, 4);
    EXPECT_LT(left, middle);
    EXPECT_GT(right, middle);
}

TEST_F(SignatureImage, TextThatIsNoUTF8StillDraws) {
    const Picture picture =
        draw({VUIMultiLineText{"Caf\xC3\xA9 \xFF\xFE broken \xE2\x82", 3}, std::string("\x80\x80"), std::nullopt});
    EXPECT_GT(picture.ink(0, kFootnoteTop, kWidth, kHeight), 0);
    EXPECT_GT(picture.ink(0, 0, kWidth, kFootnoteTop), 500);
}

TEST_F(SignatureImage, WithoutAFontTheStrokesAreDrawnAndAWarningSaysWhy) {
    const std::filesystem::path junk = std::filesystem::temp_directory_path() / "trc-signature-not-a-font.ttf";
    std::ofstream(junk) << "this is no font";
    for (const std::optional<std::string>& font :
         {std::optional<std::string>(), std::optional<std::string>("/nonexistent/font.ttf"),
          std::optional<std::string>(junk.string())}) {
        core::internal::Logging::clearCaptured();
        const Picture picture = draw({VUIMultiLineText{"Approved", 5}, std::string("2026"), std::nullopt}, font);
        EXPECT_GT(picture.ink(0, 0, kWidth, kFootnoteTop), 500) << font.value_or("none");
        EXPECT_EQ(picture.ink(0, kFootnoteTop, kWidth, kHeight), 0) << font.value_or("none");
        EXPECT_TRUE(warned("no font")) << font.value_or("none");
    }
    std::filesystem::remove(junk);
}

TEST_F(SignatureImage, AnImageOfNoSizeOrBeyondAnyScreenHasNoPixels) {
    for (auto [w, h] : {std::pair<std::uint32_t, std::uint32_t>{0, 10}, {10, 0}, {9000, 10}}) {
        auto image = R::render(w, h, ui::UIColor::white(), kStrokes, ui::UIColor::black(), 3, {}, std::nullopt);
        EXPECT_TRUE(image->pixels().empty());
        EXPECT_FALSE(ui::ImageEncoder::pngData(*image));
    }
}

}  // namespace
}  // namespace trc::vessa
