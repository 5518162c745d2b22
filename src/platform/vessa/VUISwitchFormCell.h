#pragma once
// The switch cell: a caption (keyName) and a switch (value). The person's
// flip (toggle) reaches onChangeHandler with the new value; a cell that is
// not editable refuses it. Main thread only.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/TextAssignment.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UISwitch.h"
#include "platform/vessa/VUIChangeHandler.h"
#include "platform/vessa/VUIInlineValidationDrawingTableViewCell.h"
#include "platform/vessa/VessaStyle.h"

namespace trc::vessa {

class VUISwitchFormCell : public VUIInlineValidationDrawingTableViewCell {
    TRC_OBJECT(VUISwitchFormCell)
public:
    VUISwitchFormCell();
    static const std::string& reuseIdentifier() {
        static const std::string identifier = "VUISwitchFormCell";
        return identifier;
    }

    const std::optional<std::string>& keyName() const { return titleLabel_->text; }
    void setKeyName(std::optional<std::string_view> name) { setCaption(titleLabel_->text, name); }
    const std::shared_ptr<ui::UILabel>& titleLabel() const { return titleLabel_; }
    bool value() const { return switchView_->isOn(); }
    void setValue(bool on) { switchView_->setOn(on); }
    const std::shared_ptr<ui::UISwitch>& switchView() const { return switchView_; }

    std::vector<VessaStyle> titleStyleClassPath;
    VUIChangeHandler<void(bool)> onChangeHandler;

    bool toggle() { return switchView_->toggle(); }
    // The person sets the switch to on: a flip when it is not there yet.
    bool enterValue(bool on) { return value() == on ? acceptsEntry() : toggle(); }

protected:
    void editableDidChange() override { switchView_->setEnabled(isEditable()); }

private:
    bool acceptsEntry() const { return switchView_->acceptsUserInput(); }

    std::shared_ptr<ui::UILabel> titleLabel_;
    std::shared_ptr<ui::UISwitch> switchView_;
};

}  // namespace trc::vessa
