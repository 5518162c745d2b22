#include "services/ActivityIndicatorView.h"

#include <gtest/gtest.h>

#include "FreshSandboxTest.h"
#include "platform/core/internal/Logging.h"
#include "platform/ui/UIWindow.h"
#include "testsupport/ProcessStateReset.h"

using namespace trc;
using services::ActivityIndicatorView;

namespace {

class LoadingIndicator : public trc::testing::FreshSandboxTest {
protected:
    void SetUp() override {
        FreshSandboxTest::SetUp();
        window->makeKeyAndVisible();
    }
    // Where the indicator is and what it says: "in <view>: text / subText".
    std::string state() const {
        auto indicator = ActivityIndicatorView::shared();
        auto place = indicator->superview();
        std::string where = !place               ? "nowhere"
                            : place == window    ? "key window"
                            : place == row       ? "row"
                            : place == otherView ? "other view"
                                                 : "somewhere else";
        return where + ": " + indicator->text().value_or("-") + " / " + indicator->subText().value_or("-");
    }
    static std::size_t warnings() {
        std::size_t n = 0;
        for (const auto& r : core::internal::Logging::captured()) n += r.severity == core::Severity::warn;
        return n;
    }

    std::shared_ptr<ui::UIWindow> window = std::make_shared<ui::UIWindow>();
    std::shared_ptr<ui::UIView> row = std::make_shared<ui::UIView>(ui::CGRect(0, 100, 320, 44));
    std::shared_ptr<ui::UIView> otherView = std::make_shared<ui::UIView>(ui::CGRect(0, 0, 200, 300));
};

TEST_F(LoadingIndicator, ShownInTheGivenViewOnTopAndAsLargeAsIt) {
    ActivityIndicatorView::dismiss();  // never shown: nothing to do
    row->addSubview(std::make_shared<ui::UILabel>());
    ActivityIndicatorView::show({{"text", "Loading"}, {"subText", "Please wait"}, {"view", row}});
    EXPECT_EQ(state(), "row: Loading / Please wait");
    EXPECT_EQ(row->subviews().back(), ActivityIndicatorView::shared());
    EXPECT_EQ(ActivityIndicatorView::shared()->frame(), ui::CGRect(0, 0, 320, 44));
    EXPECT_TRUE(ActivityIndicatorView::shared()->isAnimating());
    EXPECT_FALSE(ActivityIndicatorView::shared()->subTextLabel()->isHidden());
}

TEST_F(LoadingIndicator, ShowingAgainMovesTheOneIndicatorAndReplacesBothTexts) {
    ActivityIndicatorView::show({{"text", "Loading"}, {"subText", "rows"}, {"view", row}});
    auto first = ActivityIndicatorView::shared();
    ActivityIndicatorView::show({{"text", ""}, {"view", otherView}});
    EXPECT_EQ(ActivityIndicatorView::shared(), first);
    EXPECT_EQ(state(), "other view:  / -");  // an empty text, no sub-text
    EXPECT_TRUE(row->subviews().empty());
    EXPECT_EQ(first->frame(), ui::CGRect(0, 0, 200, 300));
    EXPECT_TRUE(first->subTextLabel()->isHidden());
    // Without a view it goes to the key window.
    ActivityIndicatorView::show({{"text", "Copying"}});
    EXPECT_EQ(state(), "key window: Copying / -");
    EXPECT_TRUE(otherView->subviews().empty());
    ActivityIndicatorView::dismiss();
    ActivityIndicatorView::dismiss();
    EXPECT_EQ(state(), "nowhere: Copying / -");
    EXPECT_FALSE(first->isAnimating());
}

TEST_F(LoadingIndicator, BadParametersFallBackAndAreLogged) {
    ActivityIndicatorView::show({{"text", 42}, {"subText", core::Value()}, {"view", "not a view"}});
    EXPECT_EQ(state(), "key window: - / -");
    EXPECT_EQ(warnings(), 2u);
}

TEST_F(LoadingIndicator, WithNowhereToGoItLeavesItsOldPlaceAndIsNotShown) {
    ActivityIndicatorView::show({{"text", "Loading"}, {"view", row}});
    core::ProcessStateReset::resetAll();  // no windows any more, no indicator
    EXPECT_TRUE(row->subviews().empty());
    ActivityIndicatorView::show({{"text", "Loading"}, {"view", row}});
    ActivityIndicatorView::show({{"text", "Again"}});
    EXPECT_EQ(state(), "nowhere: Again / -");
    EXPECT_TRUE(row->subviews().empty());
}

TEST_F(LoadingIndicator, AResetGivesANewIndicatorAndAGoneViewLeavesNothingBehind) {
    auto view = std::make_shared<ui::UIView>();
    std::weak_ptr<ui::UIView> gone = view;
    ActivityIndicatorView::show({{"view", view}});
    auto before = ActivityIndicatorView::shared();
    view.reset();  // the host lets the row go while the indicator is in it
    EXPECT_TRUE(gone.expired());
    EXPECT_FALSE(ActivityIndicatorView::isShown());
    ActivityIndicatorView::show({{"view", row}});
    EXPECT_EQ(state(), "row: - / -");
    core::ProcessStateReset::resetAll();
    EXPECT_NE(ActivityIndicatorView::shared(), before);
    EXPECT_FALSE(ActivityIndicatorView::isShown());
}

}  // namespace
