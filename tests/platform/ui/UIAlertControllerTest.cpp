#include <gtest/gtest.h>

#include "platform/dispatch/MainQueue.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UIWindow.h"
#include "testsupport/ProcessStateReset.h"

using namespace trc;
using namespace trc::ui;

namespace {

class Alerts : public ::testing::Test {
protected:
    void SetUp() override {
        core::ProcessStateReset::resetAll();
        dispatch::MainQueue::resetShared();
        window->setRootViewController(root);
        window->makeKeyAndVisible();
        alert->addAction(UIAlertAction::make("Cancel", UIAlertAction::Style::Cancel,
                                             [this](UIAlertAction& a) { log += "cancel:" + *a.title + " "; }));
        alert->addAction(UIAlertAction::make("Ok", UIAlertAction::Style::Default, [this](UIAlertAction&) {
            // The handler runs once the alert has gone.
            log += root->presentedViewController() ? "ok-while-shown " : "ok ";
        }));
        root->present(alert, true);
        run();
    }
    void TearDown() override { core::ProcessStateReset::resetAll(); }
    static void run() { dispatch::MainQueue::shared().runUntilIdle(); }

    std::shared_ptr<UIWindow> window = std::make_shared<UIWindow>();
    std::shared_ptr<UIViewController> root = std::make_shared<UIViewController>();
    std::shared_ptr<UIAlertController> alert = UIAlertController::make("Title", "Message");
    std::string log;
};

TEST_F(Alerts, TapDismissesThenRunsTheHandler) {
    EXPECT_EQ(window->topViewController(), alert);
    EXPECT_TRUE(root->isVisible()) << "an alert leaves its presenter on screen";
    EXPECT_TRUE(alert->tapAction("Ok"));
    EXPECT_EQ(log, "");
    run();
    EXPECT_EQ(log, "ok ");
    EXPECT_EQ(root->presentedViewController(), nullptr);
}

TEST_F(Alerts, OnlyOneTapCounts) {
    EXPECT_TRUE(alert->tapAction(std::size_t{0}));
    EXPECT_FALSE(alert->tapAction("Ok"));
    run();
    EXPECT_EQ(log, "cancel:Cancel ");
}

TEST_F(Alerts, UnknownOrDisabledActionsAreRefused) {
    EXPECT_FALSE(alert->tapAction("Nope"));
    EXPECT_FALSE(alert->tapAction(std::size_t{5}));
    alert->actions()[1]->isEnabled = false;
    EXPECT_FALSE(alert->tapAction("Ok"));
    run();
    EXPECT_EQ(log, "");
    EXPECT_EQ(root->presentedViewController(), alert);
}

TEST_F(Alerts, PropertiesForChecks) {
    alert->addAction(UIAlertAction::make(std::nullopt));
    EXPECT_EQ(alert->valueForKey("title"), core::Value("Title"));
    EXPECT_EQ(alert->valueForKey("message"), core::Value("Message"));
    EXPECT_EQ(alert->valueForKey("actions"), core::Value(core::Array{"Cancel", "Ok", ""}));
}

}  // namespace
