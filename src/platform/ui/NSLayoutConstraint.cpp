#include "platform/ui/NSLayoutConstraint.h"

#include <fmt/format.h>

#include <algorithm>

#include "platform/core/ClassInfo.h"
#include "platform/ui/UILayoutGuide.h"
#include "platform/ui/UIView.h"

namespace trc::ui {

const core::ClassInfo& NSLayoutConstraint::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<NSLayoutConstraint>("NSLayoutConstraint", core::Object::classInfo())
            .property("isActive", [](const NSLayoutConstraint& self) { return core::Value(self.isActive()); })
            .property("constant", [](const NSLayoutConstraint& self) { return core::Value(self.constant); })
            .property("description", [](const NSLayoutConstraint& self) { return core::Value(self.description()); })
            .build();
    return info;
}

NSLayoutConstraint::NSLayoutConstraint(const std::shared_ptr<UIView>& first, Attribute firstAttribute,
                                       Relation relation, const std::shared_ptr<UIView>& second,
                                       Attribute secondAttribute, double multiplier, double constant)
    : constant(constant),
      first_(first),
      second_(second),
      firstAttribute_(firstAttribute),
      secondAttribute_(secondAttribute),
      relation_(relation),
      multiplier_(multiplier) {}

std::shared_ptr<NSLayoutConstraint> NSLayoutConstraint::make(const std::shared_ptr<UIView>& first,
                                                             Attribute firstAttribute,
                                                             const std::shared_ptr<UIView>& second,
                                                             Attribute secondAttribute, double constant) {
    return std::make_shared<NSLayoutConstraint>(first, firstAttribute, Relation::Equal, second, secondAttribute, 1.0,
                                                constant);
}

std::shared_ptr<NSLayoutConstraint> NSLayoutConstraint::makeToGuide(const std::shared_ptr<UIView>& first,
                                                                    Attribute firstAttribute,
                                                                    const std::shared_ptr<UILayoutGuide>& guide,
                                                                    Attribute guideAttribute, double constant) {
    auto c = make(first, firstAttribute, nullptr, guideAttribute, constant);
    c->secondGuide_ = guide;
    return c;
}

bool NSLayoutConstraint::remakes(const std::shared_ptr<NSLayoutConstraint>& slot, Attribute firstAttribute,
                                 Attribute secondAttribute) {
    return slot && slot->firstAttribute_ == firstAttribute && slot->secondAttribute_ == secondAttribute &&
           slot->relation_ == Relation::Equal && slot->multiplier_ == 1;
}

void NSLayoutConstraint::remake(std::shared_ptr<NSLayoutConstraint>& slot, const std::shared_ptr<UIView>& first,
                                Attribute firstAttribute, const std::shared_ptr<UIView>& second,
                                Attribute secondAttribute, double constant) {
    if (!remakes(slot, firstAttribute, secondAttribute)) {
        if (slot) slot->setActive(false);
        slot = make(first, firstAttribute, second, secondAttribute, constant);
        return;
    }
    slot->setActive(false);
    slot->first_ = first;
    slot->second_ = second;
    slot->secondGuide_.reset();
    slot->constant = constant;
}

void NSLayoutConstraint::remakeToGuide(std::shared_ptr<NSLayoutConstraint>& slot, const std::shared_ptr<UIView>& first,
                                       Attribute firstAttribute, const std::shared_ptr<UILayoutGuide>& guide,
                                       Attribute guideAttribute, double constant) {
    remake(slot, first, firstAttribute, nullptr, guideAttribute, constant);
    slot->secondGuide_ = guide;
}

std::shared_ptr<UIView> NSLayoutConstraint::secondOwningView() const {
    if (auto view = second_.lock()) return view;
    auto guide = secondGuide_.lock();
    return guide ? guide->owningView() : nullptr;
}

inline NSLayoutConstraint::NamingPlace NSLayoutConstraint::namingPlace() const {
    NamingPlace place;
    if ((place.view = second_.lock())) {
        place.namings = &place.view->namedBy_;
        place.owner = place.view.get();
    } else if ((place.guide = secondGuide_.lock())) {
        place.namings = &place.guide->namedBy_;
        place.view = place.guide->owningView();
        place.owner = place.view.get();
    }
    return place;
}

ConstraintNamings* NSLayoutConstraint::namingsUnlocked() const {
    if (UIView* view = second_.alive()) return &view->namedBy_;
    if (UILayoutGuide* guide = secondGuide_.alive()) return &guide->namedBy_;
    return nullptr;
}

void NSLayoutConstraint::activate(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints) {
    for (const auto& c : constraints) {
        if (c && !c->active_) switchOn(c);
    }
}

void NSLayoutConstraint::retarget(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints, UIView& from,
                                  const std::shared_ptr<UIView>& to) {
    if (!to || to.get() == &from) return;
    if (handOverWhole(constraints, from, to)) return;
    // Ends of constraints that leave from's subtree for to's; counted up the
    // trees once for all, not once a constraint.
    std::ptrdiff_t moved = 0;
    for (const auto& c : constraints) {
        if (!c || !c->active_) continue;
        // Nothing below calls out or lets a view go, so the views are
        // looked at without taking references on them.
        UIView* keeper = c->first_.alive();
        const bool keptByFrom = keeper == &from;
        const bool namesFrom = c->second_.is(&from);
        if (!keptByFrom && !namesFrom) continue;
        // Its keeper's reference and the naming of its second item, as switchOn() left them.
        if (!keeper) continue;
        auto kept = c->keptIn(keeper->constraints_);
        if (kept == keeper->constraints_.end()) continue;
        // One naming from is recorded in from's namings, which need no looking up.
        ConstraintNamings* namings = namesFrom ? &from.namedBy_ : c->namingsUnlocked();
        ConstraintNamings::iterator naming;
        if (namings) {
            naming = std::find(namings->begin(), namings->end(), ConstraintNaming{keeper, c.get()});
            if (naming == namings->end()) continue;
        }
        UIView* newKeeper = keeper;
        if (keptByFrom) {
            to->constraints_.push_back(std::move(*kept));
            from.constraints_.erase(kept);
            c->first_ = to;
            newKeeper = to.get();
            to->needsLayout_ = true;
            ++moved;
        }
        if (namesFrom) {
            namings->erase(naming);
            to->namedBy_.push_back({newKeeper, c.get()});
            c->second_ = to;
            ++moved;
        } else if (namings) {
            naming->keeper = newKeeper;
        }
    }
    if (moved == 0) return;
    from.countConstraintEnds(-moved);
    to->countConstraintEnds(moved);
}

bool NSLayoutConstraint::handOverWhole(const Kept& constraints, UIView& from, const std::shared_ptr<UIView>& toView) {
    UIView& to = *toView;
    // to's lists are taken over by from, so they are to hold what from's
    // hold now: no view ends up with less room than it had in use.
    if (!to.constraints_.empty() || !to.namedBy_.empty() || to.constraints_.capacity() < from.constraints_.size() ||
        to.namedBy_.capacity() < from.namedBy_.size())
        return false;
    // What retarget() would move, in the order it would move it, is to be
    // exactly what from's lists hold: their entries are those constraints,
    // in force, in that order.
    std::size_t kept = 0;
    std::size_t named = 0;
    for (const auto& c : constraints) {
        if (!c || !c->active_) continue;
        const bool keptByFrom = c->first_.alive() == &from;
        const bool namesFrom = c->second_.is(&from);
        if (keptByFrom && (kept == from.constraints_.size() || from.constraints_[kept++].get() != c.get()))
            return false;
        if (namesFrom) {
            // A naming records its keeper alongside, so the keeper holds the constraint.
            UIView* keeper = c->first_.alive();
            if (!keeper || named == from.namedBy_.size() || from.namedBy_[named++] != ConstraintNaming{keeper, c.get()})
                return false;
        }
    }
    if (kept != from.constraints_.size() || named != from.namedBy_.size() || kept + named == 0) return false;
    // from's lists go to to whole; only the constraints' items and the
    // namings of their other ends are pointed at to.
    std::swap(from.constraints_, to.constraints_);
    std::swap(from.namedBy_, to.namedBy_);
    for (const auto& c : to.constraints_) {
        if (!c->second_.is(&from)) {
            if (ConstraintNamings* namings = c->namingsUnlocked()) {
                auto naming = std::find(namings->begin(), namings->end(), ConstraintNaming{&from, c.get()});
                if (naming != namings->end()) naming->keeper = &to;
            }
        }
        c->first_ = toView;
    }
    for (auto& naming : to.namedBy_) {
        naming.constraint->second_ = toView;
        if (naming.keeper == &from) naming.keeper = &to;
    }
    if (kept > 0) to.needsLayout_ = true;
    const auto moved = static_cast<std::ptrdiff_t>(kept + named);
    from.countConstraintEnds(-moved);
    to.countConstraintEnds(moved);
    return true;
}

void NSLayoutConstraint::deactivate(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints) {
    for (const auto& c : constraints) {
        if (c && c->active_) c->switchOff();
    }
}

void NSLayoutConstraint::setActive(bool active) {
    if (active == active_) return;
    if (active) {
        switchOn(std::static_pointer_cast<NSLayoutConstraint>(shared_from_this()));
    } else {
        switchOff();
    }
}

void NSLayoutConstraint::switchOn(const std::shared_ptr<NSLayoutConstraint>& self) {
    auto first = self->first_.lock();
    // A constraint whose view is gone constrains nothing; keep it inactive.
    if (!first) return;
    self->active_ = true;
    first->addConstraint(self);
}

void NSLayoutConstraint::switchOff() {
    active_ = false;
    if (auto first = first_.lock()) first->dropConstraint(*this);
}

void NSLayoutConstraint::recordKeeper(UIView& keeper) const {
    NamingPlace place = namingPlace();
    if (!place.namings) return;
    place.namings->push_back({&keeper, const_cast<NSLayoutConstraint*>(this)});
    if (place.owner) place.owner->countConstraintEnds(1);
}

void NSLayoutConstraint::unrecordKeeper(UIView& keeper) const {
    NamingPlace place = namingPlace();
    if (!place.namings) return;
    if (std::erase(*place.namings, ConstraintNaming{&keeper, const_cast<NSLayoutConstraint*>(this)}) == 0) return;
    if (place.owner) place.owner->countConstraintEnds(-1);
}

const char* NSLayoutConstraint::attributeName(Attribute a) {
    switch (a) {
    case Attribute::NotAnAttribute: return "none";
    case Attribute::Top: return "top";
    case Attribute::Bottom: return "bottom";
    case Attribute::Leading: return "leading";
    case Attribute::Trailing: return "trailing";
    case Attribute::Left: return "left";
    case Attribute::Right: return "right";
    case Attribute::Width: return "width";
    case Attribute::Height: return "height";
    case Attribute::CenterX: return "centerX";
    case Attribute::CenterY: return "centerY";
    }
    return "none";
}

std::string NSLayoutConstraint::description() const {
    const char* rel = relation_ == Relation::Equal ? "=" : relation_ == Relation::LessThanOrEqual ? "<=" : ">=";
    std::string text = fmt::format("{} {} ", attributeName(firstAttribute_), rel);
    auto first = first_.lock();
    auto second = second_.lock();
    auto guide = secondGuide_.lock();
    if (second || guide) {
        if (guide) {
            text += (guide->identifier.empty() ? std::string("guide") : guide->identifier) + ".";
        } else {
            const bool above = first && second == first->superview();
            const bool below = first && second->superview() == first;
            text += above ? "superview." : below ? "subview." : "view.";
        }
        text += attributeName(secondAttribute_);
        if (multiplier_ != 1) text += fmt::format(" * {}", multiplier_);
        if (constant != 0) text += fmt::format(" {} {}", constant < 0 ? "-" : "+", constant < 0 ? -constant : constant);
    } else {
        text += fmt::format("{}", constant);
    }
    return text;
}

}  // namespace trc::ui
