#pragma once
// The message line under a form cell: a title label with the message, a
// separator line and a background view, all always present. Hidden until
// a configurer shows it. Owned by its cell; main thread only.

#include <memory>

#include "platform/ui/UILabel.h"
#include "platform/ui/UIView.h"

namespace trc::vessa {

class VUIInlineValidationView : public ui::UIView {
    TRC_OBJECT(VUIInlineValidationView)
public:
    VUIInlineValidationView();

    const std::shared_ptr<ui::UILabel>& titleLabel() const { return titleLabel_; }
    const std::shared_ptr<ui::UIView>& separator() const { return separator_; }
    const std::shared_ptr<ui::UIView>& backgroundView() const { return backgroundView_; }

private:
    std::shared_ptr<ui::UIView> backgroundView_;
    std::shared_ptr<ui::UIView> separator_;
    std::shared_ptr<ui::UILabel> titleLabel_;
};

}  // namespace trc::vessa
