// The title, note and simple-property rows: their values, placeholders,
// captions, editability, line limits, keyboards, the barcode button and
// their style classes.

#include <array>
#include <utility>

#include "formcells/FormCellOwner.h"
#include "formcells/FormCellSetters.h"
#include "formcells/SimplePropertyBarcodeScanViewController.h"
#include "formcells/internal/FormCellDefaultStyle.h"
#include "formcells/internal/SetterSupport.h"
#include "platform/core/TextAssignment.h"
#include "platform/ui/UITextFieldDelegate.h"
#include "platform/ui/UITextView.h"
#include "platform/vessa/VUIColorStyle.h"
#include "platform/vessa/VUIIconLibrary.h"
#include "platform/vessa/VUINoteFormCell.h"
#include "platform/vessa/VUITextFieldFormCell.h"
#include "platform/vessa/VUITitleFormCell.h"
#include "services/ParameterHelper.h"

namespace trc::formcells {

namespace {

using services::ParameterHelper;
using S = internal::SetterSupport;

constexpr std::string_view kKeyboardType = "KeyboardType";
constexpr std::string_view kAlternateInput = "AlternateInput";
constexpr std::string_view kBarcode = "Barcode";
constexpr std::string_view kMinNumberOfLines = "MinNumberOfLines";
constexpr std::string_view kMaxNumberOfLines = "MaxNumberOfLines";
constexpr std::string_view kIsAutoResizing = "IsAutoResizing";

// Keyboard names the host may give; any other name is the default keyboard.
constexpr std::string_view kPassword = "Password";
constexpr std::string_view kNumber = "Number";
constexpr std::string_view kNumberPassword = "NumberPassword";
constexpr std::array<std::pair<std::string_view, ui::UIKeyboardType>, 6> kKeyboards{{
    {"Email", ui::UIKeyboardType::EmailAddress},
    {kNumber, ui::UIKeyboardType::DecimalPad},
    {"Phone", ui::UIKeyboardType::PhonePad},
    {"Url", ui::UIKeyboardType::URL},
    {"DateTime", ui::UIKeyboardType::NumbersAndPunctuation},
    {kNumberPassword, ui::UIKeyboardType::NumberPad},
}};

// A note shows one to two lines unless its row says otherwise.
constexpr int kNoteMinLines = 1;
constexpr int kNoteMaxLines = 2;
// Given only a maximum, a note starts with at most this many lines.
constexpr int kNoteMinLinesCap = 3;

internal::FormCellDefaultStyle& simplePropertyDefaultStyle() {
    static internal::FormCellDefaultStyle style(S::kValue, "FormCellSetters.simplePropertyDefaultStyle");
    return style;
}

using Text = ParameterHelper::Text;

// TextFieldDelegate is the owner's class or the text field delegate's: the
// owner is converted only for a row that needs the delegate.
template <class TextFieldDelegate>
void applySimplePropertyRow(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell,
                            const FormCellSetters::Params& params, const Text& value, const Text& placeholder,
                            const std::shared_ptr<TextFieldDelegate>& textFieldDelegate,
                            const FormCellSetters::Delegate& delegate, const ui::IndexPath& indexPath);

// The row's keys but what the initDefault setters read; value is the row's "Value".
void applyTitleRow(vessa::VUITitleFormCell& cell, const FormCellSetters::Params& params, const Text& value) {
    if (value) cell.setValue(*value);
    if (auto text = ParameterHelper::textIn(params, S::kPlaceHolder)) cell.setPlaceholderText(*text);
    S::applyEditable(params, cell);
    const core::Dictionary& styles = S::styles(params);
    S::applyStyleClass(styles, S::kBackground, cell);
    S::applyStyleClass(styles, S::kValue, *cell.valueTextField());
}

void applyNoteRow(vessa::VUINoteFormCell& cell, const FormCellSetters::Params& params, const Text& value,
                  const Text& placeholder) {
    cell.valueTextView()->allowsEditingTextAttributes = false;
    if (value) cell.setValue(*value);
    if (placeholder) core::assignText(cell.placeholder()->text, *placeholder);
    S::applyEditable(params, cell);

    const auto autoResizing = ParameterHelper::getParameterAsBool(params, kIsAutoResizing);
    const auto minLines = S::intParameter(params, kMinNumberOfLines, 0);
    const auto maxLines = S::intParameter(params, kMaxNumberOfLines, 0);
    if (autoResizing.value_or(false)) {
        // The note grows with its text: only the minimum is fixed.
        cell.minNumberOfLines = kNoteMinLines;
    } else if (autoResizing || (!minLines && !maxLines)) {
        cell.minNumberOfLines = kNoteMinLines;
        cell.maxNumberOfLines = kNoteMaxLines;
    } else if (minLines && maxLines) {
        cell.minNumberOfLines = *minLines;
        cell.maxNumberOfLines = std::max(*minLines, *maxLines);
    } else if (minLines) {
        cell.minNumberOfLines = *minLines;
        cell.maxNumberOfLines = std::max(*minLines, kNoteMaxLines);
    } else {
        cell.minNumberOfLines = std::min(*maxLines, kNoteMinLinesCap);
        cell.maxNumberOfLines = *maxLines;
    }

    const core::Dictionary& styles = S::styles(params);
    S::applyStyleClass(styles, S::kBackground, cell);
    S::applyStyleClass(styles, S::kValue, *cell.valueTextView());
}

// What a new simple-property row starts from, given its "Value" and "PlaceHolder".
void startSimplePropertyRow(vessa::VUITextFieldFormCell& cell, const Text& value, const Text& placeholder) {
    const auto& field = cell.valueTextField();
    field->isSecureTextEntry = false;
    cell.setEditable(true);
    if (!placeholder) core::assignText(cell.placeholder()->text, "");
    // A reused cell starts clean, so a plain row never inherits another
    // row's text, number filter, keyboard or barcode button.
    if (!value) cell.setValue({});
    cell.setKeyboardType(ui::UIKeyboardType::Default);
    field->setDelegate(nullptr);
    cell.setAlternativeInputEnabled(false);
    cell.alternativeInputButton()->didSelectHandler = nullptr;
}

}  // namespace

void FormCellSetters::initDefaultTitleFormCellView(const std::shared_ptr<vessa::VUITitleFormCell>& cell,
                                                   const Params& params) {
    if (cell && !ParameterHelper::textIn(params, S::kValue)) cell->setValue({});
}

void FormCellSetters::initDefaultNoteFormCellView(const std::shared_ptr<vessa::VUINoteFormCell>& cell,
                                                  const Params& params) {
    if (cell && !ParameterHelper::textIn(params, S::kValue)) cell->setValue({});
}

void FormCellSetters::setTitleFormCellView(const std::shared_ptr<vessa::VUITitleFormCell>& cell, const Params& params) {
    if (cell) applyTitleRow(*cell, params, ParameterHelper::textIn(params, S::kValue));
}

void FormCellSetters::buildTitleFormCellView(const std::shared_ptr<vessa::VUITitleFormCell>& cell,
                                             const Params& params) {
    if (!cell) return;
    const Text value = ParameterHelper::textIn(params, S::kValue);
    if (!value) cell->setValue({});
    applyTitleRow(*cell, params, value);
}

void FormCellSetters::setNoteFormCellView(const std::shared_ptr<vessa::VUINoteFormCell>& cell, const Params& params) {
    if (cell)
        applyNoteRow(*cell, params, ParameterHelper::textIn(params, S::kValue),
                     ParameterHelper::textIn(params, S::kPlaceHolder));
}

void FormCellSetters::buildNoteFormCellView(const std::shared_ptr<vessa::VUINoteFormCell>& cell, const Params& params) {
    if (!cell) return;
    const Text value = ParameterHelper::textIn(params, S::kValue);
    if (!value) cell->setValue({});
    applyNoteRow(*cell, params, value, ParameterHelper::textIn(params, S::kPlaceHolder));
}

void FormCellSetters::initDefaultSimplePropertyFormCellView(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell,
                                                            const Params& params) {
    if (cell)
        startSimplePropertyRow(*cell, ParameterHelper::textIn(params, S::kValue),
                               ParameterHelper::textIn(params, S::kPlaceHolder));
}

void FormCellSetters::setSimplePropertyFormCellView(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell,
                                                    const Params& params,
                                                    const std::shared_ptr<ui::UITextFieldDelegate>& textFieldDelegate,
                                                    const Delegate& delegate, const ui::IndexPath& indexPath) {
    if (cell)
        applySimplePropertyRow(cell, params, ParameterHelper::textIn(params, S::kValue),
                               ParameterHelper::textIn(params, S::kPlaceHolder), textFieldDelegate, delegate,
                               indexPath);
}

void FormCellSetters::buildSimplePropertyFormCellView(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell,
                                                      const Params& params, const std::shared_ptr<FormCellOwner>& owner,
                                                      const Delegate& delegate, const ui::IndexPath& indexPath) {
    if (!cell) return;
    const Text value = ParameterHelper::textIn(params, S::kValue);
    const Text placeholder = ParameterHelper::textIn(params, S::kPlaceHolder);
    startSimplePropertyRow(*cell, value, placeholder);
    applySimplePropertyRow(cell, params, value, placeholder, owner, delegate, indexPath);
}

namespace {

std::shared_ptr<FormCellOwner> ownerOf(const std::shared_ptr<FormCellOwner>& owner) { return owner; }
std::shared_ptr<FormCellOwner> ownerOf(const std::shared_ptr<ui::UITextFieldDelegate>& textFieldDelegate) {
    return std::dynamic_pointer_cast<FormCellOwner>(textFieldDelegate);
}

template <class TextFieldDelegate>
void applySimplePropertyRow(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell,
                            const FormCellSetters::Params& params, const Text& value, const Text& placeholder,
                            const std::shared_ptr<TextFieldDelegate>& textFieldDelegate,
                            const FormCellSetters::Delegate& delegate, const ui::IndexPath& indexPath) {
    const auto& field = cell->valueTextField();
    if (value) cell->setValue(*value);
    if (placeholder) core::assignText(cell->placeholder()->text, *placeholder);
    if (auto caption = ParameterHelper::textIn(params, S::kCaption)) cell->setKeyName(*caption);
    S::applyEditable(params, *cell);

    if (auto name = ParameterHelper::textIn(params, kKeyboardType)) {
        cell->setKeyboardType(FormCellSetters::getKeyboardType(*name));
        field->isSecureTextEntry = *name == kPassword || *name == kNumberPassword;
        // The owner filters what number fields accept.
        const bool numeric = *name == kNumber || *name == kNumberPassword;
        field->setDelegate(numeric ? std::shared_ptr<ui::UITextFieldDelegate>(textFieldDelegate) : nullptr);
    }

    if (auto input = ParameterHelper::textIn(params, kAlternateInput)) {
        if (*input == kBarcode) {
            FormCellSetters::configAlternateInputButton(cell, ownerOf(textFieldDelegate), delegate, indexPath,
                                                        S::rowName(params));
        } else {
            cell->setAlternativeInputEnabled(false);
            cell->alternativeInputButton()->didSelectHandler = nullptr;
        }
    }

    internal::FormCellDefaultStyle& defaultStyle = simplePropertyDefaultStyle();
    defaultStyle.recordOnce(*cell, cell->titleStyleClassPath, *field);
    defaultStyle.apply(S::styles(params), *cell, cell->titleStyleClassPath, *field);

    // A changed keyboard takes effect only when the field gains the focus,
    // so a field being edited gets it again.
    if (field->isEditing()) {
        cell->innerView()->resignFirstResponder();
        cell->innerView()->becomeFirstResponder();
    }
}

}  // namespace

ui::UIKeyboardType FormCellSetters::getKeyboardType(std::string_view keyboardType) {
    for (const auto& [name, type] : kKeyboards) {
        if (keyboardType == name) return type;
    }
    return ui::UIKeyboardType::Default;
}

void FormCellSetters::configAlternateInputButton(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell,
                                                 const std::shared_ptr<FormCellOwner>& containerDelegate,
                                                 const Delegate& delegate, const ui::IndexPath& indexPath,
                                                 std::optional<std::string> cellName) {
    if (!cell) return;
    cell->setAlternativeInputEnabled(true);
    auto button = cell->alternativeInputButton();
    button->setImage(
        vessa::VUIIconLibrary::system().barcode->withRenderingMode(ui::UIImage::RenderingMode::AlwaysTemplate));
    button->tintColor = vessa::preferredVessaColor(vessa::VUIColorStyle::TintColorDark).hexString();
    // The row's scanner controller lives as long as this handler. Everything
    // else is held weakly: the owner holds the table that holds this cell,
    // and the host may hold the owner through its callback object.
    button->didSelectHandler = [scanner = std::make_shared<SimplePropertyBarcodeScanViewController>(),
                                weakCell = std::weak_ptr<vessa::VUITextFieldFormCell>(cell),
                                weakOwner = std::weak_ptr<FormCellOwner>(containerDelegate),
                                weakDelegate = std::weak_ptr<core::Object>(delegate), indexPath,
                                cellName = std::move(cellName)](vessa::VUIButton&) {
        auto target = weakCell.lock();
        if (!target) return;
        scanner->create(target, weakOwner.lock(), weakDelegate.lock(), indexPath, cellName);
    };
}

}  // namespace trc::formcells
