#include "platform/ui/UILayoutGuide.h"

#include <gtest/gtest.h>

#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIView.h"

using namespace trc::ui;

namespace {

using A = NSLayoutConstraint::Attribute;

// A table-like view holding a cell whose content view holds a hosted view.
class GuideConstraints : public ::testing::Test {
protected:
    void SetUp() override {
        table->addSubview(cell);
        cell->addSubview(content);
        content->addSubview(hosted);
        hosted->addSubview(inner);
    }

    std::shared_ptr<UIView> table = std::make_shared<UIView>();
    std::shared_ptr<UIView> cell = std::make_shared<UIView>();
    std::shared_ptr<UIView> content = std::make_shared<UIView>();
    std::shared_ptr<UIView> hosted = std::make_shared<UIView>();
    std::shared_ptr<UIView> inner = std::make_shared<UIView>();
};

TEST_F(GuideConstraints, AViewKeepsOneGuideOfEachKindNamedForDescriptions) {
    auto margins = table->layoutMarginsGuide();
    EXPECT_EQ(table->layoutMarginsGuide(), margins);
    EXPECT_NE(table->readableContentGuide(), margins);
    EXPECT_EQ(margins->owningView(), table);
    auto c = NSLayoutConstraint::makeToGuide(hosted, A::Leading, table->readableContentGuide(), A::Leading, 8);
    EXPECT_EQ(c->description(), "leading = readableContentGuide.leading + 8");
    EXPECT_EQ(c->secondItem(), nullptr);
    EXPECT_EQ(c->secondOwningView(), table);
}

TEST_F(GuideConstraints, AViewLeavingDropsEveryConstraintBetweenItsSubtreeAndTheRest) {
    auto toGuide = NSLayoutConstraint::makeToGuide(hosted, A::Leading, table->layoutMarginsGuide(), A::Leading);
    auto toContent = NSLayoutConstraint::make(hosted, A::Trailing, content, A::Trailing);
    auto contentToHosted = NSLayoutConstraint::make(content, A::Height, hosted, A::Height);
    auto cellToInner = NSLayoutConstraint::make(cell, A::Top, inner, A::Top);
    auto withinHosted = NSLayoutConstraint::make(hosted, A::Width, inner, A::Width);
    auto guideWithinHosted = NSLayoutConstraint::makeToGuide(inner, A::Leading, hosted->layoutMarginsGuide(), A::Leading);
    auto unrelated = NSLayoutConstraint::make(content, A::Top, cell, A::Top);
    NSLayoutConstraint::activate(
        {toGuide, toContent, contentToHosted, cellToInner, withinHosted, guideWithinHosted, unrelated});

    hosted->removeFromSuperview();
    EXPECT_FALSE(toGuide->isActive());
    EXPECT_FALSE(toContent->isActive());
    EXPECT_FALSE(contentToHosted->isActive()) << "kept by the superview, still about the view that left";
    EXPECT_FALSE(cellToInner->isActive()) << "kept further up, about a subview of the view that left";
    EXPECT_TRUE(withinHosted->isActive());
    EXPECT_TRUE(guideWithinHosted->isActive());
    EXPECT_TRUE(unrelated->isActive());
    EXPECT_EQ(content->constraints().size(), 1u);
    EXPECT_EQ(cell->constraints().size(), 0u);
}

}  // namespace
