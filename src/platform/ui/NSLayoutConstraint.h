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

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Object.h"
#include "platform/ui/ConstraintNaming.h"

namespace trc::ui {

class UILayoutGuide;
class UIView;

class NSLayoutConstraint : public core::Object {
    TRC_OBJECT(NSLayoutConstraint)
public:
    enum class Attribute {
        NotAnAttribute,
        Top,
        Bottom,
        Leading,
        Trailing,
        Left,
        Right,
        Width,
        Height,
        CenterX,
        CenterY
    };
    enum class Relation { LessThanOrEqual, Equal, GreaterThanOrEqual };

    NSLayoutConstraint() = default;
    NSLayoutConstraint(const std::shared_ptr<UIView>& first, Attribute firstAttribute, Relation relation,
                       const std::shared_ptr<UIView>& second, Attribute secondAttribute, double multiplier,
                       double constant);

    // "first.attribute == second.attribute": the common shape of anchor constraints.
    static std::shared_ptr<NSLayoutConstraint> make(const std::shared_ptr<UIView>& first, Attribute firstAttribute,
                                                    const std::shared_ptr<UIView>& second, Attribute secondAttribute,
                                                    double constant = 0);
    // "first.attribute == guide.attribute".
    static std::shared_ptr<NSLayoutConstraint> makeToGuide(const std::shared_ptr<UIView>& first,
                                                           Attribute firstAttribute,
                                                           const std::shared_ptr<UILayoutGuide>& guide,
                                                           Attribute guideAttribute, double constant = 0);
    // The constraint "first.attribute == second.attribute" (to a view, or to a
    // guide) in slot, inactive: the one already there when it relates the same
    // attributes, taken out of force and pointed at these items, else a new
    // one. A layout that moves a view from one container to another keeps
    // its constraints this way instead of making new ones for every move;
    // taking it out of force first keeps every view's record of it right.
    static void remake(std::shared_ptr<NSLayoutConstraint>& slot, const std::shared_ptr<UIView>& first,
                       Attribute firstAttribute, const std::shared_ptr<UIView>& second, Attribute secondAttribute,
                       double constant = 0);
    static void remakeToGuide(std::shared_ptr<NSLayoutConstraint>& slot, const std::shared_ptr<UIView>& first,
                              Attribute firstAttribute, const std::shared_ptr<UILayoutGuide>& guide,
                              Attribute guideAttribute, double constant = 0);
    static void activate(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints);
    // Points those of the constraints in force that name from (as either
    // item) at to instead, and keeps them in force: the view to hands over
    // nothing, and the views at their other ends keep them where they are.
    // A layout that puts one view in another's place this way spares taking
    // each constraint out of force and back. from keeps the constraints'
    // other ends (as from leaving its superview would not), so the caller
    // takes from out and puts to in its place straight after; to is then in
    // no view tree, so that none of them spans two trees on the way.
    static void retarget(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints, UIView& from,
                         const std::shared_ptr<UIView>& to);
    static void deactivate(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints);
    static const char* attributeName(Attribute a);

    std::shared_ptr<UIView> firstItem() const { return first_.lock(); }
    // The second item when it is a view.
    std::shared_ptr<UIView> secondItem() const { return second_.lock(); }
    // The second item when it is a layout guide.
    std::shared_ptr<UILayoutGuide> secondGuide() const { return secondGuide_.lock(); }
    // Whether the item is that one (nullptr: none, or gone), without taking
    // a reference on it: a layout that checks its constraints for every row
    // asks these.
    bool firstItemIs(const UIView* view) const { return first_.is(view); }
    bool secondItemIs(const UIView* view) const { return second_.is(view); }
    bool secondGuideIs(const UILayoutGuide* guide) const { return secondGuide_.is(guide); }
    // The view the second item belongs to: the view itself, or the guide's view.
    std::shared_ptr<UIView> secondOwningView() const;
    Attribute firstAttribute() const { return firstAttribute_; }
    Attribute secondAttribute() const { return secondAttribute_; }
    Relation relation() const { return relation_; }
    double multiplier() const { return multiplier_; }
    double constant = 0;
    bool isActive() const { return active_; }
    void setActive(bool active);

    // "top = superview.top + 56", "height = subview.height" or
    // "leading = readableContentGuide.leading" ("view." for an unrelated
    // view), for transcripts and test comparisons.
    std::string description() const;

private:
    friend class UIView;

    // Whether slot holds a constraint remake() may point at other items.
    static bool remakes(const std::shared_ptr<NSLayoutConstraint>& slot, Attribute firstAttribute,
                        Attribute secondAttribute);
    // Puts an inactive constraint in force, given the reference to hand its first item.
    static void switchOn(const std::shared_ptr<NSLayoutConstraint>& self);
    // retarget() when from hands over every constraint it keeps and every
    // naming of it, and to holds none: the lists move whole instead of entry
    // by entry. False, with nothing changed, where that does not hold.
    static bool handOverWhole(const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints, UIView& from,
                              const std::shared_ptr<UIView>& to);
    // Takes an active constraint out of force; its first item may hold the
    // last reference, so nothing of it is touched after.
    void switchOff();

    // A constraint in force is written down at both ends: its keeper (the
    // first item) holds it in constraints(), and its second item (a view, or
    // a guide) records the keeper in its namings, which count as a constraint
    // end of the view that is or owns the second item. Every step that puts
    // a constraint in force, takes it out, or moves an end goes through these.
    struct NamingPlace {
        std::shared_ptr<UIView> view;  // keeps the view and guide alive while used
        std::shared_ptr<UILayoutGuide> guide;
        ConstraintNamings* namings = nullptr;  // none without a second item
        UIView* owner = nullptr;               // where a naming counts as a constraint end
    };
    NamingPlace namingPlace() const;
    // namingPlace()'s list alone, without taking references.
    ConstraintNamings* namingsUnlocked() const;
    using Kept = std::vector<std::shared_ptr<NSLayoutConstraint>>;
    // The keeper's reference to this constraint in its constraints(), or the end of the list.
    Kept::iterator keptIn(Kept& keeperConstraints) const {
        return std::find_if(keeperConstraints.begin(), keeperConstraints.end(),
                            [this](const auto& k) { return k.get() == this; });
    }
    // Records (or takes back) at the second item that keeper keeps the
    // constraint, counting (or uncounting) that end.
    void recordKeeper(UIView& keeper) const;
    void unrecordKeeper(UIView& keeper) const;

    // A weak reference that also keeps the address it was set to, so that
    // asking whether it names an object takes no reference. The address is
    // trusted only while the object lives: one made later at the same
    // address is not the item.
    template <class T>
    class Item {
    public:
        Item() = default;
        Item(const std::shared_ptr<T>& object) : weak_(object), raw_(object.get()) {}
        std::shared_ptr<T> lock() const { return weak_.lock(); }
        bool is(const T* object) const { return object ? raw_ == object && !weak_.expired() : weak_.expired(); }
        // The object while it lives, without a reference: only for code
        // that calls out to nothing that could let it go.
        T* alive() const { return weak_.expired() ? nullptr : raw_; }
        void reset() { *this = Item(); }

    private:
        std::weak_ptr<T> weak_;
        T* raw_ = nullptr;
    };

    Item<UIView> first_;
    Item<UIView> second_;
    Item<UILayoutGuide> secondGuide_;
    Attribute firstAttribute_ = Attribute::NotAnAttribute;
    Attribute secondAttribute_ = Attribute::NotAnAttribute;
    Relation relation_ = Relation::Equal;
    double multiplier_ = 1;
    bool active_ = false;
};

}  // namespace trc::ui
