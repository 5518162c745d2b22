#pragma once
// What a host view can implement to produce its own table cell for an
// extension row: it registers its cell class on the table once, and hands
// out the cell for a row. The factory finds it by a type test on what the
// row delegate's "getView" answers. The host owns the object; main thread only.

#include <memory>

#include "platform/ui/IndexPath.h"

namespace trc::ui {
class UITableView;
class UITableViewCell;
}  // namespace trc::ui

namespace trc::formcells {

class ExtensionFormCell {
public:
    virtual ~ExtensionFormCell() = default;

    virtual void registerTo(ui::UITableView& tableView) = 0;
    virtual std::shared_ptr<ui::UITableViewCell> dequeueReusableCell(ui::UITableView& tableView,
                                                                     const ui::IndexPath& indexPath) = 0;
};

}  // namespace trc::formcells
