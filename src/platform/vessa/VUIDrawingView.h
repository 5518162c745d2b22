#pragma once
// The inner view of a drawing cell. Its layout is calculated rather than
// constrained: setNeedsCalculateLayout() marks it so the row height is
// recalculated at the table's next update (counted, for tests). Focus
// asked of it goes to the cell's text input: becoming or resigning first
// responder here acts on that input. Owned by its cell; main thread only.

#include <memory>

#include "platform/ui/UIView.h"

namespace trc::vessa {

class VUIDrawingView : public ui::UIView {
    TRC_OBJECT(VUIDrawingView)
public:
    void setNeedsCalculateLayout() { ++calculateLayoutRequests_; }
    int calculateLayoutRequests() const { return calculateLayoutRequests_; }

    // The input that takes the focus for this view (held weakly; may be none).
    void setFocusTarget(const std::shared_ptr<ui::UIResponder>& target) { focusTarget_ = target; }
    std::shared_ptr<ui::UIResponder> focusTarget() const { return focusTarget_.lock(); }

    bool becomeFirstResponder() override;
    bool resignFirstResponder() override;
    bool isFirstResponder() const override;
    // Requests counted for tests: how often the view was asked to take the focus.
    int focusRequests() const { return focusRequests_; }

private:
    int calculateLayoutRequests_ = 0;
    int focusRequests_ = 0;
    std::weak_ptr<ui::UIResponder> focusTarget_;
};

}  // namespace trc::vessa
