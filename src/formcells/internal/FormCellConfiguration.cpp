#include "formcells/internal/FormCellConfiguration.h"

#include "formcells/FormCellOwner.h"
#include "formcells/FormCellSetters.h"
#include "platform/vessa/VUIButton.h"
#include "platform/vessa/VUIDatePickerFormCell.h"
#include "platform/vessa/VUIDurationPickerFormCell.h"
#include "platform/vessa/VUIFilterFormCell.h"
#include "platform/vessa/VUINoteFormCell.h"
#include "platform/vessa/VUISegmentedControlFormCell.h"
#include "platform/vessa/VUISwitchFormCell.h"
#include "platform/vessa/VUITextFieldFormCell.h"
#include "platform/vessa/VUITitleFormCell.h"

namespace trc::formcells::internal {

namespace {

using Setters = FormCellSetters;
using vessa::VUIInlineValidationTableViewCell;

// The validation line of a cell on the one validation base, with no count
// taken on the cell the caller holds.
template <class Cell>
void setValidationView(const std::shared_ptr<Cell>& cell, const FormCellConfiguration::Params& params) {
    if (cell) Setters::setValidationView(static_cast<VUIInlineValidationTableViewCell&>(*cell), params);
}

}  // namespace

void FormCellConfiguration::title(const std::shared_ptr<vessa::VUITitleFormCell>& cell, const Params& params) {
    Setters::buildTitleFormCellView(cell, params);
    setValidationView(cell, params);
}

void FormCellConfiguration::note(const std::shared_ptr<vessa::VUINoteFormCell>& cell, const Params& params) {
    Setters::buildNoteFormCellView(cell, params);
    Setters::setValidationView(cell, params);
}

void FormCellConfiguration::simpleProperty(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell,
                                           const Params& params, const Owner& owner, const Delegate& delegate,
                                           const ui::IndexPath& indexPath) {
    Setters::buildSimplePropertyFormCellView(cell, params, owner, delegate, indexPath);
    Setters::setValidationView(cell, params);
}

void FormCellConfiguration::signature(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell, const Params& params) {
    Setters::setSignatureCaptureLabel(cell, params);
    Setters::setSignatureCaptureFormCell(cell, params);
    Setters::setValidationView(cell, params);
    // The signature pad opens configured from what the row says now.
    if (cell) cell->alternativeInputButton()->cellParameters = params;
}

void FormCellConfiguration::datePicker(const std::shared_ptr<vessa::VUIDatePickerFormCell>& cell,
                                       const Params& params) {
    Setters::buildDatePickerFormCellView(cell, params);
    setValidationView(cell, params);
}

void FormCellConfiguration::durationPicker(const std::shared_ptr<vessa::VUIDurationPickerFormCell>& cell,
                                           const Params& params) {
    Setters::buildDurationPickerFormCellView(cell, params);
    setValidationView(cell, params);
}

void FormCellConfiguration::switchCell(const std::shared_ptr<vessa::VUISwitchFormCell>& cell, const Params& params) {
    Setters::buildSwitchFormCellView(cell, params);
    Setters::setValidationView(cell, params);
}

void FormCellConfiguration::segmentedControl(const std::shared_ptr<vessa::VUISegmentedControlFormCell>& cell,
                                             const Params& params, const Owner& owner) {
    Setters::buildSegmentedControlFormCellViewWithLists(cell, params, owner ? &owner->segmentTitleLists() : nullptr);
    setValidationView(cell, params);
}

void FormCellConfiguration::filter(const std::shared_ptr<vessa::VUIFilterFormCell>& cell, const Params& params,
                                   bool sorter, const Owner& owner) {
    Setters::buildFilterFormCellView(cell, params, sorter, owner ? &owner->filterItemLists() : nullptr);
    setValidationView(cell, params);
}

}  // namespace trc::formcells::internal
