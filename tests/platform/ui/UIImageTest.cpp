#include "platform/ui/UIImage.h"

#include <gtest/gtest.h>

#include <zlib.h>

#include <algorithm>
#include <cstdlib>

#include "platform/ui/ImageDecoder.h"
#include "platform/ui/ImageFiles.h"
#include "testsupport/TemporaryFolder.h"

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
    EXPECT_EQ(image->scale(), 1.0);

    auto gray = UIImage::contentsOfFile(write("gray@2x.png", encodePNG(2, 1, {0, 128}, true)));
    ASSERT_TRUE(gray);
    EXPECT_EQ(gray->pixelAt(1, 0), 0x808080FFu);  // opaque RGBA
    EXPECT_EQ(gray->scale(), 2.0);
    EXPECT_EQ(gray->size(), (CGSize{1, 0.5}));
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

TEST_F(DamagedImages, EveryTruncationGivesNone) {
    // Busy content, so the image data is longer than a few bytes.
    Bytes pixels;
    for (int i = 0; i < 32 * 32; ++i)
        pixels.insert(pixels.end(), {std::uint8_t(i * 7), std::uint8_t(i * 13), std::uint8_t(i)});
    // Only a PNG's closing chunk (12 bytes) and a JPEG's end marker (2) may go: no pixel is lost with them.
    for (auto [file, spare] : {std::pair{encodePNG(16, 16, solid(16, 16, {10, 20, 30, 255})), 12u},
                               std::pair{encodeJPEG(32, 32, pixels, 3, 90), 2u}}) {
        ASSERT_TRUE(decode(file));
        for (std::size_t cut = 0; cut + spare < file.size(); ++cut) {
            EXPECT_FALSE(decode(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(cut))))
                << "cut at " << cut << " of " << file.size();
        }
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
}

TEST_F(DamagedImages, AHeaderClaimingHugeDimensionsIsRefusedBeforeDecoding) {
    auto put16 = [](Bytes& b, std::size_t at, unsigned v) {
        b[at] = static_cast<std::uint8_t>(v >> 8);
        b[at + 1] = static_cast<std::uint8_t>(v);
    };
    // A JPEG frame header (FF C0) holds length, precision, then height and width: make them 60000.
    Bytes jpeg = encodeJPEG(8, 8, solid(8, 8, {1, 2, 3}), 3);
    const Bytes sof = {0xFF, 0xC0};
    const auto at =
        static_cast<std::size_t>(std::search(jpeg.begin(), jpeg.end(), sof.begin(), sof.end()) - jpeg.begin());
    ASSERT_LT(at, jpeg.size());
    put16(jpeg, at + 5, 60000);
    put16(jpeg, at + 7, 60000);
    // A PNG's header chunk follows its signature: width and height (4 bytes each), then its checksum.
    Bytes png = encodePNG(8, 8, solid(8, 8, {1, 2, 3, 255}));
    put16(png, 18, 20000);
    put16(png, 22, 20000);
    const uLong crc = crc32(0, png.data() + 12, 17);
    put16(png, 29, static_cast<unsigned>(crc >> 16));
    put16(png, 31, static_cast<unsigned>(crc & 0xFFFF));
    for (const Bytes& file : {jpeg, png}) {
        std::string error;
        EXPECT_FALSE(ImageDecoder::decode(file, error));
        EXPECT_NE(error.find("too large"), std::string::npos) << error;
    }
}

TEST(SymbolImages, ASymbolIsOneSharedImagePerRenderingMode) {
    auto symbol = UIImage::systemNamed("signature");
    EXPECT_EQ(UIImage::systemNamed("signature"), symbol);
    EXPECT_NE(UIImage::systemNamed("xmark"), symbol);
    auto templated = symbol->withRenderingMode(UIImage::RenderingMode::AlwaysTemplate);
    EXPECT_EQ(templated->renderingMode(), UIImage::RenderingMode::AlwaysTemplate);
    EXPECT_EQ(templated->name(), "signature");
    EXPECT_EQ(symbol->renderingMode(), UIImage::RenderingMode::Automatic) << "the original is unchanged";
    EXPECT_EQ(symbol->withRenderingMode(UIImage::RenderingMode::AlwaysTemplate), templated);
    EXPECT_EQ(templated->withRenderingMode(UIImage::RenderingMode::Automatic), symbol);

    auto named = std::make_shared<UIImage>("signature");
    EXPECT_NE(named->withRenderingMode(UIImage::RenderingMode::AlwaysTemplate), templated)
        << "an image made by name is not the system's symbol";
}

TEST(ImagePixels, BuffersOfTheWrongSizeOrScaleMakeNoImage) {
    EXPECT_FALSE(UIImage::fromPixels("x", 2, 2, Bytes(15)));
    EXPECT_FALSE(UIImage::fromPixels("x", 1, 1, Bytes(4), 0));
    EXPECT_TRUE(UIImage::fromPixels("x", 0, 0, {}));
}

}  // namespace
}  // namespace trc::ui
