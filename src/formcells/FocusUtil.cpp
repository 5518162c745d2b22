#include "formcells/FocusUtil.h"

#include <algorithm>

#include "formcells/FormCellOwner.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UITextView.h"
#include "platform/vessa/VUINoteFormCell.h"
#include "platform/vessa/VUITextFieldFormCell.h"
#include "platform/vessa/VUITitleFormCell.h"

namespace trc::formcells {

namespace {

// The text input that takes the focus for the row's cell, first matching
// editable class wins; nullptr when the row has none.
std::shared_ptr<ui::UIResponder> focusInput(ui::UITableView& tableView, const ui::IndexPath& indexPath) {
    auto cell = tableView.cellForRow(indexPath);
    if (!cell) return nullptr;
    if (auto note = std::dynamic_pointer_cast<vessa::VUINoteFormCell>(cell); note && note->isEditable()) {
        return note->valueTextView();
    }
    if (auto field = std::dynamic_pointer_cast<vessa::VUITextFieldFormCell>(cell); field && field->isEditable()) {
        return field->valueTextField();
    }
    if (auto title = std::dynamic_pointer_cast<vessa::VUITitleFormCell>(cell); title && title->isEditable()) {
        return title->valueTextField();
    }
    return nullptr;
}

}  // namespace

bool FocusUtil::setFirstResponder(ui::UITableView& tableView, const ui::IndexPath& indexPath) {
    auto input = focusInput(tableView, indexPath);
    if (!input) return false;
    input->becomeFirstResponder();
    return true;
}

bool FocusUtil::isFirstResponder(ui::UITableView& tableView, const ui::IndexPath& indexPath) {
    auto input = focusInput(tableView, indexPath);
    return input && input->isFirstResponder();
}

std::optional<ui::IndexPath> FocusUtil::Target::indexPath() const {
    if (!name) return shownThen;
    auto row = owner.lock();
    return row ? row->shownRow(name, shownThen) : std::nullopt;
}

void FocusUtil::setFocus(const std::shared_ptr<ui::UITableView>& tableView, const ui::IndexPath& indexPath,
                         const std::shared_ptr<FormCellOwner>& owner, const std::optional<std::string>& name) {
    if (!tableView || !tableView->isValid(indexPath)) return;
    auto visible = tableView->indexPathsForVisibleRows();
    if (std::find(visible.begin(), visible.end(), indexPath) == visible.end()) {
        tableView->scrollToRow(indexPath, ui::UITableView::ScrollPosition::Bottom, false);
    }
    if (setFirstResponder(*tableView, indexPath)) {
        auto target = std::make_shared<const Target>(Target{tableView, indexPath, owner, owner ? name : std::nullopt});
        trySetFirstResponder(std::move(target), kRetryCount, true, kSuccessCount);
    }
}

void FocusUtil::trySetFirstResponder(std::shared_ptr<const Target> target, int count, bool first, int successCount) {
    if (count < 0) return;
    dispatch::MainQueue::shared().asyncAfter(
        first ? kFirstCheckDelay : kCheckInterval, [target = std::move(target), count, successCount]() mutable {
            const auto indexPath = target->indexPath();
            ui::UITableView& tableView = *target->tableView;
            if (indexPath && isFirstResponder(tableView, *indexPath)) {
                if (successCount < 1) return;
                --successCount;
            } else if (indexPath) {
                setFirstResponder(tableView, *indexPath);
            }
            if (count < 1) return;
            trySetFirstResponder(std::move(target), count - 1, false, successCount);
        });
}

}  // namespace trc::formcells
