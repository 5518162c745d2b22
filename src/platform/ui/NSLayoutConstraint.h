#pragma once
// A recorded layout constraint: "first.attribute relation
// second.attribute * multiplier + constant". Nothing solves constraints in
// the headless views; code that lays out with constraints records them here
// and tests read back what was asked for.
//
// The second item is a view or a layout guide (or nothing, for a constant
// size). A constraint holds its items weakly. activate() marks constraints active
// and hands each to its first item, which keeps it (UIView::constraints());
// deactivate() takes them back. Main thread only.

#include <memory>
#include <string>
#include <vector>

#include "platform/core/Object.h"

namespace trc::ui {

class UILayoutGuide;
class UIView;

class NSLayoutConstraint : public core::Object {
    TRC_OBJECT(NSLayoutConstraint)
public:
    enum class Attribute { NotAnAttribute, Top, Bottom, Leading, Trailing, Left, Right, Width, Height, CenterX, CenterY };
    enum class Relation { LessThanOrEqual, Equal, GreaterThanOrEqual };

    NSLayoutConstraint() = default;
    NSLayoutConstraint(const std::shared_ptr<UIView>& first, Attribute firstAttribute, Relation relation,
                       const std::shared_ptr<UIView>& second, Attribute secondAttribute, double multiplier,
                       double constant);

    // "first.attribute == second.attribute": the common shape of anchor constraints.
    static std::shared_ptr<NSLayoutConstraint> make(const std::shared_ptr<UIView>& first, Attribute firstAttribute,
                                                    const std::shared_ptr<UIView>& second,
                                                    Attribute secondAttribute, double constant = 0);
    // "first.attribute == guide.attribute".
    static std::shared_ptr<NSLayoutConstraint> makeToGuide(const std::shared_ptr<UIView>& first,
                                                           Attribute firstAttribute,
                                                           const std::shared_ptr<UILayoutGuide>& guide,
                                                           Attribute guideAttribute, double constant = 0);
    static void activate(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints);
    static void deactivate(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints);
    static const char* attributeName(Attribute a);

    std::shared_ptr<UIView> firstItem() const { return first_.lock(); }
    std::shared_ptr<UIView> secondItem() const { return second_.lock(); }
    std::shared_ptr<UILayoutGuide> secondGuide() const { return secondGuide_.lock(); }
    Attribute firstAttribute() const { return firstAttribute_; }
    Attribute secondAttribute() const { return secondAttribute_; }
    Relation relation() const { return relation_; }
    double multiplier() const { return multiplier_; }
    double constant = 0;
    bool isActive() const { return active_; }
    void setActive(bool active);

    // "top = superview.top + 56" ("view." for another view, the guide's
    // identifier for a guide), for transcripts and test comparisons.
    std::string description() const;

private:
    std::weak_ptr<UIView> first_;
    std::weak_ptr<UIView> second_;
    std::weak_ptr<UILayoutGuide> secondGuide_;
    Attribute firstAttribute_ = Attribute::NotAnAttribute;
    Attribute secondAttribute_ = Attribute::NotAnAttribute;
    Relation relation_ = Relation::Equal;
    double multiplier_ = 1;
    bool active_ = false;
};

}  // namespace trc::ui
