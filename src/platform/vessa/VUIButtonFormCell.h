#pragma once
// The button cell: one titled VUIButton, aligned in the cell. The person's
// tap (press) runs the button's didSelectHandler and the cell's
// onChangeHandler with the control event. Main thread only.

#include <functional>
#include <memory>
#include <string>

#include "platform/ui/UIControl.h"
#include "platform/vessa/VUIBaseTableViewCell.h"
#include "platform/vessa/VUIButton.h"
#include "platform/vessa/VUIChangeHandler.h"
#include "platform/vessa/VUIHorizontalAlignment.h"

namespace trc::vessa {

class VUIButtonFormCell : public VUIBaseTableViewCell {
    TRC_OBJECT(VUIButtonFormCell)
public:
    VUIButtonFormCell();
    static const std::string& reuseIdentifier() {
        static const std::string identifier = "VUIButtonFormCell";
        return identifier;
    }

    const std::shared_ptr<VUIButton>& button() const { return button_; }
    VUIHorizontalAlignment alignment = VUIHorizontalAlignment::Center;
    VUIChangeHandler<void(ui::UIControl::Event)> onChangeHandler;

    bool press() { return button_->press(); }

private:
    std::shared_ptr<VUIButton> button_;
};

}  // namespace trc::vessa
