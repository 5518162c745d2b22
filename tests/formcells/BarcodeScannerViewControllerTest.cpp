#include "formcells/BarcodeScannerViewController.h"

#include <gtest/gtest.h>

#include "formcells/FormTestSupport.h"
#include "platform/dispatch/GlobalQueue.h"
#include "platform/ui/AVCaptureDevice.h"
#include "platform/ui/UIImagePickerController.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIWindow.h"
#include "platform/vessa/VUIBarcodeScanViewController.h"

namespace trc::formcells {
namespace {

using testing::RecordingDelegate;
using ui::AVAuthorizationStatus;
using ui::AVCaptureDevice;
using ui::AVMediaType;
using Scanner = std::shared_ptr<vessa::VUIBarcodeScanViewController>;

constexpr const char* kLogger = BarcodeScannerViewController::kLoggerName;

std::shared_ptr<RecordingDelegate> hostCallback() {
    return std::make_shared<RecordingDelegate>(
        std::set<std::string, std::less<>>{BarcodeScannerViewController::kFinishedCheckingWithResults,
                                           BarcodeScannerViewController::kFinishedScanningWithResults});
}

// What a callback heard, as "selector(argument)" lines.
std::string heard(const RecordingDelegate& host) {
    std::string out;
    for (const auto& call : host.calls) {
        out += (out.empty() ? "" : " ") + call.selector + "(" + (call.args.empty() ? "" : call.args[0].description()) +
               ")";
    }
    return out;
}

bool loggedBy(const char* logger, core::Severity severity, const std::string& message) {
    for (const auto& r : core::internal::Logging::captured()) {
        if (r.logger == logger && r.severity == severity && r.message == message) return true;
    }
    return false;
}

class BarcodeScannerTest : public testing::FreshProcessTest {
protected:
    void settle() { dispatch::MainQueue::shared().runUntilIdle(); }
    // Lets the platform's answer to a camera prompt arrive, without running the main queue.
    static void platformAnswers(bool granted) {
        ASSERT_TRUE(AVCaptureDevice::answerAccessRequests(granted));
        ASSERT_TRUE(dispatch::GlobalQueue::shared().waitUntilIdle(10));
    }
    std::shared_ptr<BarcodeScannerViewController> controller = BarcodeScannerViewController::sharedInstance();
    std::shared_ptr<RecordingDelegate> host = hostCallback();
};

// ---------------------------------------------------------------- camera check

using CameraCheck = BarcodeScannerTest;

TEST_F(CameraCheck, ADecidedCameraIsAnsweredAtOnceWithoutAskingThePerson) {
    const struct {
        bool camera;
        AVAuthorizationStatus status;
        const char* logged;
        const char* answer;
    } cases[] = {
        {false, AVAuthorizationStatus::Authorized, "no camera available", "false"},
        {true, AVAuthorizationStatus::Authorized, "use camera is authorized", "true"},
        {true, AVAuthorizationStatus::Restricted, "use camera is not authorized", "false"},
    };
    for (const auto& c : cases) {
        ui::UIImagePickerController::setSourceTypeAvailable(ui::UIImagePickerController::SourceType::Camera, c.camera);
        AVCaptureDevice::setAuthorizationStatus(AVMediaType::Video, c.status);
        host->calls.clear();
        controller->check(std::nullopt, host);
        settle();
        EXPECT_EQ(heard(*host), std::string("finishedCheckingWithResults(") + c.answer + ")") << c.logged;
        EXPECT_TRUE(loggedBy(kLogger, core::Severity::debug, c.logged));
    }
    EXPECT_EQ(AVCaptureDevice::pendingAccessRequests(), 0u);
}

TEST_F(CameraCheck, ThePersonsAnswerReachesTheHostOnTheMainQueueOnly) {
    controller->check(core::Dictionary{{"purpose", "stock"}}, host);
    EXPECT_TRUE(loggedBy(kLogger, core::Severity::debug, "requesting access to camera"));
    EXPECT_EQ(AVCaptureDevice::pendingAccessRequests(), 1u);
    settle();
    EXPECT_TRUE(host->calls.empty()) << "nobody has answered the prompt yet";

    platformAnswers(false);
    EXPECT_TRUE(host->calls.empty()) << "the platform's own queue never talks to the host";
    settle();
    EXPECT_EQ(heard(*host), "finishedCheckingWithResults(false)");
    EXPECT_EQ(AVCaptureDevice::authorizationStatus(AVMediaType::Video), AVAuthorizationStatus::Denied);
    ASSERT_TRUE(controller->params);
    EXPECT_EQ(controller->params->get("purpose"), core::Value("stock"));
}

// ---------------------------------------------------------------- presenting and reading

class HostScanner : public BarcodeScannerTest {
protected:
    void SetUp() override {
        BarcodeScannerTest::SetUp();
        window->setRootViewController(nav);
        window->makeKeyAndVisible();
        settle();
    }
    Scanner open() {
        controller->create(core::Dictionary{}, host);
        settle();
        return controller->barcodeScanViewControllerInstance();
    }
    static void read(const Scanner& scanner, std::optional<std::string> text) {
        scanner->deliverScanResult(vessa::VUIBarcodeScanResult(std::move(text)));
    }

    std::shared_ptr<ui::UIViewController> page = std::make_shared<ui::UIViewController>();
    std::shared_ptr<ui::UINavigationController> nav = ui::UINavigationController::make(page);
    std::shared_ptr<ui::UIWindow> window = std::make_shared<ui::UIWindow>();
};

TEST_F(HostScanner, OpensInANavigationControllerOfItsOwnOverTheTopmostNavigation) {
    // A page presented over the root, itself inside a navigation controller:
    // the scanner goes over that one, not the root.
    auto modalPage = std::make_shared<ui::UIViewController>();
    auto modalNav = ui::UINavigationController::make(modalPage);
    nav->present(modalNav, false);
    settle();

    Scanner scanner = open();
    ASSERT_TRUE(scanner);
    EXPECT_EQ(controller->parentNavigationController(), modalNav);
    EXPECT_TRUE(scanner->modalPresentationCapturesStatusBarAppearance);
    EXPECT_EQ(modalNav->presentedViewController(), scanner->navigationController());
    EXPECT_EQ(scanner->navigationController()->topViewController(), scanner);
    EXPECT_TRUE(scanner->isOnScreen());
    EXPECT_TRUE(host->calls.empty()) << "opening tells the host nothing";

    // A controller presented without a navigation controller: its own is
    // none, so the scanner has nowhere to go.
    nav->dismiss(false);
    settle();
    nav->present(std::make_shared<ui::UIViewController>(), false);
    settle();
    Scanner second = open();
    EXPECT_EQ(controller->parentNavigationController(), nullptr);
    EXPECT_FALSE(second->isOnScreen());
    EXPECT_NE(second, scanner) << "each create makes a new scanner";
}

TEST_F(HostScanner, TheFirstReadingClosesTheScannerThenReachesTheHostOnce) {
    Scanner scanner = open();
    read(scanner, "4006381333931");
    EXPECT_FALSE(scanner->isOnScreen()) << "closing starts at once";
    EXPECT_TRUE(host->calls.empty()) << "the host hears once the scanner has closed";
    // The camera reads again while the scanner closes, and after.
    read(scanner, "4006381333931");
    settle();
    auto next = std::make_shared<ui::UIViewController>();
    nav->present(next, false);
    settle();
    read(scanner, "9780201379624");
    settle();
    EXPECT_EQ(nav->presentedViewController(), next) << "a late reading closes nothing the page shows next";
    EXPECT_EQ(heard(*host), "finishedScanningWithResults(4006381333931)");
    EXPECT_EQ(controller->barcodeScanViewControllerInstance(), scanner) << "kept until the next create";
}

TEST_F(HostScanner, WithoutAParentAReadingIsNeitherTakenNorReported) {
    window->setRootViewController(std::make_shared<ui::UIViewController>());  // no navigation controller anywhere
    settle();
    controller->create(std::nullopt, host);
    Scanner scanner = controller->barcodeScanViewControllerInstance();
    ASSERT_TRUE(scanner);
    EXPECT_FALSE(scanner->isOnScreen());
    read(scanner, "4006381333931");
    settle();
    EXPECT_TRUE(host->calls.empty());
    EXPECT_FALSE(scanner->delegate.expired()) << "the scanner stays this controller's";
}

TEST_F(HostScanner, ReadingsWithoutTextKeepItOpenAndEveryReadingIsLoggedEscaped) {
    Scanner scanner = open();
    scanner->deliverScanResult(std::nullopt);
    read(scanner, std::nullopt);
    settle();
    EXPECT_TRUE(scanner->isOnScreen());
    EXPECT_TRUE(loggedBy(kLogger, core::Severity::info, "scan result: nil"));
    // A code cannot write log lines of its own.
    read(scanner, "x\"\nINFO fake");
    EXPECT_TRUE(loggedBy(kLogger, core::Severity::info, "scan result: Optional(\"x\\\"\\nINFO fake\")"));
}

}  // namespace
}  // namespace trc::formcells
