#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <utility>
#include <vector>

#include "platform/dispatch/MainQueue.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UILayoutGuide.h"
#include "platform/ui/UIView.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindow.h"
#include "testsupport/ProcessStateReset.h"

using namespace trc;
using namespace trc::ui;

namespace {

TEST(ViewTree, AddingAViewWithASuperviewMovesIt) {
    auto a = std::make_shared<UIView>();
    auto b = std::make_shared<UIView>();
    auto child = std::make_shared<UIView>();
    a->addSubview(child);
    b->addSubview(child);
    EXPECT_TRUE(a->subviews().empty());
    EXPECT_EQ(child->superview(), b);
    EXPECT_TRUE(child->superviewIs(b.get()));
    EXPECT_FALSE(child->superviewIs(a.get()));
    EXPECT_FALSE(child->superviewIs(nullptr));
    child->removeFromSuperview();
    EXPECT_TRUE(b->subviews().empty());
    EXPECT_EQ(child->superview(), nullptr);
    EXPECT_TRUE(child->superviewIs(nullptr));
    EXPECT_FALSE(child->superviewIs(b.get()));
}

// A view handed over by the only references there are (its own slot in the
// list, its old superview) lives on in its new place.
TEST(ViewTree, AViewHeldOnlyByItsPlaceSurvivesBeingMoved) {
    auto parent = std::make_shared<UIView>();
    parent->addSubview(std::make_shared<UIView>());
    parent->addSubview(std::make_shared<UIView>());
    const std::vector<UIView*> before{parent->subviews()[0].get(), parent->subviews()[1].get()};
    parent->insertSubview(parent->subviews()[0], 2);
    EXPECT_EQ(parent->subviews()[0].get(), before[1]);
    EXPECT_EQ(parent->subviews()[1].get(), before[0]);
    EXPECT_EQ(parent->subviews()[1]->superview(), parent);

    auto other = std::make_shared<UIView>();
    other->addSubview(parent->subviews()[1]);
    ASSERT_EQ(other->subviews().size(), 1u);
    EXPECT_EQ(other->subviews()[0].get(), before[0]);
    EXPECT_EQ(other->subviews()[0]->superview(), other);
    EXPECT_EQ(parent->subviews().size(), 1u);
}

// Subviews keep their order through every way in and out, whichever end
// a removal is nearer; checked against a plain list after each change.
TEST(ViewTree, SubviewsKeepTheirOrderThroughAddsInsertsMovesAndRemovals) {
    auto parent = std::make_shared<UIView>();
    auto elsewhere = std::make_shared<UIView>();
    std::vector<std::shared_ptr<UIView>> pool;
    for (int i = 0; i < 12; ++i) pool.push_back(std::make_shared<UIView>());
    std::vector<UIView*> expected;
    auto check = [&](int step) {
        auto shown = parent->subviews();
        ASSERT_EQ(shown.size(), expected.size()) << "step " << step;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(shown[i].get(), expected[i]) << "step " << step << " at " << i;
            EXPECT_EQ(shown[i]->superview(), parent);
        }
        if (!expected.empty()) {
            EXPECT_EQ(shown.front().get(), expected.front());
            EXPECT_EQ(shown.back().get(), expected.back());
        }
        const auto listed = parent->valueForKey("subviews");
        ASSERT_NE(listed.ifArray(), nullptr);
        EXPECT_EQ(listed.ifArray()->size(), expected.size());
    };
    std::mt19937 rng(7);
    for (int step = 0; step < 600; ++step) {
        const auto& view = pool[rng() % pool.size()];
        const auto at = std::find(expected.begin(), expected.end(), view.get());
        const std::size_t index = rng() % (expected.size() + 2);
        switch (rng() % 5) {
        case 0:
        case 1:  // in at the end, or moved there from where it was
            if (at != expected.end()) expected.erase(at);
            expected.push_back(view.get());
            parent->addSubview(view);
            break;
        case 2: {  // in at a place, or moved to it
            std::size_t place = index;
            if (at != expected.end()) {
                const auto old = static_cast<std::size_t>(at - expected.begin());
                expected.erase(at);
                if (place > old) --place;
            }
            expected.insert(expected.begin() + static_cast<std::ptrdiff_t>(std::min(place, expected.size())),
                            view.get());
            parent->insertSubview(view, index);
            break;
        }
        case 3:  // out
            if (at != expected.end()) expected.erase(at);
            view->removeFromSuperview();
            break;
        case 4:  // over to another view
            if (at != expected.end()) expected.erase(at);
            elsewhere->addSubview(view);
            break;
        }
        check(step);
        if (::testing::Test::HasFailure()) return;
    }
    // A copy walked while every view leaves sees them all.
    int removed = 0;
    for (const auto& view : std::vector<std::shared_ptr<UIView>>(parent->subviews())) {
        view->removeFromSuperview();
        ++removed;
    }
    EXPECT_EQ(static_cast<std::size_t>(removed), expected.size());
    EXPECT_TRUE(parent->subviews().empty());
    parent->addSubview(pool.front());
    EXPECT_EQ(parent->subviews().size(), 1u);
}

TEST(ViewTree, AViewThatLosesItsFirstSubviewAndGainsALastOneKeepsThemInOrder) {
    // As a scrolling table does at every step, long enough for the room at
    // the front to be taken back many times, the list growing once.
    for (std::size_t count : {1U, 3U, 20U}) {
        SCOPED_TRACE("subviews " + std::to_string(count));
        auto parent = std::make_shared<UIView>();
        std::vector<std::shared_ptr<UIView>> expected;
        for (std::size_t i = 0; i < count; ++i) {
            expected.push_back(std::make_shared<UIView>());
            parent->addSubview(expected.back());
        }
        for (int step = 0; step < 300; ++step) {
            auto leaving = expected.front();
            expected.erase(expected.begin());
            leaving->removeFromSuperview();
            // Every third step the view that left comes back at the end.
            expected.push_back(step % 3 == 0 ? leaving : std::make_shared<UIView>());
            parent->addSubview(expected.back());
            const auto shown = parent->subviews();
            ASSERT_EQ(shown.size(), count) << "step " << step;
            for (std::size_t i = 0; i < count; ++i) {
                ASSERT_EQ(shown[i], expected[i]) << "step " << step << " at " << i;
                ASSERT_TRUE(shown[i]->superviewIs(parent.get()));
            }
            if (step % 3 != 0) {
                EXPECT_FALSE(leaving->superview());
            }
        }
    }
}

TEST(ViewTree, ACycleIsRefused) {
    auto a = std::make_shared<UIView>();
    auto b = std::make_shared<UIView>();
    a->addSubview(b);
    b->addSubview(a);
    EXPECT_EQ(a->superview(), nullptr);
    a->addSubview(a);
    EXPECT_EQ(a->subviews().size(), 1u);
}

TEST(ViewTree, ViewWithTagSearchesDepthFirstIncludingItself) {
    auto root = std::make_shared<UIView>();
    auto left = std::make_shared<UIView>();
    auto deep = std::make_shared<UIView>();
    auto right = std::make_shared<UIView>();
    deep->tag = 7;
    right->tag = 7;
    left->addSubview(deep);
    root->addSubview(left);
    root->addSubview(right);
    EXPECT_EQ(root->viewWithTag(7), deep);
    EXPECT_EQ(root->viewWithTag(0), root);
    EXPECT_EQ(root->viewWithTag(99), nullptr);
}

TEST(ViewTree, ControllerIsFoundThroughSuperviews) {
    auto vc = std::make_shared<UIViewController>();
    auto inner = std::make_shared<UIView>();
    auto innermost = std::make_shared<UIView>();
    vc->view()->addSubview(inner);
    inner->addSubview(innermost);
    EXPECT_EQ(innermost->controller(), vc);
    EXPECT_EQ(vc->view()->controller(), vc);
    EXPECT_EQ(std::make_shared<UIView>()->controller(), nullptr);
}

TEST(ViewTree, PropertiesAnswerValueForKey) {
    auto label = std::make_shared<UILabel>();
    label->text = "Hello";
    label->setHidden(true);
    label->nuiClass = "Title";
    EXPECT_EQ(label->valueForKey("text"), core::Value("Hello"));
    EXPECT_EQ(label->valueForKey("isHidden"), core::Value(true));
    EXPECT_EQ(label->valueForKey("nuiClass"), core::Value("Title"));
    EXPECT_EQ(label->className(), "UILabel");
    EXPECT_TRUE(std::make_shared<UILabel>()->valueForKey("text").isNil());
}

TEST(Constraints, ActivateHandsTheConstraintToItsFirstItem) {
    auto parent = std::make_shared<UIView>();
    auto child = std::make_shared<UIView>();
    parent->addSubview(child);
    using A = NSLayoutConstraint::Attribute;
    auto top = NSLayoutConstraint::make(child, A::Top, parent, A::Top, 56);
    auto width = NSLayoutConstraint::make(child, A::Width, parent, A::Width);
    NSLayoutConstraint::activate({top, width, nullptr});
    ASSERT_EQ(child->constraints().size(), 2u);
    EXPECT_EQ(top->description(), "top = superview.top + 56");
    EXPECT_TRUE(top->isActive());
    NSLayoutConstraint::deactivate({top});
    EXPECT_EQ(child->constraints().size(), 1u);
}

TEST(Constraints, AConstraintDoesNotKeepItsViewsAlive) {
    std::weak_ptr<UIView> gone;
    std::shared_ptr<NSLayoutConstraint> c;
    {
        auto v = std::make_shared<UIView>();
        gone = v;
        c = NSLayoutConstraint::make(v, NSLayoutConstraint::Attribute::Height, nullptr,
                                     NSLayoutConstraint::Attribute::NotAnAttribute, 44);
    }
    EXPECT_TRUE(gone.expired());
    c->setActive(true);
    EXPECT_FALSE(c->isActive());
}

TEST(Constraints, ItemQuestionsAgreeWithTheItemsThroughRemakesAndGoneViews) {
    using A = NSLayoutConstraint::Attribute;
    using C = NSLayoutConstraint;
    auto a = std::make_shared<UIView>();
    auto b = std::make_shared<UIView>();
    auto guide = std::make_shared<UILayoutGuide>();
    const auto agrees = [](const C& c) {
        return c.firstItemIs(c.firstItem().get()) && c.secondItemIs(c.secondItem().get()) &&
               c.secondGuideIs(c.secondGuide().get());
    };
    std::shared_ptr<C> slot;
    C::remake(slot, a, A::Top, b, A::Top);
    EXPECT_TRUE(agrees(*slot));
    EXPECT_TRUE(slot->firstItemIs(a.get()) && slot->secondItemIs(b.get()) && slot->secondGuideIs(nullptr));
    EXPECT_FALSE(slot->firstItemIs(b.get()) || slot->secondItemIs(a.get()) || slot->firstItemIs(nullptr));
    C::remakeToGuide(slot, b, A::Top, guide, A::Top);
    EXPECT_TRUE(agrees(*slot));
    EXPECT_TRUE(slot->firstItemIs(b.get()) && slot->secondItemIs(nullptr) && slot->secondGuideIs(guide.get()));
    C::remake(slot, a, A::Top, b, A::Top);
    EXPECT_TRUE(slot->secondGuideIs(nullptr));

    // A gone item is no item, and a view made after it (often at the same
    // address) is not it either.
    const UIView* was = a.get();
    a.reset();
    EXPECT_TRUE(agrees(*slot));
    EXPECT_TRUE(slot->firstItemIs(nullptr));
    EXPECT_FALSE(slot->firstItemIs(was));
    auto after = std::make_shared<UIView>();
    EXPECT_FALSE(slot->firstItemIs(after.get()));
}

TEST(Buttons, PressSendsActionsOnlyWhenTheButtonAcceptsInput) {
    auto button = std::make_shared<UIButton>();
    int taps = 0;
    button->addAction(UIControl::Event::TouchUpInside, [&](UIControl&) { ++taps; });
    EXPECT_TRUE(button->press());
    button->setEnabled(false);
    EXPECT_FALSE(button->press());
    button->setEnabled(true);
    button->setHidden(true);
    EXPECT_FALSE(button->press());
    EXPECT_EQ(taps, 1);
}

TEST(Buttons, TitleFallsBackToNormal) {
    UIButton button;
    button.setTitle("Go");
    button.setTitle("Wait", UIControl::State::Disabled);
    EXPECT_EQ(button.currentTitle(), "Go");
    button.setEnabled(false);
    EXPECT_EQ(button.currentTitle(), "Wait");
    EXPECT_EQ(button.title(UIControl::State::Selected), "Go");
}

// A view that takes focus, recording when it gains and loses it.
class FocusView : public UIView {
public:
    bool refuseResign = false;
    bool leaveOnResign = false;  // a view that takes itself away when it loses focus
    int became = 0;
    int resigned = 0;
    bool canBecomeFirstResponder() const override { return true; }
    bool canResignFirstResponder() const override { return !refuseResign; }

protected:
    void didBecomeFirstResponder() override { ++became; }
    void didResignFirstResponder() override {
        ++resigned;
        if (leaveOnResign) removeFromSuperview();
    }
};

class FirstResponder : public ::testing::Test {
protected:
    void SetUp() override {
        core::ProcessStateReset::resetAll();
        dispatch::MainQueue::resetShared();
        window->addSubview(a);
        window->addSubview(b);
    }
    std::shared_ptr<UIWindow> window = std::make_shared<UIWindow>();
    std::shared_ptr<FocusView> a = std::make_shared<FocusView>();
    std::shared_ptr<FocusView> b = std::make_shared<FocusView>();
};

TEST_F(FirstResponder, OnePerWindow) {
    EXPECT_TRUE(a->becomeFirstResponder());
    EXPECT_TRUE(b->becomeFirstResponder());
    EXPECT_FALSE(a->isFirstResponder());
    EXPECT_TRUE(b->isFirstResponder());
    EXPECT_EQ(a->resigned, 1);
    EXPECT_TRUE(b->resignFirstResponder());
    EXPECT_EQ(window->firstResponder(), nullptr);
}

TEST_F(FirstResponder, ARefusalToResignKeepsFocus) {
    a->becomeFirstResponder();
    a->refuseResign = true;
    EXPECT_FALSE(b->becomeFirstResponder());
    EXPECT_TRUE(a->isFirstResponder());
}

TEST_F(FirstResponder, NeedsAWindowAndAWillingView) {
    auto loose = std::make_shared<FocusView>();
    EXPECT_FALSE(loose->becomeFirstResponder());
    auto plain = std::make_shared<UIView>();
    window->addSubview(plain);
    EXPECT_FALSE(plain->becomeFirstResponder());
}

TEST_F(FirstResponder, LeavingTheWindowResigns) {
    auto holder = std::make_shared<UIView>();
    auto inner = std::make_shared<FocusView>();
    holder->addSubview(inner);
    window->addSubview(holder);
    inner->refuseResign = true;
    ASSERT_TRUE(inner->becomeFirstResponder());
    holder->removeFromSuperview();
    EXPECT_EQ(window->firstResponder(), nullptr);
    EXPECT_EQ(inner->resigned, 1);
}

// Losing focus while being removed may remove the view already; the removal
// that began it then has nothing left to do, constraints included.
TEST_F(FirstResponder, AViewThatLeavesAsItResignsIsRemovedOnce) {
    auto holder = std::make_shared<UIView>();
    window->addSubview(holder);
    holder->addSubview(a);
    using A = NSLayoutConstraint::Attribute;
    auto inner = std::make_shared<UIView>();
    a->addSubview(inner);
    auto top = NSLayoutConstraint::make(a, A::Top, holder, A::Top, 8);
    auto inside = NSLayoutConstraint::make(inner, A::Top, a, A::Top, 4);
    NSLayoutConstraint::activate({top, inside});
    a->leaveOnResign = true;
    ASSERT_TRUE(a->becomeFirstResponder());
    a->removeFromSuperview();
    EXPECT_EQ(a->superview(), nullptr);
    EXPECT_EQ(a->resigned, 1);
    EXPECT_FALSE(top->isActive());
    EXPECT_TRUE(inside->isActive());
    EXPECT_TRUE(holder->subviews().empty());
}

// A view knows without looking for its window that no window holds it;
// that knowledge follows every way a window takes or lets go of it: taken
// from another view, resigned, moved to another window, held by a window
// that closes, and a view that hands focus on as it loses it.
TEST_F(FirstResponder, EveryWayAWindowTakesOrDropsAViewIsAnswered) {
    ASSERT_TRUE(a->becomeFirstResponder());
    EXPECT_TRUE(a->isFirstResponder());
    ASSERT_TRUE(b->becomeFirstResponder());
    EXPECT_FALSE(a->isFirstResponder());
    EXPECT_TRUE(b->isFirstResponder());
    ASSERT_TRUE(b->resignFirstResponder());
    EXPECT_FALSE(b->isFirstResponder());
    ASSERT_TRUE(a->becomeFirstResponder());

    // Moved to a window that closes while it holds the view.
    {
        auto closing = std::make_shared<UIWindow>();
        closing->addSubview(a);  // leaving its window resigns
        EXPECT_FALSE(a->isFirstResponder());
        EXPECT_EQ(window->firstResponder(), nullptr);
        ASSERT_TRUE(a->becomeFirstResponder());
        EXPECT_TRUE(a->isFirstResponder());
    }
    EXPECT_EQ(a->superview(), nullptr);
    EXPECT_FALSE(a->isFirstResponder());
    window->addSubview(a);
    EXPECT_FALSE(a->isFirstResponder());
    ASSERT_TRUE(b->becomeFirstResponder());
    EXPECT_FALSE(a->isFirstResponder());
    ASSERT_TRUE(a->becomeFirstResponder());
    EXPECT_TRUE(a->isFirstResponder());
    EXPECT_FALSE(b->isFirstResponder());

    // Focus asked for from within the loss of it: each view's answer is
    // its window's, whichever view the window holds at the end.
    struct Handing : FocusView {
        std::shared_ptr<UIView> next;
        void didResignFirstResponder() override {
            FocusView::didResignFirstResponder();
            if (auto n = std::exchange(next, nullptr)) n->becomeFirstResponder();
        }
    };
    auto handing = std::make_shared<Handing>();
    window->addSubview(handing);
    const auto agree = [&] {
        for (const std::shared_ptr<UIView>& v :
             {std::shared_ptr<UIView>(a), std::shared_ptr<UIView>(b), std::static_pointer_cast<UIView>(handing)}) {
            EXPECT_EQ(v->isFirstResponder(), window->firstResponder() == v);
        }
    };
    ASSERT_TRUE(handing->becomeFirstResponder());
    agree();
    handing->next = b;
    ASSERT_TRUE(a->becomeFirstResponder());  // handing hands on to b as a takes it
    agree();
    ASSERT_TRUE(handing->becomeFirstResponder());
    handing->next = b;
    ASSERT_TRUE(handing->resignFirstResponder());
    agree();
    ASSERT_TRUE(b->becomeFirstResponder());
    agree();
    EXPECT_TRUE(b->isFirstResponder());
}

}  // namespace
