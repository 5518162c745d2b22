#include "formcells/FormCellRefresh.h"

#include <algorithm>
#include <string>
#include <vector>

#include "formcells/AttachmentFormViewChangeDelegate.h"
#include "formcells/FormCellFactory.h"
#include "formcells/FormCellKeys.h"
#include "formcells/FormCellOwner.h"
#include "formcells/FormCellSetters.h"
#include "formcells/FormCellType.h"
#include "formcells/internal/FormCellConfiguration.h"
#include "platform/core/ExactClass.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/vessa/VUIAttachmentsFormCell.h"
#include "platform/vessa/VUIButtonFormCell.h"
#include "platform/vessa/VUIDatePickerFormCell.h"
#include "platform/vessa/VUIDurationPickerFormCell.h"
#include "platform/vessa/VUIFilterFormCell.h"
#include "platform/vessa/VUIListPicker.h"
#include "platform/vessa/VUIListPickerFormCell.h"
#include "platform/vessa/VUINoteFormCell.h"
#include "platform/vessa/VUISegmentedControlFormCell.h"
#include "platform/vessa/VUISwitchFormCell.h"
#include "platform/vessa/VUITextFieldFormCell.h"
#include "platform/vessa/VUITitleFormCell.h"
#include "services/ParameterHelper.h"

namespace trc::formcells {

namespace {

using namespace trc::vessa;
using Setters = FormCellSetters;
using Configure = internal::FormCellConfiguration;

constexpr const char* kType = FormCellKeys::kType;

// The cell as a T, or nullptr, without the cast that walks these deep class
// trees at every update: a table hands out a few classes only.
template <class T>
std::shared_ptr<T> as(const std::shared_ptr<ui::UITableViewCell>& cell) {
    return core::rememberedCast<T>(cell);
}

// Read in place: a type's text is too long to copy without an allocation.
bool typeIs(const core::Dictionary& params, FormCellType::Kind kind) {
    auto type = services::ParameterHelper::textIn(params, kType);
    return type && *type == FormCellType::rawValue(kind);
}

void reloadRow(const FormCellRefresh::Row& row) {
    row.tableView->reloadRows({row.indexPath}, ui::UITableView::RowAnimation::Automatic);
}

// The cell's class decides, first matching class first. Every kind but the
// list picker and the attachment row is configured as the builders
// configure it, from the row's stored parameters; those two keep state of
// their own (a picker's pages and open picker, the actions a person may be
// using), and their setters change only what the update names, which comes
// to the same as the stored parameters on a cell built from them.
void applySetter(const FormCellRefresh::Row& row, const std::shared_ptr<ui::UITableViewCell>& cell,
                 const core::Dictionary& update) {
    ui::UITableView& table = *row.tableView;
    const core::Dictionary& stored = *row.stored;
    if (auto c = as<VUIListPickerFormCell>(cell)) {
        Setters::updateListPickerListView(c, update);
    } else if (auto c = as<VUINoteFormCell>(cell)) {
        Configure::note(c, stored);
        FormCellFactory::adaptNoteFormCellViewLayout(c, table, stored);
    } else if (auto c = as<VUISwitchFormCell>(cell)) {
        Configure::switchCell(c, stored);
    } else if (auto c = as<VUITitleFormCell>(cell)) {
        Configure::title(c, stored);
    } else if (auto c = as<VUITextFieldFormCell>(cell)) {
        if (typeIs(stored, FormCellType::Kind::SignatureCapture)) {
            Configure::signature(c, stored);
            FormCellFactory::adaptSignatureFormCellViewLayout(c, table, stored);
        } else if (auto path = table.indexPathForCell(*c)) {
            Configure::simpleProperty(c, stored, row.owner, row.delegate, *path);
        }
    } else if (auto c = as<VUIDatePickerFormCell>(cell)) {
        Configure::datePicker(c, stored);
    } else if (auto c = as<VUIDurationPickerFormCell>(cell)) {
        Configure::durationPicker(c, stored);
    } else if (auto c = as<VUISegmentedControlFormCell>(cell)) {
        Configure::segmentedControl(c, stored, row.owner);
        if (row.reloadAfterSegmentedControl) reloadRow(row);
    } else if (auto c = as<VUIAttachmentsFormCell>(cell)) {
        Setters::setAttachmentsFormCellView(
            c, update, row.attachments ? row.attachments->attachmentDelegate(stored, row.indexPath) : nullptr);
    } else if (auto c = as<VUIButtonFormCell>(cell)) {
        Setters::setButtonFormCellView(c, stored);
    } else if (auto c = as<VUIFilterFormCell>(cell)) {
        // By the row's stored kind: a sorter updated without "_Type" stays a sorter.
        Configure::filter(c, stored, typeIs(stored, FormCellType::Kind::Sorter), row.owner);
    } else {
        reloadRow(row);
    }
}

}  // namespace

bool FormCellRefresh::isValidationOnly(const core::Dictionary& update) {
    if (update.size() != 1) return false;
    const core::Value* v = update.find(kValidationProperties);
    return v && v->isDictionary();
}

void FormCellRefresh::refreshValidation(ui::UITableView& tableView, const std::shared_ptr<ui::UITableViewCell>& cell,
                                        const core::Dictionary& update) {
    if (auto c = as<VUINoteFormCell>(cell)) {
        Setters::setValidationView(c, update);
    } else if (auto c = as<VUISwitchFormCell>(cell)) {
        Setters::setValidationView(c, update);
    } else if (auto c = as<VUITextFieldFormCell>(cell)) {
        Setters::setValidationView(c, update);
        FormCellFactory::adaptSignatureFormCellViewLayout(c, tableView, update);
    } else if (auto c = as<VUIInlineValidationTableViewCell>(cell)) {
        Setters::setValidationView(c, update);
    }
}

void FormCellRefresh::apply(const Row& row, const core::Dictionary& update) {
    if (!row.tableView || !row.stored) return;
    auto cell = row.tableView->cellForRow(row.indexPath);
    // The whole validation state the row keeps, not only what the update
    // names: a value update leaves the row's message on screen.
    if (cell) refreshValidation(*row.tableView, cell, *row.stored);
    if (isValidationOnly(update)) return;
    if (!cell) {
        reloadRow(row);
        return;
    }
    applySetter(row, cell, update);
}

void FormCellRefresh::hideLazyLoadingIndicator(const std::shared_ptr<ui::UITableViewCell>& cell) {
    auto picker = as<VUIListPickerFormCell>(cell);
    auto listPicker = picker ? picker->listPicker() : nullptr;
    // The data source is known by what it answers, so whichever data source
    // class the list picker step attaches is told.
    auto source = listPicker ? std::dynamic_pointer_cast<core::Object>(listPicker->dataSource()) : nullptr;
    if (!source || !source->respondsToSelector(kHideLazyLoadingIndicator)) return;
    try {
        source->perform(kHideLazyLoadingIndicator);
    } catch (const std::exception& e) {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::error,
                                       std::string(kHideLazyLoadingIndicator) + " failed: " + e.what());
    }
}

}  // namespace trc::formcells
