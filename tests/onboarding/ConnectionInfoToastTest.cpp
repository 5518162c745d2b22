#include <gtest/gtest.h>

#include "onboarding/ConnectionInfoToast.h"
#include "platform/ui/UIWindow.h"
#include "services/AppConfig.h"
#include "services/FreshSandboxTest.h"
#include "services/ToastMessageView.h"

using namespace trc;
using core::Value;
using onboarding::ConnectionInfoToast;
using services::AppConfig;
using services::ToastMessageView;

namespace {

class ConnectionToast : public trc::testing::FreshSandboxTest {
protected:
    void SetUp() override {
        FreshSandboxTest::SetUp();
        window->makeKeyAndVisible();
    }
    static const Value* message() {
        return AppConfig::sharedInstance()->connectionSettings().find(AppConfig::kConnectionInfoToastMessage);
    }
    static void setMessage(Value v) {
        AppConfig::sharedInstance()->setConnectionSetting(AppConfig::kConnectionInfoToastMessage, std::move(v));
    }
    // The newest toast as "message/duration/lines", or "none".
    static std::string toast() {
        auto t = ToastMessageView::current();
        return t ? t->message() + "/" + std::to_string(t->duration()).substr(0, 3) + "/" +
                       std::to_string(t->maxNumberOfLines())
                 : "none";
    }

    std::shared_ptr<ui::UIWindow> window = std::make_shared<ui::UIWindow>();
};

TEST_F(ConnectionToast, AMessageIsShownOnceForTwoSecondsInAtMostThreeLines) {
    auto screen = std::make_shared<ui::UIView>();
    window->addSubview(screen);
    setMessage("line 1\nline 2\nline 3\nline 4");
    ConnectionInfoToast::showToast(Value(screen));
    EXPECT_EQ(toast(), "line 1\nline 2\nline 3\nline 4/2.0/3");
    EXPECT_EQ(ToastMessageView::current()->superview(), screen);
    EXPECT_EQ(ToastMessageView::current()->displayedText(), "line 1\nline 2\nline 3\u2026");
    // Kept, but empty: the same message does not come again.
    ASSERT_TRUE(message());
    EXPECT_EQ(*message(), Value(""));
    ToastMessageView::current()->removeFromSuperview();
    ConnectionInfoToast::showToast();
    EXPECT_EQ(toast(), "none");
    // A message given anew is shown again, over the key window without a view.
    setMessage("Connected");
    ConnectionInfoToast::showToast();
    EXPECT_EQ(toast(), "Connected/2.0/3");
    EXPECT_EQ(ToastMessageView::current()->superview(), window);
}

TEST_F(ConnectionToast, NoUsableMessageShowsNothingAndLeavesTheSettingAsItIs) {
    ConnectionInfoToast::showToast();
    EXPECT_FALSE(message());
    for (const Value& v : {Value(""), Value(), Value::null(), Value(5)}) {
        setMessage(v);
        ConnectionInfoToast::showToast();
        ASSERT_TRUE(message());
        EXPECT_EQ(*message(), v);
    }
    EXPECT_EQ(toast(), "none");
}

}  // namespace
