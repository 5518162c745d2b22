#pragma once
// The host's entry to the full-screen form: six selectors that make a form
// and forward to it ("createWithParams:", "populateController:withParams:
// andBridge:", "updateCell:withParams:row:section:", "updateCells:withParams:
// andStyle:", "setFocus:withRow:andSection:", "hideLazyLoadingIndicator:
// withRow:andSection:"). Stateless: the host keeps the form it was given.
// Each forwarding selector sends the form its own selector of the same
// effect (FormCellContainerViewController), so a host that talks to the
// form directly gets what the bridge gives.
//
// Numbers: rows and sections are the host's 64-bit integers. One that is no
// integer (1.5) or names a row or section the form does not have (2^32,
// -1) addresses nothing: nothing changes and a "warn" line goes to
// "ZEL.TRC". The announced "numberOfSections" and each entry of
// "numberOfRowsInSection" may be at most 100,000, as may the number of
// entries; a count beyond that is refused the same way and the form starts
// without it (services::HostNumber::kCountCap).
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
