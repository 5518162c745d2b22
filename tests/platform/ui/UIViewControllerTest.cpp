#include <gtest/gtest.h>

#include "platform/dispatch/MainQueue.h"
#include "platform/ui/LifecycleRecorder.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIView.h"
#include "platform/ui/UIWindow.h"
#include "testsupport/ProcessStateReset.h"

using namespace trc;
using namespace trc::ui;
using trc::ui::test::LifecycleRecorder;

namespace {

class Presentation : public ::testing::Test {
protected:
    void SetUp() override {
        core::ProcessStateReset::resetAll();
        dispatch::MainQueue::resetShared();
        window = std::make_shared<UIWindow>();
        root = make("root");
        window->setRootViewController(root);
        window->makeKeyAndVisible();
        run();
        log->clear();
    }
    void TearDown() override { core::ProcessStateReset::resetAll(); }

    std::shared_ptr<LifecycleRecorder> make(const std::string& name) {
        return std::make_shared<LifecycleRecorder>(name, log);
    }
    static void run() { dispatch::MainQueue::shared().runUntilIdle(); }

    std::shared_ptr<std::string> log = std::make_shared<std::string>();
    std::shared_ptr<UIWindow> window;
    std::shared_ptr<LifecycleRecorder> root;
};

TEST_F(Presentation, RootOfAKeyWindowLoadsAndAppears) {
    auto w = std::make_shared<UIWindow>();
    auto vc = make("a");
    w->setRootViewController(vc);
    EXPECT_EQ(*log, "a.load");
    w->makeKeyAndVisible();
    EXPECT_EQ(*log, "a.load a.willAppear");
    run();
    EXPECT_EQ(*log, "a.load a.willAppear a.didAppear");
    EXPECT_EQ(UIApplication::shared()->keyWindow(), w);
    EXPECT_EQ(vc->view()->window(), w);
}

TEST_F(Presentation, DidCallsAndCompletionRunOnTheMainQueueAfterWillCalls) {
    auto a = make("a");
    a->modalPresentationStyle = UIModalPresentationStyle::FullScreen;
    bool done = false;
    root->present(a, true, [&] { done = true; });
    EXPECT_EQ(*log, "a.load a.willAppear root.willDisappear");
    EXPECT_FALSE(done);
    EXPECT_TRUE(a->isBeingPresented());
    run();
    EXPECT_TRUE(done);
    EXPECT_FALSE(a->isBeingPresented());
    EXPECT_EQ(*log, "a.load a.willAppear root.willDisappear a.didAppear root.didDisappear");
    EXPECT_EQ(root->presentedViewController(), a);
    EXPECT_EQ(a->presentingViewController(), root);
    EXPECT_EQ(window->topViewController(), a);

    log->clear();
    done = false;
    a->dismiss(true, [&] { done = true; });
    EXPECT_EQ(root->presentedViewController(), nullptr);
    run();
    EXPECT_TRUE(done);
    EXPECT_EQ(*log, "a.willDisappear root.willAppear a.didDisappear root.didAppear");
    EXPECT_EQ(window->topViewController(), root);
}

TEST_F(Presentation, SheetLeavesThePresenterOnScreen) {
    auto a = make("a");
    root->present(a, false);
    run();
    EXPECT_EQ(*log, "a.load a.willAppear a.didAppear");
    EXPECT_TRUE(root->isVisible());
    EXPECT_TRUE(a->isPresentedModally());
    EXPECT_FALSE(a->isPresentedModallyInFullScreen());
    root->dismiss(false);
    run();
    EXPECT_EQ(*log, "a.load a.willAppear a.didAppear a.willDisappear a.didDisappear");
}

TEST_F(Presentation, SecondPresentIsRefusedWithoutRunningItsCompletion) {
    auto a = make("a");
    auto b = make("b");
    bool bDone = false;
    root->present(a, false);
    root->present(b, false, [&] { bDone = true; });
    run();
    EXPECT_FALSE(bDone);
    EXPECT_EQ(root->presentedViewController(), a);
    EXPECT_EQ(b->presentingViewController(), nullptr);
    // The same controller cannot be presented twice either.
    a->present(a, false);
    EXPECT_EQ(a->presentedViewController(), nullptr);
}

TEST_F(Presentation, DismissOnThePresenterTakesDownTheWholeStack) {
    auto a = make("a");
    auto b = make("b");
    root->present(a, false);
    run();
    a->present(b, false);
    run();
    EXPECT_EQ(window->topViewController(), b);
    log->clear();
    root->dismiss(false);
    run();
    EXPECT_EQ(*log, "b.willDisappear a.willDisappear b.didDisappear a.didDisappear");
    EXPECT_EQ(a->presentedViewController(), nullptr);
    EXPECT_EQ(b->presentingViewController(), nullptr);
    // Both can be presented again.
    root->present(b, false);
    EXPECT_EQ(root->presentedViewController(), b);
}

TEST_F(Presentation, DismissWithNothingToDismissStillCompletes) {
    auto lone = make("lone");
    bool done = false;
    lone->dismiss(false, [&] { done = true; });
    EXPECT_FALSE(done);
    run();
    EXPECT_TRUE(done);
}

TEST_F(Presentation, DismissBeforeAppearingEndsFinishesAsDisappeared) {
    auto a = make("a");
    root->present(a, false);
    a->dismiss(false);
    run();
    EXPECT_EQ(*log, "a.load a.willAppear a.willDisappear a.didDisappear");
    EXPECT_EQ(a->appearanceState(), UIViewController::AppearanceState::Disappeared);
}

TEST_F(Presentation, ChildPresentsFromItsContainerAndAnswersThroughIt) {
    auto child = make("child");
    auto nav = UINavigationController::make(child);
    nav->modalPresentationStyle = UIModalPresentationStyle::FullScreen;
    root->present(nav, false);
    run();
    EXPECT_TRUE(child->isPresentedModally());
    EXPECT_TRUE(child->isPresentedModallyInFullScreen());
    EXPECT_EQ(child->presentingViewController(), root);
    EXPECT_EQ(child->navigationController(), nav);
    EXPECT_FALSE(root->isPresentedModally());

    auto sheet = make("sheet");
    child->present(sheet, false);
    EXPECT_EQ(nav->presentedViewController(), sheet);
    EXPECT_EQ(sheet->presentingViewController(), nav);
    EXPECT_EQ(window->topViewController(), sheet);
    // A child asking to dismiss dismisses what its container presents.
    child->dismiss(false);
    EXPECT_EQ(nav->presentedViewController(), nullptr);
}

TEST_F(Presentation, OverFullScreenCountsAsFullScreenButKeepsThePresenter) {
    auto a = make("a");
    a->modalPresentationStyle = UIModalPresentationStyle::OverFullScreen;
    root->present(a, false);
    run();
    EXPECT_TRUE(a->isPresentedModallyInFullScreen());
    EXPECT_TRUE(root->isVisible());
}

TEST_F(Presentation, PresentedViewJoinsTheWindowAndLeavesOnDismiss) {
    auto a = make("a");
    root->present(a, false);
    EXPECT_EQ(a->view()->window(), window);
    EXPECT_EQ(a->view()->controller(), a);
    a->dismiss(false);
    EXPECT_EQ(a->view()->window(), nullptr);
}

class Navigation : public Presentation {};

TEST_F(Navigation, PushAndPopRunLifecycleOfTheTopOnly) {
    auto first = make("first");
    auto nav = UINavigationController::make(first);
    window->setRootViewController(nav);
    run();
    EXPECT_EQ(*log, "first.load root.willDisappear first.willAppear root.didDisappear first.didAppear");
    log->clear();

    auto second = make("second");
    bool pushed = false;
    nav->pushViewController(second, true, [&] { pushed = true; });
    run();
    EXPECT_TRUE(pushed);
    EXPECT_EQ(*log, "second.load first.willDisappear second.willAppear first.didDisappear second.didAppear");
    EXPECT_EQ(nav->topViewController(), second);
    EXPECT_EQ(second->navigationController(), nav);
    EXPECT_EQ(window->topViewController(), second);
    EXPECT_EQ(nav->viewControllers().size(), 2u);
    log->clear();

    EXPECT_EQ(nav->popViewController(false), second);
    run();
    EXPECT_EQ(*log, "second.willDisappear first.willAppear second.didDisappear first.didAppear");
    EXPECT_EQ(second->parent(), nullptr);
    EXPECT_EQ(nav->popViewController(false), nullptr) << "the root stays";
}

TEST_F(Navigation, OffScreenChangesOnlyTheStack) {
    auto first = make("first");
    auto nav = UINavigationController::make(first);
    nav->pushViewController(make("second"), false);
    nav->pushViewController(make("third"), false);
    run();
    EXPECT_EQ(*log, "");
    auto popped = nav->popToRootViewController(false);
    EXPECT_EQ(popped.size(), 2u);
    EXPECT_EQ(nav->topViewController(), first);
    // Loading shows only the top's view.
    EXPECT_EQ(nav->view()->subviews().size(), 1u);
    EXPECT_EQ(nav->view()->subviews().front(), first->view());
}

TEST_F(Navigation, AControllerInAnotherContainerIsRefused) {
    auto shared = make("shared");
    auto nav1 = UINavigationController::make(shared);
    auto nav2 = UINavigationController::make(make("other"));
    nav2->pushViewController(shared, false);
    EXPECT_EQ(nav2->viewControllers().size(), 1u);
    EXPECT_EQ(shared->parent(), nav1);
}

TEST(UIApplicationReset, ProcessResetDropsWindows) {
    core::ProcessStateReset::resetAll();
    auto w = std::make_shared<UIWindow>();
    w->makeKeyAndVisible();
    auto before = UIApplication::shared();
    EXPECT_EQ(before->windows().size(), 1u);
    core::ProcessStateReset::resetAll();
    EXPECT_NE(UIApplication::shared(), before);
    EXPECT_EQ(UIApplication::shared()->keyWindow(), nullptr);
    EXPECT_FALSE(w->isKeyWindow());
}

}  // namespace
