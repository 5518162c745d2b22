#include "services/UIViewConstraintHandler.h"

#include <gtest/gtest.h>

#include <vector>

#include "FreshSandboxTest.h"
#include "platform/core/internal/Logging.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UILayoutGuide.h"
#include "platform/ui/UIView.h"

using namespace trc;
using services::UIViewConstraintHandler;
using ui::UILayoutGuide;
using ui::UIView;

namespace {

std::string constraintsOf(const UIView& view) {
    std::string out;
    for (const auto& c : view.constraints()) out += "[" + c->description() + (c->isActive() ? "" : " (off)") + "]";
    return out;
}

class GuidePinning : public trc::testing::FreshSandboxTest {
protected:
    std::shared_ptr<UIView> table = std::make_shared<UIView>();
    std::shared_ptr<UIView> content = std::make_shared<UIView>();
    std::shared_ptr<UIView> drawing = std::make_shared<UIView>();
    void SetUp() override {
        FreshSandboxTest::SetUp();
        table->addSubview(content);
        content->addSubview(drawing);
    }
};

TEST_F(GuidePinning, PinsTopAndBottomToTheSuperViewAndTheSidesToTheGuide) {
    UIViewConstraintHandler::applyLeadTrailGuideConstraint(content, drawing, table->readableContentGuide());
    EXPECT_FALSE(drawing->translatesAutoresizingMaskIntoConstraints);
    EXPECT_EQ(constraintsOf(*drawing),
              "[top = superview.top][bottom = superview.bottom]"
              "[leading = readableContentGuide.leading][trailing = readableContentGuide.trailing]");
    const auto leading = drawing->constraints()[2];
    EXPECT_EQ(leading->secondGuide(), table->readableContentGuide());
    EXPECT_EQ(leading->secondGuide()->owningView(), table);
    EXPECT_FALSE(leading->secondItem());
    EXPECT_TRUE(content->constraints().empty());
}

TEST_F(GuidePinning, KeptConstraintsArePointedAtTheNextViewInsteadOfMadeAgain) {
    std::vector<std::shared_ptr<ui::NSLayoutConstraint>> kept;
    UIViewConstraintHandler::applyLeadTrailGuideConstraint(content, drawing, table->layoutMarginsGuide(), kept);
    ASSERT_EQ(kept.size(), 4u);
    const auto first = kept;
    auto next = std::make_shared<UIView>();
    drawing->removeFromSuperview();
    content->addSubview(next);
    UIViewConstraintHandler::applyLeadTrailGuideConstraint(content, next, table->readableContentGuide(), kept);
    EXPECT_EQ(kept, first);
    EXPECT_EQ(constraintsOf(*next),
              "[top = superview.top][bottom = superview.bottom]"
              "[leading = readableContentGuide.leading][trailing = readableContentGuide.trailing]");
    EXPECT_TRUE(drawing->constraints().empty());
    next->removeFromSuperview();
    EXPECT_TRUE(next->constraints().empty()) << "the view's leaving still takes them out of force";
}

TEST_F(GuidePinning, AMissingPartAddsNothingAndIsLogged) {
    UIViewConstraintHandler::applyLeadTrailGuideConstraint(content, drawing, nullptr);
    UIViewConstraintHandler::applyLeadTrailGuideConstraint(nullptr, drawing, table->layoutMarginsGuide());
    UIViewConstraintHandler::applyLeadTrailGuideConstraint(content, nullptr, table->layoutMarginsGuide());
    EXPECT_TRUE(drawing->translatesAutoresizingMaskIntoConstraints);
    EXPECT_TRUE(drawing->constraints().empty());
    EXPECT_EQ(core::internal::Logging::captured().size(), 3u);
}

TEST(LayoutGuides, NeitherGuidesNorConstraintsKeepTheirViewsAlive) {
    std::weak_ptr<UIView> gone;
    std::shared_ptr<UILayoutGuide> guide;
    std::shared_ptr<ui::NSLayoutConstraint> c;
    auto sub = std::make_shared<UIView>();
    {
        auto view = std::make_shared<UIView>();
        gone = view;
        guide = view->layoutMarginsGuide();
        c = ui::NSLayoutConstraint::makeToGuide(sub, ui::NSLayoutConstraint::Attribute::Leading, guide,
                                                ui::NSLayoutConstraint::Attribute::Leading, 8);
    }
    EXPECT_TRUE(gone.expired());
    EXPECT_FALSE(guide->owningView());
    EXPECT_EQ(c->description(), "leading = layoutMarginsGuide.leading + 8");
    guide.reset();
    EXPECT_EQ(c->description(), "leading = 8");
}

}  // namespace
