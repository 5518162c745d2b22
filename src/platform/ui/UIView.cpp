#include "platform/ui/UIView.h"

#include <algorithm>

#include "platform/core/ClassInfo.h"
#include "platform/core/Dictionary.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/UILayoutGuide.h"
#include "platform/ui/UIValues.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindow.h"

namespace trc::ui {

namespace {

core::Value frameValue(const CGRect& r) {
    core::Dictionary d;
    d.set("x", r.origin.x);
    d.set("y", r.origin.y);
    d.set("width", r.size.width);
    d.set("height", r.size.height);
    return core::Value(std::move(d));
}

// The constraints a leaving view drops, gathered before any is let go. One
// buffer serves every removal, so a view that moves with its constraints
// costs no allocation once a removal as large has been seen; a removal that
// starts while another runs gets a buffer of its own. Plain pointers: each
// is held by its keeper, and taking one out of force lets go of no other.
std::vector<NSLayoutConstraint*> staleBuffer;

// Room a subview list that lets views go from its front keeps per view.
constexpr std::size_t kRoomPerView = 4;

}  // namespace

const core::ClassInfo& UIView::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UIView>("UIView", UIResponder::classInfo())
            .constructible()
            .property("isHidden", [](const UIView& v) { return core::Value(v.isHidden()); })
            .property("tag", [](const UIView& v) { return core::Value(static_cast<long long>(v.tag)); })
            .property("alpha", [](const UIView& v) { return core::Value(v.alpha); })
            .property("nuiClass", [](const UIView& v) { return core::Value(v.nuiClass); })
            .property("accessibilityIdentifier", [](const UIView& v) { return core::Value(v.accessibilityIdentifier); })
            .property("isUserInteractionEnabled",
                      [](const UIView& v) { return core::Value(v.isUserInteractionEnabled); })
            .property("translatesAutoresizingMaskIntoConstraints",
                      [](const UIView& v) { return core::Value(v.translatesAutoresizingMaskIntoConstraints); })
            .property("autoresizingMask",
                      [](const UIView& v) { return core::Value(static_cast<long long>(v.autoresizingMask)); })
            .property("autoresizesSubviews", [](const UIView& v) { return core::Value(v.autoresizesSubviews); })
            .property("insetsLayoutMarginsFromSafeArea",
                      [](const UIView& v) { return core::Value(v.insetsLayoutMarginsFromSafeArea); })
            .property("backgroundColor",
                      [](const UIView& v) {
                          return v.backgroundColor ? core::Value(v.backgroundColor->hexString()) : core::Value();
                      })
            .property("frame", [](const UIView& v) { return frameValue(v.frame()); })
            .property("superview", [](const UIView& v) { return objectOrNil(v.superview()); })
            .property("subviews",
                      [](const UIView& v) { return objectArray(std::vector<std::shared_ptr<UIView>>(v.subviews())); })
            .property("constraints",
                      [](const UIView& v) {
                          core::Array a;
                          for (const auto& c : v.constraints()) a.emplace_back(c->description());
                          return core::Value(std::move(a));
                      })
            .build();
    return info;
}

UIView::~UIView() {
    for (const auto& s : subviews()) {
        if (s->superview_ == this) s->superview_ = nullptr;
    }
    for (const auto& c : constraints_) c->unrecordKeeper(*this);
}

std::shared_ptr<UIView> UIView::superview() const {
    if (!superview_) return nullptr;
    return std::static_pointer_cast<UIView>(superview_->weak_from_this().lock());
}

void UIView::addSubview(std::shared_ptr<UIView> view) {
    insertSubview(std::move(view), subviews_.size() - subviewsHead_);
}

void UIView::insertSubview(std::shared_ptr<UIView> view, std::size_t index) {
    if (!view || view.get() == this) return;
    if (isDescendantOf(*view)) {
        core::SharedLoggerManager::log("ui", core::Severity::warn,
                                       "a view cannot become a subview of its own descendant; ignored");
        return;
    }
    // view holds its own reference: the old slot or superview letting go
    // cannot end it.
    if (view->superview_ == this) {
        // Reordering within the same superview.
        const auto head = static_cast<std::ptrdiff_t>(subviewsHead_);
        auto it = std::find(subviews_.begin() + head, subviews_.end(), view);
        std::size_t old = static_cast<std::size_t>(it - (subviews_.begin() + head));
        subviews_.erase(it);
        if (index > old) --index;
        const std::size_t count = subviews_.size() - subviewsHead_;
        subviews_.insert(subviews_.begin() + head + static_cast<std::ptrdiff_t>(std::min(index, count)),
                         std::move(view));
        return;
    }
    if (view->superview_) view->removeFromSuperview();
    UIView& added = *view;
    const std::size_t count = subviews_.size() - subviewsHead_;
    if (index >= count) {
        if (subviewsHead_ > 0 && subviews_.size() == subviews_.capacity()) {
            // The room left at the front is taken back before the list would
            // grow. A list that loses its first view and gains a last one at
            // every step (a scrolling table's rows) moves all its views each
            // time the room runs out, so it first gets room for four times
            // its views, once: they then move every three times as many steps.
            const auto first = subviews_.begin() + static_cast<std::ptrdiff_t>(subviewsHead_);
            if (subviews_.capacity() < kRoomPerView * count) {
                std::vector<std::shared_ptr<UIView>> roomier;
                roomier.reserve(kRoomPerView * count);
                roomier.assign(std::make_move_iterator(first), std::make_move_iterator(subviews_.end()));
                subviews_ = std::move(roomier);
            } else {
                std::move(first, subviews_.end(), subviews_.begin());
                subviews_.resize(count);
            }
            subviewsHead_ = 0;
        }
        subviews_.push_back(std::move(view));
    } else {
        subviews_.insert(subviews_.begin() + static_cast<std::ptrdiff_t>(subviewsHead_ + index), std::move(view));
    }
    added.superview_ = this;
    if (added.constraintEnds_ > 0) countConstraintEnds(static_cast<std::ptrdiff_t>(added.constraintEnds_));
    needsLayout_ = true;
    added.didMoveToSuperview();
}

void UIView::removeFromSuperview() {
    if (!superview_) return;
    // Only a window with a first responder has one to lose; most removals
    // are from windows without, and skip the look at it.
    std::shared_ptr<UIView> resigning;  // kept alive through the responder's callbacks
    if (const UIWindow* shown = enclosingWindow(); shown && !shown->firstResponder_.expired()) {
        auto w = shown->window();
        auto view = w ? std::dynamic_pointer_cast<UIView>(w->firstResponder()) : nullptr;
        if (view && (view.get() == this || view->isDescendantOf(*this))) {
            resigning = std::static_pointer_cast<UIView>(weak_from_this().lock());
            const UIView* leaving = superview_;
            w->clearFirstResponder();
            // The view may have left (or moved) as it lost focus: it is out of the superview already.
            if (superview_ != leaving) return;
        }
    }
    if (constraintEnds_ == 0) {
        // Most views leave with no constraint end in their subtree (a table's
        // rows at every scroll): nothing to gather or switch off.
        auto keep = detachFromSuperview();
        didMoveToSuperview();
        return;
    }
    // Constraints between the view's subtree and the tree it is leaving no
    // longer hold, whichever view keeps them; those inside either side stay.
    std::vector<NSLayoutConstraint*> stale = std::move(staleBuffer);
    const UIView* root = superview_;
    while (root->superview_) root = root->superview_;
    collectStaleConstraints(*this, *root, stale);
    // The superview may hold the last reference: keep the view to the end.
    auto keep = detachFromSuperview();
    for (NSLayoutConstraint* c : stale) {
        if (c->active_) c->switchOff();
    }
    stale.clear();
    if (stale.capacity() > staleBuffer.capacity()) staleBuffer = std::move(stale);
    didMoveToSuperview();
}

void UIView::collectStaleConstraints(const UIView& leaving, const UIView& root,
                                     std::vector<NSLayoutConstraint*>& stale) const {
    if (constraintEnds_ == 0) return;
    auto inSubtree = [&leaving](const UIView* v) { return v && (v == &leaving || v->isDescendantOf(leaving)); };
    // Outside the leaving subtree but in the tree it leaves: one walk up
    // tells both, as it passes the leaving view exactly when it starts inside.
    auto inTreeLeft = [&leaving, &root](const UIView* v) {
        for (;; v = v->superview_) {
            if (v == &leaving) return false;
            if (!v->superview_) return v == &root;
        }
    };
    // Kept inside, about a view outside (in any tree).
    for (const auto& c : constraints_) {
        // Nothing here lets a view go: a view item is looked at without a reference.
        if (const UIView* second = c->second_.alive()) {
            if (!inSubtree(second)) stale.push_back(c.get());
            continue;
        }
        auto other = c->secondOwningView();
        if (other && !inSubtree(other.get())) stale.push_back(c.get());
    }
    // Kept outside (in the tree left behind), about this view or its guides.
    auto keptOutside = [&](const ConstraintNamings& namings) {
        for (const auto& n : namings) {
            if (inTreeLeft(n.keeper)) stale.push_back(n.constraint);
        }
    };
    keptOutside(namedBy_);
    for (const auto& guide : layoutGuides_) keptOutside(guide->namedBy_);
    for (const auto& s : subviews()) s->collectStaleConstraints(leaving, root, stale);
}

std::shared_ptr<UIView> UIView::detachFromSuperview() {
    std::shared_ptr<UIView> self;
    if (UIView* parent = superview_) {
        auto& siblings = parent->subviews_;
        const auto first = siblings.begin() + static_cast<std::ptrdiff_t>(parent->subviewsHead_);
        auto it = std::find_if(first, siblings.end(), [this](const auto& v) { return v.get() == this; });
        if (it != siblings.end()) {
            // The emptied slot is swapped to the nearer end, cheaper than
            // move-assigning each later sibling down: to the front, where
            // the head then passes it, or to the back.
            self = std::move(*it);
            if (it - first < siblings.end() - 1 - it) {
                for (; it != first; --it) it->swap(*(it - 1));
                ++parent->subviewsHead_;
            } else {
                for (auto next = it + 1; next != siblings.end(); ++it, ++next) it->swap(*next);
                siblings.pop_back();
            }
            if (parent->subviewsHead_ == siblings.size()) {
                siblings.clear();
                parent->subviewsHead_ = 0;
            }
        }
        parent->needsLayout_ = true;
        if (constraintEnds_ > 0) parent->countConstraintEnds(-static_cast<std::ptrdiff_t>(constraintEnds_));
    }
    superview_ = nullptr;
    return self;
}

void UIView::countConstraintEnds(std::ptrdiff_t delta) {
    for (UIView* v = this; v; v = v->superview_)
        v->constraintEnds_ = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(v->constraintEnds_) + delta);
}

bool UIView::isDescendantOf(const UIView& ancestor) const {
    for (const UIView* v = superview_; v; v = v->superview_) {
        if (v == &ancestor) return true;
    }
    return false;
}

std::shared_ptr<UIView> UIView::viewWithTag(std::int64_t wanted) {
    if (tag == wanted) return std::static_pointer_cast<UIView>(weak_from_this().lock());
    for (const auto& s : subviews()) {
        if (auto found = s->viewWithTag(wanted)) return found;
    }
    return nullptr;
}

const UIWindow* UIView::enclosingWindow() const {
    for (const UIView* v = superview_; v; v = v->superview_) {
        if (auto w = v->asWindow()) return w;
    }
    return nullptr;
}

std::shared_ptr<UIWindow> UIView::window() const {
    const UIWindow* w = enclosingWindow();
    return w ? w->window() : nullptr;
}

std::shared_ptr<UIViewController> UIView::controller() const {
    auto next = nextResponder();
    while (next) {
        if (auto vc = std::dynamic_pointer_cast<UIViewController>(next)) return vc;
        auto view = std::dynamic_pointer_cast<UIView>(next);
        if (!view) return nullptr;
        next = view->nextResponder();
    }
    return nullptr;
}

void UIView::addConstraint(const std::shared_ptr<NSLayoutConstraint>& constraint) {
    if (!constraint) return;
    if (std::find(constraints_.begin(), constraints_.end(), constraint) != constraints_.end()) return;
    constraints_.push_back(constraint);
    countConstraintEnds(1);
    constraint->recordKeeper(*this);
    needsLayout_ = true;
}

void UIView::removeConstraint(const std::shared_ptr<NSLayoutConstraint>& constraint) {
    if (!constraint || std::erase(constraints_, constraint) == 0) return;
    countConstraintEnds(-1);
    constraint->unrecordKeeper(*this);
}

void UIView::dropConstraint(const NSLayoutConstraint& constraint) {
    auto it = constraint.keptIn(constraints_);
    if (it == constraints_.end()) return;
    countConstraintEnds(-1);
    constraint.unrecordKeeper(*this);
    constraints_.erase(it);  // last: it may let the constraint go
}

void UIView::addLayoutGuide(const std::shared_ptr<UILayoutGuide>& guide) {
    if (!guide) return;
    if (auto owner = guide->owningView()) {
        if (owner.get() == this) return;
        owner->removeLayoutGuide(guide);
    }
    guide->owningView_ = std::static_pointer_cast<UIView>(weak_from_this().lock());
    layoutGuides_.push_back(guide);
    // Its namings count here only once the guide knows this view as its owner.
    if (guide->owningView().get() == this && !guide->namedBy_.empty()) {
        countConstraintEnds(static_cast<std::ptrdiff_t>(guide->namedBy_.size()));
    }
}

void UIView::removeLayoutGuide(const std::shared_ptr<UILayoutGuide>& guide) {
    if (!guide || guide->owningView().get() != this) return;
    std::erase(layoutGuides_, guide);
    guide->owningView_.reset();
    if (!guide->namedBy_.empty()) countConstraintEnds(-static_cast<std::ptrdiff_t>(guide->namedBy_.size()));
}

std::shared_ptr<UILayoutGuide> UIView::ownGuide(std::shared_ptr<UILayoutGuide>& slot, const char* identifier) {
    if (!slot) slot = std::make_shared<UILayoutGuide>(identifier);
    if (slot->owningView().get() != this) addLayoutGuide(slot);
    return slot;
}

std::shared_ptr<UILayoutGuide> UIView::layoutMarginsGuide() {
    return ownGuide(layoutMarginsGuide_, "layoutMarginsGuide");
}

std::shared_ptr<UILayoutGuide> UIView::readableContentGuide() {
    return ownGuide(readableContentGuide_, "readableContentGuide");
}

bool UIView::endEditing(bool force) {
    auto w = window();
    if (!w) return true;
    auto responder = w->firstResponder();
    auto view = std::dynamic_pointer_cast<UIView>(responder);
    if (!view || !(view.get() == this || view->isDescendantOf(*this))) return true;
    if (force) {
        w->clearFirstResponder();
        return true;
    }
    return view->resignFirstResponder();
}

namespace {
int animationsOff = 0;
}  // namespace

void UIView::performWithoutAnimation(const std::function<void()>& changes) {
    ++animationsOff;
    try {
        if (changes) changes();
    } catch (...) {
        --animationsOff;
        throw;
    }
    --animationsOff;
}

bool UIView::areAnimationsEnabled() { return animationsOff == 0; }

void UIView::layoutIfNeeded() {
    if (needsLayout_) {
        needsLayout_ = false;
        layoutSubviews();
    }
    // Copy: layout may add or remove subviews.
    std::vector<std::shared_ptr<UIView>> children = subviews();
    for (const auto& s : children) s->layoutIfNeeded();
}

std::shared_ptr<UIResponder> UIView::nextResponder() const {
    if (auto vc = owner_.lock()) return vc;
    return superview();
}

}  // namespace trc::ui
