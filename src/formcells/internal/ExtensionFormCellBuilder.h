#pragma once
// Extension rows: a row whose content the host supplies at run time through
// the row delegate's "getView". What comes back decides the cell, tested in
// this order: a view that makes its own cells (ExtensionFormCell); a runtime
// cell handler (protocol "ExtensionTableViewCellHandler": it names a reuse
// identifier, registers its cell class and fills the cell); any other view,
// hosted in a plain cell under FormCellFactory::extensionFormCellViewTag;
// anything else, an empty plain cell.
//
// A hosted view is pinned into the cell by constraints unless the row names
// a "Height", in which case the row height is fixed by the owner and the
// view follows the cell by its autoresizing mask. On a tablet its sides
// follow the table's layout margins, or its readable width while the form is
// presented modally in full screen.
//
// The factory's builder and registration for extension rows delegate here.
// Static, stateless; main thread only. What the host's objects throw is
// logged and the row falls back to the plain cell, so the table always gets
// a cell.

#include <memory>

#include "formcells/FormCellKeys.h"
#include "platform/core/Object.h"
#include "platform/core/Value.h"
#include "platform/ui/IndexPath.h"

namespace trc::ui {
class UITableView;
class UITableViewCell;
class UIViewController;
}  // namespace trc::ui

namespace trc::formcells {
class FormCellOwner;
}  // namespace trc::formcells

namespace trc::formcells::internal {

class ExtensionFormCellBuilder {
public:
    using Owner = std::shared_ptr<FormCellOwner>;
    using Delegate = std::shared_ptr<core::Object>;

    static constexpr const char* kHeightKey = FormCellKeys::kHeight;

    // Registers what the row's view needs, and always the plain cell, since
    // "getView" is asked again at build time and may then answer a plain view.
    static void registerExtension(ui::UITableView& tableView, const Owner& owner, const Delegate& delegate);

    // The cell for the row. viewController is the page showing a form cell
    // section; without it an owner that is itself a view controller (the
    // full-screen form) stands for the page, and a section shown by no page
    // lays the view out against the cell alone.
    static std::shared_ptr<ui::UITableViewCell> extensionFormCell(
        ui::UITableView& tableView, const ui::IndexPath& indexPath, const core::Dictionary& params, const Owner& owner,
        const Delegate& delegate, const std::shared_ptr<ui::UIViewController>& viewController);

    // What the delegate's "getView" answers when it is an object; nullptr
    // when the delegate does not answer it, answers no object, or fails.
    static std::shared_ptr<core::Object> getView(const Delegate& delegate);

private:
    ExtensionFormCellBuilder() = delete;
};

}  // namespace trc::formcells::internal
