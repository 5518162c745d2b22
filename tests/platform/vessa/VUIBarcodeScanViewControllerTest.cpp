#include "platform/vessa/VUIBarcodeScanViewController.h"

#include <gtest/gtest.h>

#include <fstream>

#include "onboarding/QRCodePicture.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIWindow.h"
#include "testsupport/ProcessStateReset.h"
#include "testsupport/TemporaryFolder.h"

namespace trc::vessa {
namespace {

using onboarding::test::QRCodePicture;

class Listener : public VUIBarcodeScanViewControllerDelegate {
public:
    void barcodeScanViewController(VUIBarcodeScanViewController&, const std::optional<VUIBarcodeScanResult>&) override {
        ++heard;
    }
    int heard = 0;
};

class BarcodeScanner : public ::testing::Test {
protected:
    void SetUp() override {
        core::ProcessStateReset::resetAll();
        dispatch::MainQueue::resetShared();
        window->setRootViewController(nav);
        window->makeKeyAndVisible();
        scanner->delegate = listener;
        settle();
    }
    void TearDown() override { core::ProcessStateReset::resetAll(); }
    static void settle() { dispatch::MainQueue::shared().runUntilIdle(); }
    void open() {
        nav->present(ui::UINavigationController::make(scanner), true);
        settle();
    }

    foundation::TemporaryFolder folder{"trc-barcode-"};
    std::shared_ptr<VUIBarcodeScanViewController> scanner =
        VUIBarcodeScanViewController::createInstanceFromStoryboard();
    std::shared_ptr<Listener> listener = std::make_shared<Listener>();
    std::shared_ptr<ui::UINavigationController> nav =
        ui::UINavigationController::make(std::make_shared<ui::UIViewController>());
    std::shared_ptr<ui::UIWindow> window = std::make_shared<ui::UIWindow>();
};

TEST_F(BarcodeScanner, APictureWithoutAReadableCodeDeliversNothingAndSaysWhy) {
    open();
    const auto blank = folder.path() / "blank.png";
    QRCodePicture::writeBlank(blank);
    const auto text = folder.path() / "note.png";
    std::ofstream(text) << "not a picture";

    std::string why;
    EXPECT_FALSE(scanner->scanImageFile(blank, why));
    EXPECT_NE(why.find("no QR code"), std::string::npos) << why;
    why.clear();
    EXPECT_FALSE(scanner->scanImageFile(text, why));
    EXPECT_NE(why.find("cannot read"), std::string::npos) << why;
    why.clear();
    EXPECT_FALSE(scanner->scanImageFile(folder.path() / "missing.png", why));
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(listener->heard, 0);
}

TEST_F(BarcodeScanner, ThePersonReachesItOnlyWhileItIsShown) {
    std::string why;
    EXPECT_FALSE(scanner->scanText("early"));
    EXPECT_FALSE(scanner->scanImageFile(folder.path() / "any.png", why));
    EXPECT_FALSE(scanner->cancel());

    open();
    EXPECT_TRUE(scanner->cancel());
    EXPECT_EQ(nav->presentedViewController(), nullptr) << "the cancel closes its navigation controller";
    settle();
    EXPECT_FALSE(scanner->scanText("late"));
    EXPECT_EQ(listener->heard, 0) << "a cancel tells the delegate nothing";
}

}  // namespace
}  // namespace trc::vessa
