#pragma once
// The host's entry to the full-screen form: six selectors that make a form
// and forward to it ("createWithParams:", "populateController:withParams:
// andBridge:", "updateCell:withParams:row:section:", "updateCells:withParams:
// andStyle:", "setFocus:withRow:andSection:", "hideLazyLoadingIndicator:
// withRow:andSection:"). Stateless: the host keeps the form it was given.
//
// Arguments of the wrong kind are logged under "ZEL.TRC" and change nothing;
// nothing is thrown to the host. Main thread only.

#include "platform/core/Object.h"

namespace trc::host {

class FormCellContainerBridge : public core::Object {
    TRC_OBJECT(FormCellContainerBridge)
public:
    // Makes the bridge and the classes it hands out known by name.
    static void install();
};

}  // namespace trc::host
