#pragma once
// The plain cell of an extension row, which shows the view the row's host
// object hands out. The cell keeps the constraints that pinned the last view
// shown in it; the next row it shows points them at its own view, so a
// table that reuses the cell for one host view after another makes them
// once instead of at every reuse; a view that comes from no other cell takes
// them over still in force. While no view is pinned in the cell (its view
// left it, or the row has none), they are out of force and constrain
// nothing.
//
// Hosts see a plain UITableViewCell: the cell declares no class of its own
// and is registered under that class's name. Main thread only.

#include <memory>
#include <vector>

#include "platform/ui/UITableViewCell.h"

namespace trc::ui {
class NSLayoutConstraint;
}  // namespace trc::ui

namespace trc::formcells::internal {

class HostedViewCell : public ui::UITableViewCell {
public:
    // The constraints last used to pin a view here, in the order they were made.
    std::vector<std::shared_ptr<ui::NSLayoutConstraint>> pins;
};

}  // namespace trc::formcells::internal
