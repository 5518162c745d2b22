#include "platform/ui/UILayoutGuide.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

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
        content->addSubview(sibling);
    }

    std::shared_ptr<UIView> table = std::make_shared<UIView>();
    std::shared_ptr<UIView> cell = std::make_shared<UIView>();
    std::shared_ptr<UIView> content = std::make_shared<UIView>();
    std::shared_ptr<UIView> hosted = std::make_shared<UIView>();
    std::shared_ptr<UIView> inner = std::make_shared<UIView>();
    std::shared_ptr<UIView> sibling = std::make_shared<UIView>();
};

TEST_F(GuideConstraints, AViewKeepsOneGuideOfEachKindAndTakesItBackWhenAskedAgain) {
    auto margins = table->layoutMarginsGuide();
    auto readable = table->readableContentGuide();
    EXPECT_EQ(table->layoutMarginsGuide(), margins);
    EXPECT_NE(readable, margins);
    EXPECT_EQ(table->layoutGuides(), (std::vector{margins, readable}));
    auto c = NSLayoutConstraint::makeToGuide(hosted, A::Leading, margins, A::Leading);
    EXPECT_EQ(c->secondItem(), nullptr);
    EXPECT_EQ(c->secondOwningView(), table);

    cell->addLayoutGuide(margins);
    EXPECT_EQ(c->secondOwningView(), cell);
    EXPECT_EQ(table->layoutGuides(), std::vector{readable});
    EXPECT_EQ(table->layoutMarginsGuide(), margins);
    EXPECT_TRUE(cell->layoutGuides().empty());
    EXPECT_EQ(c->secondOwningView(), table);
}

TEST_F(GuideConstraints, AViewLeavingDropsEveryConstraintBetweenItsSubtreeAndTheRest) {
    auto toGuide = NSLayoutConstraint::makeToGuide(hosted, A::Leading, table->layoutMarginsGuide(), A::Leading);
    auto toContent = NSLayoutConstraint::make(hosted, A::Trailing, content, A::Trailing);
    auto contentToHosted = NSLayoutConstraint::make(content, A::Height, hosted, A::Height);
    auto cellToInner = NSLayoutConstraint::make(cell, A::Top, inner, A::Top);
    auto withinHosted = NSLayoutConstraint::make(hosted, A::Width, inner, A::Width);
    auto guideWithinHosted =
        NSLayoutConstraint::makeToGuide(inner, A::Leading, hosted->layoutMarginsGuide(), A::Leading);
    auto siblingToHosted = NSLayoutConstraint::make(sibling, A::Top, hosted, A::Bottom);
    auto innerToCellGuide =
        NSLayoutConstraint::makeToGuide(inner, A::Trailing, cell->layoutMarginsGuide(), A::Trailing);
    auto unrelated = NSLayoutConstraint::make(content, A::Top, cell, A::Top);
    NSLayoutConstraint::activate({toGuide, toContent, contentToHosted, cellToInner, withinHosted, guideWithinHosted,
                                  siblingToHosted, innerToCellGuide, unrelated});

    hosted->removeFromSuperview();
    EXPECT_FALSE(toGuide->isActive());
    EXPECT_FALSE(toContent->isActive());
    EXPECT_FALSE(contentToHosted->isActive()) << "kept by the superview, still about the view that left";
    EXPECT_FALSE(cellToInner->isActive()) << "kept further up, about a subview of the view that left";
    EXPECT_FALSE(siblingToHosted->isActive()) << "kept by a view beside it";
    EXPECT_FALSE(innerToCellGuide->isActive()) << "kept by a subview of the view that left";
    EXPECT_TRUE(withinHosted->isActive());
    EXPECT_TRUE(guideWithinHosted->isActive());
    EXPECT_TRUE(unrelated->isActive());
    EXPECT_EQ(content->constraints().size(), 1u);
    EXPECT_EQ(cell->constraints().size(), 0u);
}

TEST_F(GuideConstraints, AGuideCountsAsPartOfTheViewThatOwnsItWhenTheViewLeaves) {
    auto guide = hosted->layoutMarginsGuide();
    auto siblingToGuide = NSLayoutConstraint::makeToGuide(sibling, A::Top, guide, A::Top);
    auto cellToMovedGuide = NSLayoutConstraint::makeToGuide(cell, A::Top, inner->readableContentGuide(), A::Top);
    NSLayoutConstraint::activate({siblingToGuide, cellToMovedGuide});
    content->addLayoutGuide(inner->readableContentGuide());  // now owned outside the leaving subtree

    hosted->removeFromSuperview();
    EXPECT_FALSE(siblingToGuide->isActive()) << "the guide left with its view";
    EXPECT_TRUE(cellToMovedGuide->isActive()) << "the guide stayed behind with its new view";
}

TEST_F(GuideConstraints, OnlyConstraintsWithinTheTreeLeftBehindAreDropped) {
    auto elsewhere = std::make_shared<UIView>();  // in no tree with the others
    auto elsewhereToHosted = NSLayoutConstraint::make(elsewhere, A::Top, hosted, A::Top);
    auto hostedToElsewhere = NSLayoutConstraint::make(hosted, A::Top, elsewhere, A::Bottom);
    auto tableToInner = NSLayoutConstraint::make(table, A::Width, inner, A::Width);
    NSLayoutConstraint::activate({elsewhereToHosted, hostedToElsewhere, tableToInner});
    NSLayoutConstraint::deactivate({tableToInner});

    hosted->removeFromSuperview();
    EXPECT_TRUE(elsewhereToHosted->isActive()) << "kept by a view outside the tree the view left";
    EXPECT_FALSE(hostedToElsewhere->isActive()) << "kept inside the leaving subtree, about a view outside it";
    EXPECT_FALSE(tableToInner->isActive());
    EXPECT_TRUE(table->constraints().empty());

    content->addSubview(hosted);
    NSLayoutConstraint::activate({tableToInner});
    elsewhere.reset();  // a view that goes drops what it kept
    inner->removeFromSuperview();
    EXPECT_FALSE(tableToInner->isActive()) << "a constraint activated again is found again";
}

TEST_F(GuideConstraints, ConstraintsFollowTheirViewsAndGuidesWhereverTheyMove) {
    auto other = std::make_shared<UIView>();
    table->addSubview(other);
    auto innerGuide = inner->layoutMarginsGuide();
    auto otherToInner = NSLayoutConstraint::make(other, A::Top, inner, A::Top);
    auto siblingToGuide = NSLayoutConstraint::makeToGuide(sibling, A::Leading, innerGuide, A::Leading);
    NSLayoutConstraint::activate({otherToInner, siblingToGuide});

    other->addSubview(hosted);  // a move is a leave: what reached out of hosted goes
    EXPECT_FALSE(otherToInner->isActive());
    EXPECT_FALSE(siblingToGuide->isActive());
    NSLayoutConstraint::activate({otherToInner, siblingToGuide});
    sibling->addLayoutGuide(innerGuide);  // the guide now lies outside hosted
    hosted->removeFromSuperview();
    EXPECT_FALSE(otherToInner->isActive());
    EXPECT_TRUE(siblingToGuide->isActive()) << "both ends stayed behind";

    other->addSubview(hosted);
    hosted->addLayoutGuide(innerGuide);
    NSLayoutConstraint::activate({otherToInner});
    other->removeFromSuperview();  // takes hosted, inner and the guide along
    EXPECT_TRUE(otherToInner->isActive()) << "both ends left together";
    EXPECT_FALSE(siblingToGuide->isActive());

    NSLayoutConstraint::deactivate({otherToInner});
    hosted->removeFromSuperview();
    EXPECT_FALSE(otherToInner->isActive());
    auto leftAlone = std::make_shared<UIView>();
    leftAlone->addSubview(hosted);
    auto held = NSLayoutConstraint::make(hosted, A::Width, leftAlone, A::Width);
    NSLayoutConstraint::activate({held});
    hosted->removeFromSuperview();
    EXPECT_FALSE(held->isActive()) << "a view that never had a constraint before still finds one kept inside it";
}

// A constraint remade for other items keeps nothing of where it pointed
// before: the views it named then may leave or stay without touching it,
// and the views it names now take it down when they part.
TEST_F(GuideConstraints, ARemadeConstraintAnswersOnlyToItsNewItems) {
    auto otherContent = std::make_shared<UIView>();
    auto otherHosted = std::make_shared<UIView>();
    table->addSubview(otherContent);
    otherContent->addSubview(otherHosted);
    std::shared_ptr<NSLayoutConstraint> side;
    std::shared_ptr<NSLayoutConstraint> height;
    std::shared_ptr<NSLayoutConstraint> toGuide;
    NSLayoutConstraint::remake(side, hosted, A::Leading, content, A::Leading);
    NSLayoutConstraint::remake(height, content, A::Height, hosted, A::Height);
    NSLayoutConstraint::remakeToGuide(toGuide, hosted, A::Trailing, table->layoutMarginsGuide(), A::Trailing);
    NSLayoutConstraint::activate({side, height, toGuide});
    const std::vector kept{side, height, toGuide};

    NSLayoutConstraint::remake(side, otherHosted, A::Leading, otherContent, A::Leading, 4);
    NSLayoutConstraint::remake(height, otherContent, A::Height, otherHosted, A::Height);
    NSLayoutConstraint::remakeToGuide(toGuide, otherHosted, A::Trailing, otherContent->readableContentGuide(),
                                      A::Trailing);
    EXPECT_EQ((std::vector{side, height, toGuide}), kept) << "the same constraints, pointed elsewhere";
    EXPECT_TRUE(hosted->constraints().empty());
    EXPECT_TRUE(content->constraints().empty());
    EXPECT_FALSE(side->isActive()) << "remade out of force until activated";
    NSLayoutConstraint::activate({side, height, toGuide});
    EXPECT_EQ(side->description(), "leading = superview.leading + 4");
    EXPECT_EQ(height->description(), "height = subview.height");
    EXPECT_EQ(toGuide->description(), "trailing = readableContentGuide.trailing");
    EXPECT_EQ(toGuide->secondOwningView(), otherContent);

    hosted->removeFromSuperview();
    content->removeFromSuperview();
    EXPECT_TRUE(side->isActive() && height->isActive() && toGuide->isActive()) << "their old items left";
    otherHosted->removeFromSuperview();
    EXPECT_FALSE(side->isActive());
    EXPECT_FALSE(height->isActive());
    EXPECT_FALSE(toGuide->isActive());
    EXPECT_TRUE(otherContent->constraints().empty());

    NSLayoutConstraint::activate({side});
    NSLayoutConstraint::remake(side, otherHosted, A::Width, otherContent, A::Width);
    EXPECT_NE(side, kept[0]) << "other attributes make a new constraint";
    EXPECT_FALSE(kept[0]->isActive()) << "and the one it replaces goes out of force";
    EXPECT_TRUE(otherHosted->constraints().empty());
}

// A view put in another's place takes over the constraints handed to it in
// force; the view it replaced answers for none of them after, wherever it
// goes, and the new view takes them down when it parts from their other ends.
TEST_F(GuideConstraints, ARetargetedConstraintStaysInForceAndAnswersOnlyToItsNewView) {
    auto fresh = std::make_shared<UIView>();
    auto toGuide = NSLayoutConstraint::makeToGuide(hosted, A::Leading, table->layoutMarginsGuide(), A::Leading);
    auto toContent = NSLayoutConstraint::make(hosted, A::Trailing, content, A::Trailing);
    auto contentToHosted = NSLayoutConstraint::make(content, A::Height, hosted, A::Height);
    auto selfRatio = NSLayoutConstraint::make(hosted, A::Width, hosted, A::Height);
    auto unrelated = NSLayoutConstraint::make(content, A::Top, cell, A::Top);
    auto siblingToHosted = NSLayoutConstraint::make(sibling, A::Top, hosted, A::Bottom);
    NSLayoutConstraint::activate({toGuide, toContent, contentToHosted, selfRatio, unrelated, siblingToHosted});
    siblingToHosted->setActive(false);

    NSLayoutConstraint::retarget({toGuide, toContent, contentToHosted, selfRatio, unrelated, siblingToHosted}, *hosted,
                                 fresh);
    hosted->removeFromSuperview();
    content->addSubview(fresh);
    EXPECT_TRUE(toGuide->isActive() && toContent->isActive() && contentToHosted->isActive() && selfRatio->isActive() &&
                unrelated->isActive());
    EXPECT_FALSE(siblingToHosted->isActive()) << "one out of force stays as it was";
    EXPECT_EQ(siblingToHosted->secondItem(), hosted);
    EXPECT_TRUE(hosted->constraints().empty());
    EXPECT_EQ(fresh->constraints(), (std::vector{toGuide, toContent, selfRatio}));
    EXPECT_EQ(content->constraints(), (std::vector{contentToHosted, unrelated}));
    EXPECT_EQ(toContent->description(), "trailing = superview.trailing");
    EXPECT_EQ(contentToHosted->description(), "height = subview.height");
    EXPECT_EQ(selfRatio->secondItem(), fresh);

    // The old view back in the tree the content leaves keeps none of them.
    cell->addSubview(hosted);
    content->removeFromSuperview();
    EXPECT_TRUE(toContent->isActive() && contentToHosted->isActive() && selfRatio->isActive())
        << "within the content view, which took the new view along";
    EXPECT_FALSE(toGuide->isActive());
    EXPECT_FALSE(unrelated->isActive());

    cell->addSubview(content);
    fresh->removeFromSuperview();
    EXPECT_FALSE(toContent->isActive());
    EXPECT_FALSE(contentToHosted->isActive());
    EXPECT_TRUE(selfRatio->isActive()) << "within the view that left";
    EXPECT_TRUE(content->constraints().empty());
    EXPECT_EQ(fresh->constraints(), std::vector{selfRatio});
}

// A leaving view's constraints are told apart by where their other view is
// now: one whose view is gone constrains nothing and stays as it is (its
// view's memory is never looked at), one to a view made since, outside,
// goes out of force, one within the leaving view stays.
TEST_F(GuideConstraints, ALeavingViewTellsItsConstraintsByWhereTheirOtherViewIsNow) {
    auto gone = std::make_shared<UIView>();
    auto toGone = NSLayoutConstraint::make(hosted, A::Width, gone, A::Width);
    NSLayoutConstraint::activate({toGone});
    gone.reset();
    auto madeSince = std::make_shared<UIView>();
    cell->addSubview(madeSince);
    auto toMadeSince = NSLayoutConstraint::make(hosted, A::Height, madeSince, A::Height);
    auto toInner = NSLayoutConstraint::make(hosted, A::Top, inner, A::Top);
    NSLayoutConstraint::activate({toMadeSince, toInner});

    hosted->removeFromSuperview();
    EXPECT_TRUE(toGone->isActive());
    EXPECT_FALSE(toMadeSince->isActive());
    EXPECT_TRUE(toInner->isActive());
    EXPECT_EQ(hosted->constraints(), (std::vector{toGone, toInner}));
}

// Handing over after the keeper of a constraint naming the old view is gone,
// or its guide's owner is: nothing of theirs is touched, and the new view
// answers only for what it was handed.
TEST_F(GuideConstraints, RetargetPassesOverConstraintsWhoseOtherEndIsGone) {
    auto fresh = std::make_shared<UIView>();
    auto gone = std::make_shared<UIView>();
    auto fromGone = NSLayoutConstraint::make(gone, A::Top, hosted, A::Bottom);
    auto guide = std::make_shared<UILayoutGuide>();
    cell->addLayoutGuide(guide);
    auto toGuide = NSLayoutConstraint::makeToGuide(hosted, A::Leading, guide, A::Leading);
    NSLayoutConstraint::activate({fromGone, toGuide});
    gone.reset();
    cell->removeLayoutGuide(guide);
    guide.reset();

    NSLayoutConstraint::retarget({fromGone, toGuide}, *hosted, fresh);
    content->addSubview(fresh);
    hosted->removeFromSuperview();
    EXPECT_TRUE(hosted->constraints().empty());
    for (const auto& c : fresh->constraints()) EXPECT_EQ(c, toGuide) << c->description();
    EXPECT_NE(fromGone->secondItem(), fresh) << "a constraint whose keeper is gone is not handed over";
    fresh->removeFromSuperview();
}

}  // namespace

// A view that held constraints before has room in its lists; one that never
// did has none. Both take over the same constraints alike (whether the
// lists move whole or entry by entry), and drop the same ones when they
// leave, so the namings at the constraints' other ends followed too.
TEST(RetargetWhole, AViewWithRoomTakesOverExactlyWhatOneWithoutDoes) {
    enum Shape { Pinned, WithSelfRatio, OneOutOfForce, KeptButNotListed, OtherOrder, ToAGuide };
    // Views by role and constraints by their place in the list, so the two rounds compare.
    using Seen = std::vector<std::vector<int>>;
    for (Shape shape : {Pinned, WithSelfRatio, OneOutOfForce, KeptButNotListed, OtherOrder, ToAGuide}) {
        std::vector<Seen> outcomes;
        for (bool roomy : {false, true}) {
            auto cell = std::make_shared<UIView>();
            auto content = std::make_shared<UIView>();
            auto from = std::make_shared<UIView>();
            auto to = std::make_shared<UIView>();
            cell->addSubview(content);
            content->addSubview(from);
            std::vector<std::shared_ptr<NSLayoutConstraint>> earlier;
            for (int i = 0; roomy && i < 4; ++i) {
                earlier.push_back(NSLayoutConstraint::make(to, A::Width, cell, A::Width));
                earlier.push_back(NSLayoutConstraint::make(cell, A::Top, to, A::Top));
            }
            NSLayoutConstraint::activate(earlier);
            NSLayoutConstraint::deactivate(earlier);
            std::vector<std::shared_ptr<NSLayoutConstraint>> listed{
                shape == ToAGuide
                    ? NSLayoutConstraint::makeToGuide(from, A::Leading, cell->layoutMarginsGuide(), A::Leading)
                    : NSLayoutConstraint::make(from, A::Leading, content, A::Leading),
                NSLayoutConstraint::make(from, A::Trailing, content, A::Trailing),
                NSLayoutConstraint::make(content, A::Top, from, A::Top),
                NSLayoutConstraint::make(content, A::Bottom, from, A::Bottom),
                NSLayoutConstraint::make(content, A::Height, from, A::Height),
                NSLayoutConstraint::make(from, A::Width, from, A::Height)};
            NSLayoutConstraint::activate(listed);
            auto extra = NSLayoutConstraint::make(from, A::Width, content, A::Width);
            if (shape == KeptButNotListed) extra->setActive(true);
            if (shape != WithSelfRatio) listed.back()->setActive(false);
            if (shape == OneOutOfForce) listed[3]->setActive(false);
            if (shape == OtherOrder) std::swap(listed[0], listed[1]);
            auto all = listed;
            all.push_back(extra);
            auto role = [&](const std::shared_ptr<UIView>& v) {
                return v == from ? 1 : v == to ? 2 : v == content ? 3 : v == cell ? 4 : v ? 5 : 0;
            };
            auto places = [&](const std::vector<std::shared_ptr<NSLayoutConstraint>>& kept) {
                std::vector<int> at;
                for (const auto& c : kept)
                    at.push_back(static_cast<int>(std::find(all.begin(), all.end(), c) - all.begin()));
                return at;
            };

            const void* fromList = from->constraints().data();
            NSLayoutConstraint::retarget(listed, *from, to);
            if (roomy && shape == Pinned) {
                EXPECT_EQ(to->constraints().data(), fromList) << "the lists moved whole";
            }
            from->removeFromSuperview();
            content->addSubview(to);
            Seen seen{places(from->constraints()), places(to->constraints()), places(content->constraints())};
            for (const auto& c : all) seen.push_back({c->isActive(), role(c->firstItem()), role(c->secondItem())});
            // The content view leaving with the new view keeps what lies within it: a
            // naming still giving the old view (left behind in the cell) as its keeper fails it.
            cell->addSubview(from);
            content->removeFromSuperview();
            for (const auto& c : all) seen.push_back({c->isActive()});
            // The new view leaving takes down what spans it and the content view.
            cell->addSubview(content);
            to->removeFromSuperview();
            for (const auto& c : all) seen.push_back({c->isActive()});
            outcomes.push_back(std::move(seen));
        }
        EXPECT_EQ(outcomes[0], outcomes[1]) << "shape " << shape;
    }
}
