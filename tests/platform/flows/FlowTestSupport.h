#pragma once
// Helpers the flow tests share: a fresh process per test (virtual main
// queue, new sandbox, a key window to present on, the cheapest key
// derivation) and a pump that waits for URL requests on worker threads.

#include <gtest/gtest.h>

#include <functional>

#include "platform/dispatch/GlobalQueue.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/flows/SecureKeyValueStoreManager.h"
#include "platform/foundation/Sandbox.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindow.h"
#include "testsupport/ProcessStateReset.h"
#include "testsupport/SecureKeyValueStoreManagerSeam.h"

namespace trc::flows::test {

class FlowTest : public ::testing::Test {
protected:
    void SetUp() override {
        core::ProcessStateReset::resetAll();
        dispatch::MainQueue::resetShared();
        foundation::Sandbox::makeFreshRoot();
        SecureKeyValueStoreManagerSeam::setKeyDerivationLimits(SecureKeyValueStore::KeyDerivationLimits::minimum());
        window = std::make_shared<ui::UIWindow>();
        window->setRootViewController(std::make_shared<ui::UIViewController>());
        window->makeKeyAndVisible();
        runMain();
    }
    void TearDown() override {
        pumpUntil([] { return false; }, 0.05);
        window.reset();
        core::ProcessStateReset::resetAll();
    }

    static void runMain() { dispatch::MainQueue::shared().runUntilIdle(); }

    // Runs the main queue and waits for background work until done() holds
    // or the real-time limit passes; true when done.
    static bool pumpUntil(const std::function<bool()>& done, double seconds = 10) {
        auto& global = dispatch::GlobalQueue::shared();
        for (int i = 0; i < static_cast<int>(seconds * 100); ++i) {
            runMain();
            if (done()) return true;
            global.waitUntilIdle(0.01);
        }
        runMain();
        return done();
    }

    std::shared_ptr<ui::UIViewController> topScreen() const {
        auto top = window->rootViewController();
        while (top && top->presentedViewController()) top = top->presentedViewController();
        return top;
    }

    std::shared_ptr<ui::UIWindow> window;
};

}  // namespace trc::flows::test
