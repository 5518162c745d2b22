#include "platform/ui/ImageEncoder.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/ui/ImageDecoder.h"
#include "platform/ui/PHImageManager.h"

namespace trc::ui {
namespace {

// A 6 x 4 picture: left half red, right half translucent blue.
std::shared_ptr<UIImage> picture() {
    std::vector<std::uint8_t> px;
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) {
            if (x < 3) {
                px.insert(px.end(), {250, 0, 0, 255});
            } else {
                px.insert(px.end(), {0, 0, 240, 128});
            }
        }
    }
    return UIImage::fromPixels("p", 6, 4, px);
}

TEST(ImageEncoding, PNGKeepsEveryPixelAndJPEGKeepsTheColoursRoughly) {
    auto image = picture();
    std::string error;
    auto png = ImageEncoder::pngData(*image);
    ASSERT_TRUE(png);
    auto back = ImageDecoder::decodePNG(*png, error);
    ASSERT_TRUE(back) << error;
    EXPECT_EQ(back->rgba, image->pixels());

    auto jpeg = ImageEncoder::jpegData(*image, 0.7);
    ASSERT_TRUE(jpeg);
    auto seen = ImageDecoder::decodeJPEG(*jpeg, error);
    ASSERT_TRUE(seen) << error;
    ASSERT_EQ(seen->width, 6u);
    EXPECT_GT(seen->rgba[0], 200) << "red stays red";
    EXPECT_LT(std::abs(seen->rgba[(5 * 4) + 2] - 240), 40) << "blue stays blue, alpha dropped";
    EXPECT_EQ(seen->rgba[3], 255);
    EXPECT_EQ(ImageEncoder::jpegData(*image, 7.0), ImageEncoder::jpegData(*image, 1.0)) << "quality is capped";
}

TEST(ImageEncoding, AnImageWithoutPixelsHasNoRepresentation) {
    UIImage symbol("signature");
    EXPECT_FALSE(ImageEncoder::pngData(symbol));
    EXPECT_FALSE(ImageEncoder::jpegData(symbol, 0.7));
}

TEST(ImageEncoding, PicturesScaleDownToFitOrFillNeverUp) {
    auto wide = UIImage::fromPixels("w", 200, 100, std::vector<std::uint8_t>(200 * 100 * 4, 9));
    auto fit = PHImageManager::scaled(*wide, {80, 80}, UIViewContentMode::ScaleAspectFit);
    EXPECT_EQ(std::make_pair(fit->width(), fit->height()), std::make_pair(80u, 40u));
    auto fill = PHImageManager::scaled(*wide, {80, 80}, UIViewContentMode::ScaleAspectFill);
    EXPECT_EQ(std::make_pair(fill->width(), fill->height()), std::make_pair(80u, 80u));
    auto small = PHImageManager::scaled(*picture(), {80, 80}, UIViewContentMode::ScaleAspectFit);
    EXPECT_EQ(small->width(), 6u);
    EXPECT_FALSE(PHImageManager::scaled(*wide, {0, 80}, UIViewContentMode::ScaleAspectFit));
}

}  // namespace
}  // namespace trc::ui
