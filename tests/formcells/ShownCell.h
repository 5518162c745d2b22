#pragma once
// What a form cell on screen shows a person, as one short line: its texts,
// its value, its state (editable, keyboard, line limits, picker mode), its
// style classes and its validation line. Two cells that give the same line
// look and behave the same to a person, whatever road configured them.

#include <string>

#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UITextField.h"
#include "platform/vessa/VUIAttachmentsFormCell.h"
#include "platform/vessa/VUIAttachmentsViewController.h"
#include "platform/vessa/VUIButton.h"
#include "platform/vessa/VUIButtonFormCell.h"
#include "platform/vessa/VUIDatePickerFormCell.h"
#include "platform/vessa/VUIDurationPickerFormCell.h"
#include "platform/vessa/VUIFilterFormCell.h"
#include "platform/vessa/VUIInlineValidationDrawingTableViewCell.h"
#include "platform/vessa/VUIInlineValidationTableViewCell.h"
#include "platform/vessa/VUIListPicker.h"
#include "platform/vessa/VUIListPickerFormCell.h"
#include "platform/vessa/VUINoteFormCell.h"
#include "platform/vessa/VUISegmentedControlFormCell.h"
#include "platform/vessa/VUISwitchFormCell.h"
#include "platform/vessa/VUITextFieldFormCell.h"
#include "platform/vessa/VUITitleFormCell.h"

namespace trc::formcells::testing {

namespace shown_detail {

inline std::string text(const std::optional<std::string>& t) { return t ? "\"" + *t + "\"" : "-"; }
inline std::string text(const std::string& t) { return "\"" + t + "\""; }
inline std::string onOff(bool b) { return b ? "1" : "0"; }
inline std::string color(const std::optional<ui::UIColor>& c) { return c ? c->hexString() : "-"; }

inline std::string path(const std::vector<vessa::VessaStyle>& styles) {
    std::string out = "[";
    for (const auto& s : styles) out += s.styleClass + ";";
    return out + "]";
}

template <class T>
std::string list(const std::vector<T>& items) {
    std::string out = "[";
    for (const auto& i : items) {
        if constexpr (std::is_same_v<T, std::string>) {
            out += text(i) + ",";
        } else {
            out += std::to_string(i) + ",";
        }
    }
    return out + "]";
}

inline std::string list(const vessa::VUIOptionTitles& items) {
    std::string out = "[";
    for (std::size_t i = 0; i < items.size(); ++i) out += text(items[i]) + ",";
    return out + "]";
}

inline std::string field(const ui::UITextField& f) {
    return text(f.text) + " ph " + text(f.placeholder) + " kb " + std::to_string(static_cast<int>(f.keyboardType)) +
           (f.isSecureTextEntry ? " secure" : "") + (f.delegate() ? " filtered" : "") + " class " + f.nuiClass;
}

template <class Holder>
std::string validation(const Holder& cell) {
    auto v = cell.validationView();
    return " | validation " + text(cell.validationMessage()) + " hidden " + onOff(v->isHidden()) + " color " +
           v->titleLabel()->textColor + " separator " + onOff(v->separator()->isHidden()) + " " +
           color(v->separator()->backgroundColor) + " background " + color(v->backgroundView()->backgroundColor);
}

}  // namespace shown_detail

inline std::string shownCell(const ui::UITableViewCell& cell) {
    using namespace shown_detail;
    std::string out = cell.className() + " class " + cell.nuiClass;
    if (auto base = dynamic_cast<const vessa::VUIBaseTableViewCell*>(&cell))
        out += " editable " + onOff(base->isEditable());
    out += " | ";
    if (auto c = dynamic_cast<const vessa::VUITextFieldFormCell*>(&cell)) {
        out += "caption " + text(c->keyName()) + " path " + path(c->titleStyleClassPath) + " value " +
               field(*c->valueTextField()) + " placeholder " + text(c->placeholder()->text) +
               (c->isAlternativeInputEnabled() ? " barcode" : "");
    } else if (auto c = dynamic_cast<const vessa::VUITitleFormCell*>(&cell)) {
        out += "value " + field(*c->valueTextField());
    } else if (auto c = dynamic_cast<const vessa::VUINoteFormCell*>(&cell)) {
        out += "value " + text(c->value()) + " class " + c->valueTextView()->nuiClass + " placeholder " +
               text(c->placeholder()->text) + " lines " + std::to_string(c->minNumberOfLines) + "-" +
               std::to_string(c->maxNumberOfLines);
    } else if (auto c = dynamic_cast<const vessa::VUISwitchFormCell*>(&cell)) {
        out += "caption " + text(c->keyName()) + " path " + path(c->titleStyleClassPath) + " value " +
               onOff(c->value()) + " switch " + c->switchView()->nuiClass;
    } else if (auto c = dynamic_cast<const vessa::VUIDatePickerFormCell*>(&cell)) {
        out += "caption " + text(c->keyName()) + " key " + text(c->keyLabel()->text) + " " + c->keyLabel()->nuiClass +
               " shows " + text(c->valueLabel()->text) + " " + c->valueLabel()->nuiClass + " mode " +
               std::to_string(static_cast<int>(c->datePicker()->datePickerMode)) + " at " +
               std::to_string(c->value().secondsSince1970);
    } else if (auto c = dynamic_cast<const vessa::VUIDurationPickerFormCell*>(&cell)) {
        out += "caption " + text(c->keyName()) + " " + c->keyLabel()->nuiClass + " shows " +
               text(c->valueLabel()->text) + " " + c->valueLabel()->nuiClass + " seconds " +
               std::to_string(c->value()) + " every " + std::to_string(c->durationPicker()->minuteInterval());
    } else if (auto c = dynamic_cast<const vessa::VUISegmentedControlFormCell*>(&cell)) {
        out += "caption " + text(c->keyName()) + " " + c->keyLabel()->nuiClass + " segments " +
               list(c->valueOptions()) + " value " + std::to_string(c->value()) + " apportioned " +
               onOff(c->apportionsSegmentWidthsByContent());
    } else if (auto c = dynamic_cast<const vessa::VUIListPickerFormCell*>(&cell)) {
        out += "caption " + text(c->keyName()) + " " + c->keyLabel()->nuiClass + " shows " +
               text(c->valueLabel()->text) + " " + c->valueLabel()->nuiClass + " value " + list(c->value()) + " ids " +
               list(c->uuidValues) + " prompt " + text(c->listPicker()->prompt) + " multiple " +
               onOff(c->allowsMultipleSelection);
    } else if (auto c = dynamic_cast<const vessa::VUIFilterFormCell*>(&cell)) {
        out += "caption " + text(c->keyName()) + " " + c->keyLabel()->nuiClass + " options " + list(c->valueOptions) +
               " value " + list(c->value) + " multiple " + onOff(c->allowsMultipleSelection) + " empty " +
               onOff(c->allowsEmptySelection);
    } else if (auto c = dynamic_cast<const vessa::VUIButtonFormCell*>(&cell)) {
        out += "title " + text(c->button()->currentTitle()) + " " + c->button()->titleLabel()->nuiClass + " align " +
               std::to_string(static_cast<int>(c->alignment));
    } else if (auto c = dynamic_cast<const vessa::VUIAttachmentsFormCell*>(&cell)) {
        auto controller = c->attachmentsController();
        out += "title " + text(controller->attachmentsTitle()) + " cancel " + text(controller->cancelString()) +
               " shown " + std::to_string(controller->shownAttachments().size()) + " actions " +
               std::to_string(controller->attachmentActions().size());
    } else {
        out += "text " + text(cell.textLabel()->text);
    }
    if (auto c = dynamic_cast<const vessa::VUIInlineValidationTableViewCell*>(&cell)) out += validation(*c);
    if (auto c = dynamic_cast<const vessa::VUIInlineValidationDrawingTableViewCell*>(&cell)) out += validation(*c);
    return out;
}

}  // namespace trc::formcells::testing
