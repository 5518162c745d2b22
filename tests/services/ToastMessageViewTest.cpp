#include <gtest/gtest.h>

#include "FreshSandboxTest.h"
#include "platform/core/internal/Logging.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/ui/UIWindow.h"
#include "services/ToastMessageView.h"
#include "testsupport/ProcessStateReset.h"

using namespace trc;
using core::Value;
using services::ToastMessageView;

namespace {

class Toasts : public trc::testing::FreshSandboxTest {
protected:
    void SetUp() override {
        FreshSandboxTest::SetUp();
        window->makeKeyAndVisible();
    }
    // The messages of the toasts shown in view, oldest first.
    static std::string toastsIn(const ui::UIView& view) {
        std::string out;
        for (const auto& v : view.subviews())
            if (auto t = std::dynamic_pointer_cast<ToastMessageView>(v)) out += "[" + t->message() + "]";
        return out;
    }
    static std::size_t warnings() {
        std::size_t n = 0;
        for (const auto& r : core::internal::Logging::captured())
            n += r.logger == core::SharedLoggerManager::kTRCLogger && r.severity == core::Severity::warn;
        return n;
    }
    static void advance(double s) { dispatch::MainQueue::shared().advance(s); }

    std::shared_ptr<ui::UIWindow> window = std::make_shared<ui::UIWindow>();
};

TEST_F(Toasts, ShowInTheGivenViewOrWindowElseInTheKeyWindow) {
    auto other = std::make_shared<ui::UIWindow>();
    ToastMessageView::displayToastMsg({{"message", "over another window"}, {"background", other}});
    EXPECT_EQ(toastsIn(*other), "[over another window]");
    ToastMessageView::displayToastMsg({{"message", "a"}, {"background", "not a view"}});
    ToastMessageView::displayToastMsg({{"message", "b"}, {"background", std::make_shared<core::Object>()}});
    EXPECT_EQ(toastsIn(*window), "[a][b]");
    EXPECT_EQ(warnings(), 0u);
}

TEST_F(Toasts, NothingIsShownWithoutATextMessageOrAPlaceAndItIsLogged) {
    ToastMessageView::displayToastMsg({});
    ToastMessageView::displayToastMsg({{"message", 42}});
    EXPECT_EQ(toastsIn(*window), "");
    core::ProcessStateReset::resetAll();  // no key window any more
    ToastMessageView::displayToastMsg({{"message", "lost"}});
    EXPECT_EQ(ToastMessageView::current(), nullptr);
    EXPECT_EQ(warnings(), 3u);
}

TEST_F(Toasts, GoAwayWhenTheirTimeIsUpAndTheNewestShownIsCurrent) {
    ToastMessageView::displayToastMsg({{"message", "first"}});  // 1 s by default
    advance(0.5);
    ToastMessageView::displayToastMsg({{"message", "second"}, {"duration", 2.5}});
    EXPECT_EQ(ToastMessageView::current()->message(), "second");
    advance(0.49);
    EXPECT_EQ(toastsIn(*window), "[first][second]");
    advance(0.01);
    EXPECT_EQ(toastsIn(*window), "[second]");
    ToastMessageView::displayToastMsg({{"message", "third"}, {"duration", 0.5}});
    advance(0.5);
    // The older toast still shown is current again once the newer is gone.
    EXPECT_EQ(ToastMessageView::current()->message(), "second");
    advance(1.5);
    EXPECT_EQ(ToastMessageView::current(), nullptr);
    EXPECT_EQ(toastsIn(*window), "");
}

TEST_F(Toasts, ParametersOfTheWrongKindFallBackToTheirDefaults) {
    ToastMessageView::displayToastMsg({{"message", "m"}, {"duration", 3}, {"maxNumberOfLines", 2.0}});
    EXPECT_EQ(ToastMessageView::current()->duration(), 3.0);
    EXPECT_EQ(ToastMessageView::current()->maxNumberOfLines(), 2);
    EXPECT_EQ(warnings(), 0u);
    for (const Value& bad : {Value("2"), Value(true), Value(-1), Value::null()}) {
        ToastMessageView::displayToastMsg({{"message", "m"}, {"duration", bad}, {"maxNumberOfLines", bad}});
        EXPECT_EQ(ToastMessageView::current()->duration(), 1.0) << bad.description();
        EXPECT_EQ(ToastMessageView::current()->maxNumberOfLines(), 1) << bad.description();
    }
    EXPECT_EQ(warnings(), 8u);
}

TEST(ToastText, ShowsAtMostItsLineLimitAndMarksWhatIsCut) {
    EXPECT_EQ(ToastMessageView("one\ntwo\nthree\nfour", 1, 3).displayedText(), "one\ntwo\nthree\u2026");
    EXPECT_EQ(ToastMessageView("one\r\ntwo", 1, 1).displayedText(), "one\u2026");
    EXPECT_EQ(ToastMessageView("one\ntwo\nthree", 1, 3).displayedText(), "one\ntwo\nthree");
    EXPECT_EQ(ToastMessageView("one\ntwo\nthree", 1, 0).displayedText(), "one\ntwo\nthree");
    // The label keeps the whole text; only what is shown is cut.
    EXPECT_EQ(ToastMessageView("a\nb", 1, 1).messageLabel()->text, "a\nb");
}

}  // namespace
