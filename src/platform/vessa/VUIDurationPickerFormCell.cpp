#include "platform/vessa/VUIDurationPickerFormCell.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

#include "platform/core/ClassInfo.h"
#include "platform/core/TextAssignment.h"
#include "platform/ui/UIValues.h"

namespace trc::vessa {

const core::ClassInfo& VUIDurationPickerFormCell::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIDurationPickerFormCell>("VUIDurationPickerFormCell",
                                                      VUIInlineValidationTableViewCell::classInfo())
            .constructible()
            .classProperty("reuseIdentifier", [] { return core::Value(reuseIdentifier()); })
            .property("keyName", [](const VUIDurationPickerFormCell& c) { return ui::textOrNil(c.keyName()); })
            .property("keyLabel", [](const VUIDurationPickerFormCell& c) { return core::Value(c.keyLabel()); })
            .property("valueLabel", [](const VUIDurationPickerFormCell& c) { return core::Value(c.valueLabel()); })
            .property("value", [](const VUIDurationPickerFormCell& c) { return core::Value(c.value()); })
            .property("durationPicker",
                      [](const VUIDurationPickerFormCell& c) { return core::Value(c.durationPicker()); })
            .build();
    return info;
}

namespace {

// Room for the longest text: hours of twelve digits and the minutes.
using TextRoom = std::array<char, 48>;

// The text for seconds, written into room: a reused cell shows its new
// row's duration in the room its label's text has, making no string.
std::string_view writeDurationText(double seconds, TextRoom& room) {
    if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
    // Far beyond any duration a person picks, and still a whole number of minutes an integer holds.
    seconds = std::min(seconds, 1e15);
    auto minutes = static_cast<long long>(seconds / 60);
    const long long hours = minutes / 60;
    minutes %= 60;
    char* at = room.data();
    char* const end = room.data() + room.size();
    auto number = [&](long long n) { at = std::to_chars(at, end, n).ptr; };
    auto words = [&](std::string_view text) { at = std::copy(text.begin(), text.end(), at); };
    if (hours > 0) {
        number(hours);
        words(" h");
        if (minutes > 0) words(" ");
    }
    if (hours == 0 || minutes > 0) {
        number(minutes);
        words(" min");
    }
    return {room.data(), static_cast<std::size_t>(at - room.data())};
}

void showDuration(ui::UILabel& label, double seconds) {
    TextRoom room;
    core::assignText(label.text, writeDurationText(seconds, room));
}

}  // namespace

std::string VUIDurationPickerFormCell::durationText(double seconds) {
    TextRoom room;
    return std::string(writeDurationText(seconds, room));
}

VUIDurationPickerFormCell::VUIDurationPickerFormCell()
    : keyLabel_(std::make_shared<ui::UILabel>()),
      valueLabel_(std::make_shared<ui::UILabel>()),
      durationPicker_(std::make_shared<ui::UIDatePicker>()) {
    nuiClass = "VUIDurationPickerFormCell";
    durationPicker_->datePickerMode = ui::UIDatePicker::Mode::CountDownTimer;
    contentView()->addSubview(keyLabel_);
    contentView()->addSubview(valueLabel_);
    contentView()->addSubview(durationPicker_);
    valueLabel_->text = durationText(0);
    durationPicker_->addAction(ui::UIControl::Event::ValueChanged, whileAlive([this](ui::UIControl&) {
                                   showDuration(*valueLabel_, value());
                                   fire(onChangeHandler, value());
                               }));
}

void VUIDurationPickerFormCell::setValue(double seconds) {
    durationPicker_->countDownDuration = seconds;
    showDuration(*valueLabel_, seconds);
}

}  // namespace trc::vessa
