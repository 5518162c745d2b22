#pragma once
// The segmented control cell: a caption and one segment per option; value
// is the selected segment's index. A value outside the options selects no
// segment (and is kept as given). The person's pick (select) reaches
// onChangeHandler with the index. Main thread only.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/TextAssignment.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UISegmentedControl.h"
#include "platform/vessa/VUIChangeHandler.h"
#include "platform/vessa/VUIInlineValidationTableViewCell.h"

namespace trc::vessa {

class VUISegmentedControlFormCell : public VUIInlineValidationTableViewCell {
    TRC_OBJECT(VUISegmentedControlFormCell)
public:
    VUISegmentedControlFormCell();
    static const std::string& reuseIdentifier() {
        static const std::string identifier = "VUISegmentedControlFormCell";
        return identifier;
    }

    const std::optional<std::string>& keyName() const { return keyLabel_->text; }
    void setKeyName(std::optional<std::string_view> name) { setCaption(keyLabel_->text, name); }
    const std::shared_ptr<ui::UILabel>& keyLabel() const { return keyLabel_; }

    const ui::UIOptionTitles& valueOptions() const { return segmentedControl_->segmentTitles; }
    void setValueOptions(const std::vector<std::string>& options);
    // A host's list the caller found to be of texts, one or more and none
    // empty, shown as it stands; nil for no option.
    void shareValueOptions(const core::Value& options);
    int value() const { return value_; }
    void setValue(int index);
    bool apportionsSegmentWidthsByContent() const { return segmentedControl_->apportionsSegmentWidthsByContent; }
    void setApportionsSegmentWidthsByContent(bool on) { segmentedControl_->apportionsSegmentWidthsByContent = on; }
    const std::shared_ptr<ui::UISegmentedControl>& segmentedControl() const { return segmentedControl_; }

    VUIChangeHandler<void(int)> onChangeHandler;

    bool select(int index) { return segmentedControl_->selectSegment(index); }

protected:
    void editableDidChange() override { segmentedControl_->setEnabled(isEditable()); }

private:
    void showValue();

    std::shared_ptr<ui::UILabel> keyLabel_;
    std::shared_ptr<ui::UISegmentedControl> segmentedControl_;
    int value_ = ui::UISegmentedControl::noSegment;
};

}  // namespace trc::vessa
