#include "platform/vessa/VUISignatureCaptureController.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/vessa/NUISettings.h"
#include "testsupport/ProcessStateReset.h"

namespace trc::vessa {
namespace {

class PadDelegate : public VUISignatureCaptureControllerDelegate {
public:
    std::vector<std::shared_ptr<ui::UIImage>> finished;
    int cancelled = 0;
    bool timestamp = false;
    std::shared_ptr<foundation::DateFormatter> formatter;

    void didFinishSigning(VUISignatureCaptureController&, const std::shared_ptr<ui::UIImage>& image) override {
        finished.push_back(image);
    }
    void didCancelSignatureCaptureController(VUISignatureCaptureController&) override { ++cancelled; }
    bool addsTimestampInImage() const override { return timestamp; }
    std::shared_ptr<foundation::DateFormatter> timestampFormatter() const override { return formatter; }
    std::optional<VUIMultiLineText> footnoteText() const override { return VUIMultiLineText{"Note", 3}; }
};

class SignaturePad : public ::testing::Test {
protected:
    void SetUp() override {
        core::ProcessStateReset::resetAll();
        pad->setDelegate(delegate);
    }
    void TearDown() override { core::ProcessStateReset::resetAll(); }

    std::shared_ptr<VUISignatureCaptureController> pad = VUISignatureCaptureController::createInstance();
    std::shared_ptr<PadDelegate> delegate = std::make_shared<PadDelegate>();
};

TEST_F(SignaturePad, StrokesArePaintedOverTheBackgroundInTheStrokeColourAndWidth) {
    auto surface = pad->signatureCaptureView();
    surface->strokeColor = ui::UIColor{0, 0, 1, 1};
    surface->strokeWidth = 4;
    surface->backgroundColor = ui::UIColor{1, 1, 0, 1};
    EXPECT_FALSE(pad->finish()) << "nothing drawn yet";
    pad->draw({{{10, 20}, {60, 20}}, {}, {{100, 100}}, {{NAN, 1}, {1e300, -1e300}}});
    EXPECT_EQ(surface->strokes().size(), 3u) << "empty strokes and points that are no numbers are dropped";
    ASSERT_TRUE(pad->finish());
    ASSERT_EQ(delegate->finished.size(), 1u);
    const auto& image = *delegate->finished[0];
    EXPECT_EQ(image.width(), 320u);
    EXPECT_EQ(image.height(), 160u);
    EXPECT_EQ(image.pixelAt(35, 20), 0x0000FFFFu) << "on the stroke";
    EXPECT_EQ(image.pixelAt(35, 23), 0xFFFF00FFu) << "beyond half the width";
    EXPECT_EQ(image.pixelAt(100, 100), 0x0000FFFFu) << "a dot";
    EXPECT_EQ(image.pixelAt(5, 150), 0xFFFF00FFu);
}

TEST_F(SignaturePad, TheImageCarriesWhatTheDelegateAsksFor) {
    pad->draw({{{1, 1}}});
    pad->finish();
    EXPECT_FALSE(pad->imageTimestampText()) << "no time stamp unless asked";
    EXPECT_EQ(pad->imageFootnote()->text, "Note");

    VUISignatureCaptureController::now = [] { return core::Date{0}; };
    delegate->timestamp = true;
    delegate->formatter = std::make_shared<foundation::DateFormatter>();
    delegate->formatter->setDateFormat("yyyy-MM-dd");
    pad->finish();
    EXPECT_EQ(pad->imageTimestampText(), std::optional<std::string>("1970-01-01"));
    delegate->formatter->setDateFormat("");
    pad->finish();
    EXPECT_EQ(pad->imageTimestampText(), std::optional<std::string>("")) << "a new formatter's default writes nothing";

    pad->signatureCaptureView()->setFrame(ui::CGRect(0, 0, 0, 50));
    pad->finish();
    EXPECT_TRUE(delegate->finished.back()->pixels().empty()) << "a pad of no size paints no image";
    pad->cancel();
    EXPECT_EQ(delegate->cancelled, 1);
}

TEST(Stylesheet, ReadsColoursAndNumbersOnlyWhereTheClassDefinesThem) {
    core::ProcessStateReset::resetAll();
    NUISettings::setProperty("pad", "stroke", "#102030");
    NUISettings::setProperty("pad", "stroke-width", "2.5");
    NUISettings::setProperty("pad", "background-color", "blue");
    NUISettings::setProperty("pad", "width", "2.5pt");
    EXPECT_EQ(NUISettings::getColor("stroke", "pad")->hexString(), "#102030");
    EXPECT_EQ(NUISettings::getFloat("stroke-width", "pad"), std::optional<double>(2.5));
    EXPECT_FALSE(NUISettings::getColor("background-color", "pad"));
    EXPECT_FALSE(NUISettings::getFloat("width", "pad"));
    EXPECT_FALSE(NUISettings::getColor("stroke", "other"));
    core::ProcessStateReset::resetAll();
    EXPECT_FALSE(NUISettings::get("stroke", "pad")) << "a fresh process has an empty stylesheet";
}

}  // namespace
}  // namespace trc::vessa
