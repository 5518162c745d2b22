#include "platform/ui/UIImage.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdlib>

#include "platform/foundation/TemporaryFolder.h"
#include "platform/ui/ImageDecoder.h"
#include "platform/ui/ImageFiles.h"

namespace trc::ui {
namespace {

using testing::Bytes;
using testing::encodeJPEG;
using testing::encodePNG;
using testing::solid;

// Each channel within tolerance of the wanted 0xRRGGBBAA (JPEG is lossy).
::testing::AssertionResult near(std::uint32_t got, std::uint32_t want, int tolerance) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        const int a = static_cast<int>((got >> shift) & 0xFF), b = static_cast<int>((want >> shift) & 0xFF);
        if (std::abs(a - b) > tolerance) {
            return ::testing::AssertionFailure() << std::hex << got << " is not near " << want;
        }
    }
    return ::testing::AssertionSuccess();
}

std::optional<ImageDecoder::Pixels> decode(const Bytes& bytes) {
    std::string error;
    return ImageDecoder::decode(bytes, error);
}

class ImageFiles : public ::testing::Test {
protected:
    std::string write(const std::string& name, const Bytes& bytes) {
        const auto path = folder.path() / name;
        testing::writeFile(path, bytes);
        return path.string();
    }
    foundation::TemporaryFolder folder{"trc-images-"};
};

TEST_F(ImageFiles, PNGPixelsComeOutExactlyWithTheirTransparency) {
    // red, half-transparent green / transparent, white
    const Bytes pixels = {255, 0, 0, 255, 0, 255, 0, 128, 0, 0, 0, 0, 255, 255, 255, 255};
    auto image = UIImage::contentsOfFile(write("four.png", encodePNG(2, 2, pixels)));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width(), 2u);
    EXPECT_EQ(image->height(), 2u);
    EXPECT_EQ(image->pixels(), pixels);
    EXPECT_EQ(image->pixelAt(1, 0), 0x00FF0080u);
    EXPECT_EQ(image->pixelAt(2, 0), 0u);  // outside
    EXPECT_EQ(image->size(), (CGSize{2, 2}));
    EXPECT_EQ(image->scale(), 1.0);
    EXPECT_EQ(image->renderingMode(), UIImage::RenderingMode::Automatic);
}

TEST_F(ImageFiles, GrayPNGBecomesOpaqueRGBA) {
    auto image = UIImage::contentsOfFile(write("gray.png", encodePNG(3, 1, {0, 128, 255}, true)));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixelAt(0, 0), 0x000000FFu);
    EXPECT_EQ(image->pixelAt(1, 0), 0x808080FFu);
    EXPECT_EQ(image->pixelAt(2, 0), 0xFFFFFFFFu);
}

TEST_F(ImageFiles, ScaleComesFromTheFileNameAndSizeIsInPoints) {
    auto image = UIImage::contentsOfFile(write("Icon@2x.png", encodePNG(4, 6, solid(4, 6, {1, 2, 3, 4}))));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->scale(), 2.0);
    EXPECT_EQ(image->size(), (CGSize{2, 3}));
    EXPECT_EQ(UIImage::contentsOfFile(write("x@0x.png", encodePNG(1, 1, solid(1, 1, {0, 0, 0, 0}))))->scale(), 1.0);
}

TEST_F(ImageFiles, JPEGInRGBGrayAndCMYKDecodesToTheColours) {
    auto rgb = UIImage::contentsOfFile(write("red.jpg", encodeJPEG(8, 8, solid(8, 8, {200, 30, 40}), 3)));
    ASSERT_TRUE(rgb);
    EXPECT_EQ(rgb->width(), 8u);
    EXPECT_TRUE(near(rgb->pixelAt(3, 3), 0xC81E28FF, 6));

    auto gray = UIImage::contentsOfFile(write("gray.jpeg", encodeJPEG(8, 8, solid(8, 8, {90}), 1)));
    ASSERT_TRUE(gray);
    EXPECT_TRUE(near(gray->pixelAt(0, 7), 0x5A5A5AFF, 3));

    // Red in inverted inks: no cyan (255), full magenta and yellow (0), no black (255).
    auto cmyk = UIImage::contentsOfFile(write("cmyk.jpg", encodeJPEG(8, 8, solid(8, 8, {255, 0, 0, 255}), 4)));
    ASSERT_TRUE(cmyk);
    EXPECT_TRUE(near(cmyk->pixelAt(4, 4), 0xFF0000FF, 6));
}

TEST_F(ImageFiles, MissingUnreadableOrForeignFilesGiveNoImage) {
    EXPECT_FALSE(UIImage::contentsOfFile((folder.path() / "none.png").string()));
    EXPECT_FALSE(UIImage::contentsOfFile(folder.path().string()));  // a folder
    EXPECT_FALSE(UIImage::contentsOfFile(write("empty.png", {})));
    EXPECT_FALSE(UIImage::contentsOfFile(write("text.png", Bytes{'h', 'e', 'l', 'l', 'o'})));
    // The name says JPEG, the content is PNG: the content decides.
    EXPECT_TRUE(UIImage::contentsOfFile(write("named.jpg", encodePNG(1, 1, solid(1, 1, {9, 9, 9, 255})))));
}

// Every way a file can be cut short or spoiled must give none, and nothing else.
class DamagedImages : public ::testing::Test {};

TEST_F(DamagedImages, EveryTruncationOfAPNGGivesNone) {
    Bytes png = encodePNG(16, 16, solid(16, 16, {10, 20, 30, 255}));
    ASSERT_TRUE(decode(png));
    for (std::size_t cut = 0; cut < png.size(); ++cut) {
        // Only the closing chunk may be missing: its absence loses no pixel.
        if (cut >= png.size() - 12) continue;
        EXPECT_FALSE(decode(Bytes(png.begin(), png.begin() + static_cast<std::ptrdiff_t>(cut)))) << "cut at " << cut;
    }
}

TEST_F(DamagedImages, EveryTruncationOfAJPEGBeforeItsLastBytesGivesNone) {
    // Busy content, so the image data is longer than a few bytes.
    Bytes pixels;
    for (int i = 0; i < 32 * 32; ++i) pixels.insert(pixels.end(), {std::uint8_t(i * 7), std::uint8_t(i * 13), std::uint8_t(i)});
    Bytes jpeg = encodeJPEG(32, 32, pixels, 3, 90);
    ASSERT_TRUE(decode(jpeg));
    for (std::size_t cut = 0; cut + 2 < jpeg.size(); ++cut) {
        EXPECT_FALSE(decode(Bytes(jpeg.begin(), jpeg.begin() + static_cast<std::ptrdiff_t>(cut)))) << "cut at " << cut;
    }
}

TEST_F(DamagedImages, SignaturesFollowedByGarbageAndFlippedBytesGiveNone) {
    std::string error;
    Bytes pngLike = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    pngLike.resize(200, 0xAB);
    EXPECT_FALSE(ImageDecoder::decode(pngLike, error));
    EXPECT_FALSE(error.empty());

    Bytes jpegLike = {0xFF, 0xD8, 0xFF};
    jpegLike.resize(200, 0x5C);
    EXPECT_FALSE(decode(jpegLike));

    // A changed byte in the pixel data breaks the chunk's checksum.
    Bytes png = encodePNG(8, 8, solid(8, 8, {1, 2, 3, 255}));
    png[png.size() - 20] ^= 0xFF;
    EXPECT_FALSE(decode(png));

    Bytes noise(4096);
    for (std::size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<std::uint8_t>((i * 2654435761u) >> 13);
    EXPECT_FALSE(decode(noise));
}

TEST_F(DamagedImages, AHeaderClaimingHugeDimensionsIsRefusedBeforeDecoding) {
    Bytes jpeg = encodeJPEG(8, 8, solid(8, 8, {1, 2, 3}), 3);
    // Baseline frame header: FF C0, length (2), precision (1), height (2), width (2).
    std::size_t sof = 0;
    for (std::size_t i = 2; i + 1 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            sof = i;
            break;
        }
    }
    ASSERT_GT(sof, 0u);
    // 60000 x 60000
    for (std::size_t i = sof + 5; i < sof + 9; i += 2) {
        jpeg[i] = 0xEA;
        jpeg[i + 1] = 0x60;
    }
    std::string error;
    EXPECT_FALSE(ImageDecoder::decode(jpeg, error));
    EXPECT_NE(error.find("too large"), std::string::npos) << error;

    // The header chunk sits right after the signature: length, "IHDR", width, height, ..., checksum.
    Bytes png = encodePNG(8, 8, solid(8, 8, {1, 2, 3, 255}));
    for (std::size_t i : {16u, 20u}) {  // 20000 wide and high
        png[i] = 0;
        png[i + 1] = 0;
        png[i + 2] = 0x4E;
        png[i + 3] = 0x20;
    }
    const uLong crc = crc32(0, png.data() + 12, 17);
    for (int k = 0; k < 4; ++k) png[29 + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(crc >> (24 - 8 * k));
    error.clear();
    EXPECT_FALSE(ImageDecoder::decode(png, error));
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
}

TEST(ImagePixels, BuffersOfTheWrongSizeOrScaleMakeNoImage) {
    EXPECT_FALSE(UIImage::fromPixels("x", 2, 2, Bytes(15)));
    EXPECT_FALSE(UIImage::fromPixels("x", 1, 1, Bytes(4), 0));
    EXPECT_TRUE(UIImage::fromPixels("x", 0, 0, {}));
}

TEST(ImagePixels, TintPaintsEveryPixelAndKeepsItsCoverage) {
    auto image = UIImage::fromPixels("x", 2, 1, {10, 20, 30, 255, 40, 50, 60, 100});
    ASSERT_TRUE(image);
    auto template_ = image->withRenderingMode(UIImage::RenderingMode::AlwaysTemplate);
    auto tinted = template_->withTintColor(UIColor{1, 0, 0, 0.5});
    EXPECT_EQ(tinted->pixelAt(0, 0), 0xFF000080u);
    EXPECT_EQ(tinted->pixelAt(1, 0), 0xFF000032u);
    EXPECT_EQ(tinted->renderingMode(), UIImage::RenderingMode::AlwaysTemplate);
    // The original is untouched.
    EXPECT_EQ(image->pixelAt(0, 0), 0x0A141EFFu);
    EXPECT_EQ(image->renderingMode(), UIImage::RenderingMode::Automatic);
}

}  // namespace
}  // namespace trc::ui
