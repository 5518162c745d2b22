#pragma once
// How both owners of form cells (the full-screen form and the form cell
// section) bring a shown row up to date after the host updated it, once the
// owner has merged the update into its stored parameters. The rule: the cell
// then shows exactly what a cell built afresh from the stored parameters
// shows, so scrolling the row away and back never changes what it shows.
// Hence the validation display is refreshed from the stored parameters, and
// the kind is configured again from them as the builders configure it
// (FormCellConfiguration); a list picker or attachment row, which keeps
// state of its own, takes the update through its update setter. A row that
// is off screen is reloaded instead, so the table rebuilds it from the
// stored parameters. An update made only of "validationProperties" touches
// the validation display and nothing else.
//
// The cell's class decides what runs, first matching class first, so a
// subclass never falls through to its base's setter. Stateless; main thread
// only.

#include <memory>

#include "platform/core/Object.h"
#include "platform/core/Value.h"
#include "platform/ui/IndexPath.h"

namespace trc::ui {
class UITableView;
class UITableViewCell;
}  // namespace trc::ui

namespace trc::formcells {

class FormCellOwner;
class AttachmentFormViewChangeDelegate;

class FormCellRefresh {
public:
    static constexpr const char* kValidationProperties = "validationProperties";
    // What a list picker's data source answers when the host has no more items.
    static constexpr const char* kHideLazyLoadingIndicator = "hideLazyLoadingIndicator";

    // Where the row is and what its setters need besides the update.
    struct Row {
        std::shared_ptr<ui::UITableView> tableView;
        // The row as the table shows it.
        ui::IndexPath indexPath;
        // The row's stored parameters, the update merged in. The row's kind is
        // read from them, so an update without "_Type" keeps a signature row
        // a signature row and a sorter a sorter.
        const core::Dictionary* stored = nullptr;
        // The text-field delegate of number fields.
        std::shared_ptr<FormCellOwner> owner;
        // The callback object of the row's stored "_Name" (none when it has
        // none): a simple-property row's barcode button reports to it.
        std::shared_ptr<core::Object> delegate;
        // Where the owner keeps attachment rows' delegates (none: no
        // delegate). Asked only when the cell is an attachment row's, so the
        // update of any other row searches no map of them.
        const AttachmentFormViewChangeDelegate* attachments = nullptr;
        // The full-screen form also reloads a segmented row after its setter.
        bool reloadAfterSegmentedControl = false;
    };

    static void apply(const Row& row, const core::Dictionary& update);

    // True when the update holds exactly one key, "validationProperties", with a dictionary.
    static bool isValidationOnly(const core::Dictionary& update);
    // Refreshes the validation display of a cell that has one.
    static void refreshValidation(ui::UITableView& tableView, const std::shared_ptr<ui::UITableViewCell>& cell,
                                  const core::Dictionary& update);
    // Tells a list picker row's data source that the host has no more items
    // to load (the selector kHideLazyLoadingIndicator, when the data source
    // is an object that answers it); nothing for any other cell.
    static void hideLazyLoadingIndicator(const std::shared_ptr<ui::UITableViewCell>& cell);
};

}  // namespace trc::formcells
