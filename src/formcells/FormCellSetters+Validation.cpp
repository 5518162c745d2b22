// The validation line under a form cell: its message, colours, separator and
// whether it shows. A row that names none of these shows no validation line,
// so a reused cell never keeps another row's message.

#include "formcells/FormCellSetters.h"
#include "platform/vessa/VUIInlineValidationDrawingTableViewCell.h"
#include "platform/vessa/VUIInlineValidationTableViewCell.h"
#include "platform/vessa/VUINoteFormCell.h"
#include "platform/vessa/VUISwitchFormCell.h"
#include "platform/vessa/VUITextFieldFormCell.h"
#include "services/ParameterHelper.h"

namespace trc::formcells {

namespace {

using services::ParameterHelper;

constexpr std::string_view kValidationMessage = "ValidationMessage";
constexpr std::string_view kValidationMessageColor = "ValidationMessageColor";
constexpr std::string_view kSeparatorBackgroundColor = "SeparatorBackgroundColor";
constexpr std::string_view kSeparatorIsHidden = "SeparatorIsHidden";
constexpr std::string_view kValidationViewBackgroundColor = "ValidationViewBackgroundColor";
constexpr std::string_view kValidationViewIsHidden = "ValidationViewIsHidden";

// Most rows name no validation key: every read below would answer nothing,
// so a cell that already shows no validation line is left as it is.
inline bool namesNoValidation(const core::Dictionary& params) {
    return !params.mayContain(ParameterHelper::kValidationProperties) && !params.mayContain(kValidationMessage) &&
           !params.mayContain(kValidationMessageColor) && !params.mayContain(kSeparatorBackgroundColor) &&
           !params.mayContain(kSeparatorIsHidden) && !params.mayContain(kValidationViewBackgroundColor) &&
           !params.mayContain(kValidationViewIsHidden);
}

// What a row naming no validation key leaves on the cell; the message colour
// is left as it is either way.
inline bool showsNoValidation(const vessa::VUIInlineValidationView& view) {
    return view.isHidden() && !view.titleLabel()->text && view.separator()->isHidden() &&
           !view.separator()->backgroundColor && !view.backgroundView()->backgroundColor;
}

// Both validation cell bases offer the same members without sharing a base.
// Kept out of line: most rows take the early return in applyValidation and
// should not pay for this frame.
template <class Cell>
[[gnu::noinline]] void writeValidation(Cell& cell, const core::Dictionary& params) {
    const auto& view = cell.validationView();
    cell.setValidationMessage(ParameterHelper::textIn(params, kValidationMessage).view());
    if (auto messageColor = ParameterHelper::getParameterAsColor(params, kValidationMessageColor)) {
        view->titleLabel()->textColor = messageColor->hexString();
    }
    view->separator()->backgroundColor = ParameterHelper::getParameterAsColor(params, kSeparatorBackgroundColor);
    view->separator()->setHidden(ParameterHelper::getParameterAsBool(params, kSeparatorIsHidden).value_or(true));
    view->backgroundView()->backgroundColor =
        ParameterHelper::getParameterAsColor(params, kValidationViewBackgroundColor);
    view->setHidden(ParameterHelper::getParameterAsBool(params, kValidationViewIsHidden).value_or(true));
}

template <class Cell>
inline void applyValidation(Cell& cell, const core::Dictionary& params) {
    if (namesNoValidation(params) && showsNoValidation(*cell.validationView())) return;
    writeValidation(cell, params);
}

}  // namespace

void FormCellSetters::setValidationView(const std::shared_ptr<vessa::VUIInlineValidationTableViewCell>& cell,
                                        const Params& params) {
    if (cell) applyValidation(*cell, params);
}

void FormCellSetters::setValidationView(vessa::VUIInlineValidationTableViewCell& cell, const Params& params) {
    applyValidation(cell, params);
}

void FormCellSetters::setValidationView(const std::shared_ptr<vessa::VUINoteFormCell>& cell, const Params& params) {
    if (cell) applyValidation<vessa::VUIInlineValidationDrawingTableViewCell>(*cell, params);
}

void FormCellSetters::setValidationView(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell,
                                        const Params& params) {
    if (cell) applyValidation<vessa::VUIInlineValidationDrawingTableViewCell>(*cell, params);
}

void FormCellSetters::setValidationView(const std::shared_ptr<vessa::VUISwitchFormCell>& cell, const Params& params) {
    if (cell) applyValidation<vessa::VUIInlineValidationDrawingTableViewCell>(*cell, params);
}

}  // namespace trc::formcells
