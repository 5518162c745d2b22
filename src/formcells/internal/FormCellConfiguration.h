#pragma once
// What a row's parameters put on its cell, one entry per kind with a value
// or a validation line (a button row has only its setter): the kind's
// defaults for a row that leaves its value out, the kind's setter and the
// validation line, in that order. Both roads run exactly this: the factory's
// builders when a row is dequeued, and the owners (FormCellRefresh) when the
// host updated a row on screen, with the row's stored parameters. So a cell
// shows after a host update what it shows when the row is built again, and a
// reused cell never keeps the value of the row it showed before.
//
// Handlers, trackers and the cell's own wiring stay with the builders: they
// depend on where the row is, not on its parameters. List picker and
// attachment rows keep state of their own across updates (a picker's pages,
// the actions a person may be using) and are not configured here.
//
// Static, stateless, allocation-free beyond what the setters do. Main
// thread only. Not for use outside the form cells.

#include <memory>

#include "platform/core/Object.h"
#include "platform/core/Value.h"
#include "platform/ui/IndexPath.h"

namespace trc::vessa {
class VUITitleFormCell;
class VUINoteFormCell;
class VUITextFieldFormCell;
class VUIDatePickerFormCell;
class VUIDurationPickerFormCell;
class VUISwitchFormCell;
class VUISegmentedControlFormCell;
class VUIFilterFormCell;
}  // namespace trc::vessa

namespace trc::formcells {
class FormCellOwner;
}  // namespace trc::formcells

namespace trc::formcells::internal {

class FormCellConfiguration {
public:
    using Params = core::Dictionary;
    using Owner = std::shared_ptr<FormCellOwner>;
    using Delegate = std::shared_ptr<core::Object>;

    static void title(const std::shared_ptr<vessa::VUITitleFormCell>& cell, const Params& params);
    static void note(const std::shared_ptr<vessa::VUINoteFormCell>& cell, const Params& params);
    // The owner filters number fields; delegate and indexPath go to the barcode button.
    static void simpleProperty(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell, const Params& params,
                               const Owner& owner, const Delegate& delegate, const ui::IndexPath& indexPath);
    static void signature(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell, const Params& params);
    static void datePicker(const std::shared_ptr<vessa::VUIDatePickerFormCell>& cell, const Params& params);
    static void durationPicker(const std::shared_ptr<vessa::VUIDurationPickerFormCell>& cell, const Params& params);
    static void switchCell(const std::shared_ptr<vessa::VUISwitchFormCell>& cell, const Params& params);
    // The owner remembers the titles of lists of segments.
    static void segmentedControl(const std::shared_ptr<vessa::VUISegmentedControlFormCell>& cell, const Params& params,
                                 const Owner& owner);
    // The owner remembers which lists of items are all texts.
    static void filter(const std::shared_ptr<vessa::VUIFilterFormCell>& cell, const Params& params, bool sorter,
                       const Owner& owner);
};

}  // namespace trc::formcells::internal
