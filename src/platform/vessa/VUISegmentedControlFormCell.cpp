#include "platform/vessa/VUISegmentedControlFormCell.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/UIValues.h"

namespace trc::vessa {

const core::ClassInfo& VUISegmentedControlFormCell::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUISegmentedControlFormCell>("VUISegmentedControlFormCell",
                                                        VUIInlineValidationTableViewCell::classInfo())
            .constructible()
            .classProperty("reuseIdentifier", [] { return core::Value(reuseIdentifier()); })
            .property("keyName", [](const VUISegmentedControlFormCell& c) { return ui::textOrNil(c.keyName()); })
            .property("keyLabel", [](const VUISegmentedControlFormCell& c) { return core::Value(c.keyLabel()); })
            .property("value", [](const VUISegmentedControlFormCell& c) { return core::Value(c.value()); })
            .property("valueOptions", [](const VUISegmentedControlFormCell& c) { return c.valueOptions().value(); })
            .property(
                "apportionsSegmentWidthsByContent",
                [](const VUISegmentedControlFormCell& c) { return core::Value(c.apportionsSegmentWidthsByContent()); })
            .property("segmentedControl",
                      [](const VUISegmentedControlFormCell& c) { return core::Value(c.segmentedControl()); })
            .build();
    return info;
}

VUISegmentedControlFormCell::VUISegmentedControlFormCell()
    : keyLabel_(std::make_shared<ui::UILabel>()), segmentedControl_(std::make_shared<ui::UISegmentedControl>()) {
    nuiClass = "VUISegmentedControlFormCell";
    contentView()->addSubview(keyLabel_);
    contentView()->addSubview(segmentedControl_);
    segmentedControl_->addAction(ui::UIControl::Event::ValueChanged, whileAlive([this](ui::UIControl&) {
                                     value_ = segmentedControl_->selectedSegmentIndex;
                                     fire(onChangeHandler, value_);
                                 }));
}

void VUISegmentedControlFormCell::setValueOptions(const std::vector<std::string>& options) {
    segmentedControl_->segmentTitles = options;
    showValue();
}

void VUISegmentedControlFormCell::shareValueOptions(const core::Value& options) {
    if (options.isNil()) {
        segmentedControl_->segmentTitles.clear();
    } else {
        segmentedControl_->segmentTitles.shareTexts(options);
    }
    showValue();
}

void VUISegmentedControlFormCell::setValue(int index) {
    value_ = index;
    showValue();
}

void VUISegmentedControlFormCell::showValue() {
    bool inRange = value_ >= 0 && value_ < static_cast<int>(segmentedControl_->segmentTitles.size());
    segmentedControl_->selectedSegmentIndex = inRange ? value_ : ui::UISegmentedControl::noSegment;
}

}  // namespace trc::vessa
