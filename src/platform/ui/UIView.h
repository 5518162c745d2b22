#pragma once
// A headless view: a node of the view tree with a frame, hidden flag, tag,
// style class and recorded layout constraints. Nothing is drawn.
//
// A view owns its subviews; the superview and the owning view controller
// are back-references that never keep anything alive (a view clears its
// subviews' link when it goes). Composite views may add their sub-views in
// their constructors. Adding a view that has a superview moves it; a view
// that leaves its superview drops every constraint between its subtree and
// the tree it leaves (to a view or to a view's layout guide), whichever view
// keeps it; each view and guide knows the constraints that name it, and
// each view how many constraint ends its subtree holds, so only the parts
// of the leaving subtree that hold one are looked at, and nothing at all
// when none does. Removing a view from its window makes its first responder
// (itself or a descendant) resign. layoutSubviews() runs from
// layoutIfNeeded() only, so tests and the simulator decide when layout
// happens. Main thread only.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/CGRect.h"
#include "platform/ui/ConstraintNaming.h"
#include "platform/ui/UIColor.h"
#include "platform/ui/UIResponder.h"

namespace trc::ui {

class NSLayoutConstraint;
class UILayoutGuide;
class UIViewController;

// How a view's frame would follow its superview's size (an option set).
// Recorded only: the headless views do not resize subviews.
struct UIViewAutoresizing {
    static constexpr unsigned None = 0;
    static constexpr unsigned FlexibleLeftMargin = 1U << 0;
    static constexpr unsigned FlexibleWidth = 1U << 1;
    static constexpr unsigned FlexibleRightMargin = 1U << 2;
    static constexpr unsigned FlexibleTopMargin = 1U << 3;
    static constexpr unsigned FlexibleHeight = 1U << 4;
    static constexpr unsigned FlexibleBottomMargin = 1U << 5;
};

class UIView : public UIResponder {
    TRC_OBJECT(UIView)
public:
    UIView() = default;
    explicit UIView(CGRect frame) : frame_(frame) {}
    ~UIView() override;
    UIView(const UIView&) = delete;
    UIView& operator=(const UIView&) = delete;

    const CGRect& frame() const { return frame_; }
    // Inline and not virtual: a table places every row on screen at each scroll.
    void setFrame(const CGRect& frame) {
        if (frame == frame_) return;
        frame_ = frame;
        needsLayout_ = true;
    }
    CGRect bounds() const { return CGRect(0, 0, frame_.size.width, frame_.size.height); }

    bool isHidden() const { return hidden_; }
    void setHidden(bool hidden) { hidden_ = hidden; }
    std::int64_t tag = 0;
    bool isUserInteractionEnabled = true;
    bool translatesAutoresizingMaskIntoConstraints = true;
    unsigned autoresizingMask = UIViewAutoresizing::None;
    bool autoresizesSubviews = true;
    bool insetsLayoutMarginsFromSafeArea = true;
    // The opacity, style class, accessibility identifier and background
    // colour are declared last, see the end of the class.

    // Tree.
    std::shared_ptr<UIView> superview() const;
    // Whether view is the superview (nullptr: the view has none), without
    // taking a reference to it: layout code asks this for every row it builds.
    bool superviewIs(const UIView* view) const { return superview_ == view; }
    // The subviews in order. The list is the view's own, not a copy: it
    // follows every change, so code that adds or removes subviews while it
    // walks them walks a copy (std::vector<std::shared_ptr<UIView>>(subviews())).
    class SubviewList {
    public:
        using value_type = std::shared_ptr<UIView>;
        using const_iterator = const std::shared_ptr<UIView>*;
        using iterator = const_iterator;
        SubviewList(const_iterator first, const_iterator last) : first_(first), last_(last) {}
        const_iterator begin() const { return first_; }
        const_iterator end() const { return last_; }
        std::size_t size() const { return static_cast<std::size_t>(last_ - first_); }
        bool empty() const { return first_ == last_; }
        const std::shared_ptr<UIView>& operator[](std::size_t i) const { return first_[i]; }
        const std::shared_ptr<UIView>& front() const { return *first_; }
        const std::shared_ptr<UIView>& back() const { return last_[-1]; }
        operator std::vector<std::shared_ptr<UIView>>() const { return {first_, last_}; }

    private:
        const_iterator first_;
        const_iterator last_;
    };
    SubviewList subviews() const { return {subviews_.data() + subviewsHead_, subviews_.data() + subviews_.size()}; }
    // Taken by value: a reference to a subclass converts once and is kept.
    void addSubview(std::shared_ptr<UIView> view);
    void insertSubview(std::shared_ptr<UIView> view, std::size_t index);
    void removeFromSuperview();
    bool isDescendantOf(const UIView& ancestor) const;
    // This view or the first descendant (depth first, in subview order) with the tag.
    std::shared_ptr<UIView> viewWithTag(std::int64_t tag);
    // The window the view is in (a window answers itself).
    virtual std::shared_ptr<UIWindow> window() const;
    // This view as a window, if it is one; cheaper than a cast for walks up the tree.
    virtual const UIWindow* asWindow() const { return nullptr; }

    // The view controller whose root view this is, if any.
    std::shared_ptr<UIViewController> owningViewController() const { return owner_.lock(); }
    // The view controller that owns the view: the next responder when it is a
    // view controller, else the answer of the next responder while that is a view.
    std::shared_ptr<UIViewController> controller() const;

    // Recorded constraints whose first item is this view.
    const std::vector<std::shared_ptr<NSLayoutConstraint>>& constraints() const { return constraints_; }
    void addConstraint(const std::shared_ptr<NSLayoutConstraint>& constraint);
    void removeConstraint(const std::shared_ptr<NSLayoutConstraint>& constraint);

    // Layout guides the view owns, in the order added; adding a guide owned
    // by another view moves it here.
    const std::vector<std::shared_ptr<UILayoutGuide>>& layoutGuides() const { return layoutGuides_; }
    void addLayoutGuide(const std::shared_ptr<UILayoutGuide>& guide);
    void removeLayoutGuide(const std::shared_ptr<UILayoutGuide>& guide);
    // The view's own guides, made on first use and the same ever after.
    std::shared_ptr<UILayoutGuide> layoutMarginsGuide();
    std::shared_ptr<UILayoutGuide> readableContentGuide();

    // Makes a first responder inside this view (or the view itself) resign;
    // with force, even one that would refuse. True when none is left.
    bool endEditing(bool force);

    // Runs changes with animations off; areAnimationsEnabled() tells
    // layout code (and tests) which way a change went.
    static void performWithoutAnimation(const std::function<void()>& changes);
    static bool areAnimationsEnabled();

    void setNeedsLayout() { needsLayout_ = true; }
    bool needsLayout() const { return needsLayout_; }
    // Lays out this view (when asked to) and then its subviews.
    void layoutIfNeeded();
    virtual void layoutSubviews() {}

    std::shared_ptr<UIResponder> nextResponder() const override;
    std::shared_ptr<UIWindow> responderWindow() const override { return window(); }

protected:
    // Called after the view joined or left a superview.
    virtual void didMoveToSuperview() {}

private:
    friend class UIViewController;
    friend class NSLayoutConstraint;
    friend class UITableView;

    // setFrame(CGRect(0, y, width, h)) for the view's own height h, which is
    // returned: a row that stays on screen as its table scrolls. Only the
    // parts that can differ are compared (a NaN height never equals itself,
    // so it marks the view for layout as setFrame does).
    double moveKeepingHeight(double y, double width) {
        const double height = frame_.size.height;
        // The row's y is asked first: a scroll moves it, so one compare
        // most often decides.
        if (frame_.origin.y != y || frame_.origin.x != 0 || frame_.size.width != width || height != height) {
            frame_.origin = {0, y};
            frame_.size.width = width;
            needsLayout_ = true;
        }
        return height;
    }

    // removeConstraint() for a constraint taking itself out of force: no
    // reference to it is needed, and this view may drop the last one.
    void dropConstraint(const NSLayoutConstraint& constraint);
    // Adds delta to the constraint ends of this view's subtree and of every
    // subtree it lies in.
    void countConstraintEnds(std::ptrdiff_t delta);
    void collectStaleConstraints(const UIView& leaving, const UIView& root,
                                 std::vector<NSLayoutConstraint*>& stale) const;

    // Leaves the superview's subviews; the superview's reference to the view
    // (nullptr when it had none) is handed to the caller.
    std::shared_ptr<UIView> detachFromSuperview();
    // The window above the view, without taking a reference to it.
    const UIWindow* enclosingWindow() const;
    std::shared_ptr<UILayoutGuide> ownGuide(std::shared_ptr<UILayoutGuide>& slot, const char* identifier);

    CGRect frame_;
    bool hidden_ = false;
    bool needsLayout_ = true;
    // Plain pointer so that constructors can build sub-view trees; the
    // superview owns this view and clears the pointer when it goes.
    UIView* superview_ = nullptr;
    // Constraint ends in this subtree: constraints its views keep, and
    // namings of its views and of the guides they own.
    std::size_t constraintEnds_ = 0;
    // The subviews are subviews_[subviewsHead_...]: the first subview, the
    // one a scrolling table takes out at every step, leaves by moving the
    // head instead of every subview after it; the room before the head is
    // taken back when the end needs it.
    // Before the subviews: a view shown in a cell is most often a leaf,
    // whose constraints are looked at and whose subviews are not.
    std::vector<std::shared_ptr<NSLayoutConstraint>> constraints_;
    ConstraintNamings namedBy_;
    std::vector<std::shared_ptr<UIView>> subviews_;
    std::size_t subviewsHead_ = 0;
    std::weak_ptr<UIViewController> owner_;
    std::vector<std::shared_ptr<UILayoutGuide>> layoutGuides_;
    std::shared_ptr<UILayoutGuide> layoutMarginsGuide_;
    std::shared_ptr<UILayoutGuide> readableContentGuide_;

public:
    // Read by styling and by tests, not by layout: declared after the fields
    // a view's place in the tree and its constraints use, so that those
    // share the first cache lines of a view that a table puts in a cell.
    double alpha = 1;
    // The style class a stylesheet would apply ("nuiClass").
    std::string nuiClass;
    std::string accessibilityIdentifier;
    std::optional<UIColor> backgroundColor;
};

}  // namespace trc::ui
