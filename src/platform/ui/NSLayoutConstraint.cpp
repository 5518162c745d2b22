#include "platform/ui/NSLayoutConstraint.h"

#include <fmt/format.h>

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

void NSLayoutConstraint::activate(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints) {
    for (const auto& c : constraints) {
        if (c && !c->active_) switchOn(c);
    }
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
