#include "services/ImagePathHandler.h"

#include <gtest/gtest.h>

#include "FreshSandboxTest.h"
#include "platform/foundation/Bundle.h"
#include "platform/ui/ImageFiles.h"

using namespace trc;
using services::ImagePathHandler;
using ui::UIImage;

namespace {

class ImagePaths : public trc::testing::FreshSandboxTest {
protected:
    void SetUp() override {
        FreshSandboxTest::SetUp();
        bundle = root / "App.app";
        foundation::Bundle::setMain(bundle);
    }
    void TearDown() override {
        foundation::Bundle::setMain({});
        FreshSandboxTest::TearDown();
    }
    // A 1x2 picture: opaque blue over half-transparent white.
    static trc::testing::Bytes picture() { return trc::testing::encodePNG(1, 2, {0, 0, 255, 255, 255, 255, 255, 128}); }
    static std::string pixels(const std::shared_ptr<UIImage>& image) {
        if (!image) return "none";
        char text[32];
        std::snprintf(text, sizeof text, "%08X %08X", image->pixelAt(0, 0), image->pixelAt(0, 1));
        return text;
    }

    std::filesystem::path bundle;
};

TEST_F(ImagePaths, ResourcesAreFoundInTheMainBundleAndItsFolders) {
    trc::testing::writeFile(bundle / "BlurredScreen.png", picture());
    trc::testing::writeFile(bundle / "icons" / "Star.png", picture());
    trc::testing::writeFile(bundle / "en.lproj" / "Flag.png", picture());
    EXPECT_EQ(pixels(ImagePathHandler::image("res://BlurredScreen.png", false)), "0000FFFF FFFFFF80");
    EXPECT_EQ(pixels(ImagePathHandler::image("res://icons/Star.png")), "0000FFFF FFFFFF80");
    EXPECT_EQ(pixels(ImagePathHandler::image("res://Flag.png")), "0000FFFF FFFFFF80");
    EXPECT_EQ(pixels(ImagePathHandler::image("res://Missing.png")), "none");
    // The scheme alone, or a folder, names no image.
    EXPECT_EQ(pixels(ImagePathHandler::image("res://")), "none");
    EXPECT_EQ(pixels(ImagePathHandler::image("res://icons/")), "none");
}

TEST_F(ImagePaths, AResourcePathNeverReachesOutsideTheBundle) {
    trc::testing::writeFile(root / "Secret.png", picture());
    trc::testing::writeFile(bundle / "icons" / "Star.png", picture());
    EXPECT_EQ(pixels(ImagePathHandler::image("res://../Secret.png")), "none");
    EXPECT_EQ(pixels(ImagePathHandler::image("res://icons/../../Secret.png")), "none");
    EXPECT_EQ(pixels(ImagePathHandler::image("res://" + (root / "Secret.png").string())), "none");
    // The same file is an ordinary file path.
    EXPECT_EQ(pixels(ImagePathHandler::image((root / "Secret.png").string())), "0000FFFF FFFFFF80");
}

TEST_F(ImagePaths, FilePathsGiveTheStoredImageOrNone) {
    trc::testing::writeFile(root / "photo.jpg",
                            trc::testing::encodeJPEG(8, 8, trc::testing::solid(8, 8, {0, 0, 0}), 3));
    trc::testing::writeFile(root / "notes.txt", {'n', 'o'});
    auto photo = ImagePathHandler::image((root / "photo.jpg").string());
    ASSERT_TRUE(photo);
    EXPECT_EQ(photo->width(), 8u);
    EXPECT_EQ(pixels(ImagePathHandler::image((root / "notes.txt").string())), "none");
    EXPECT_EQ(pixels(ImagePathHandler::image((root / "gone.png").string())), "none");
    EXPECT_EQ(pixels(ImagePathHandler::image("")), "none");
    // Web addresses and other schemes are not loaded here.
    EXPECT_EQ(pixels(ImagePathHandler::image("https://example.invalid/a.png")), "none");
    EXPECT_EQ(pixels(ImagePathHandler::image("file://" + (root / "photo.jpg").string())), "none");
}

TEST_F(ImagePaths, TemplateFlagAndColourFilterChangeOnlyTheReturnedImage) {
    trc::testing::writeFile(bundle / "Star.png", picture());
    EXPECT_EQ(ImagePathHandler::image("res://Star.png", true)->renderingMode(), UIImage::RenderingMode::AlwaysTemplate);
    EXPECT_EQ(ImagePathHandler::image("res://Star.png", false)->renderingMode(), UIImage::RenderingMode::Automatic);
    EXPECT_EQ(ImagePathHandler::image("res://Star.png")->renderingMode(), UIImage::RenderingMode::Automatic);
    auto red = ImagePathHandler::image("res://Star.png", std::nullopt, ui::UIColor{1, 0, 0, 1});
    EXPECT_EQ(pixels(red), "FF0000FF FF000080");
    EXPECT_EQ(pixels(ImagePathHandler::image("res://Star.png")), "0000FFFF FFFFFF80");
}

}  // namespace
