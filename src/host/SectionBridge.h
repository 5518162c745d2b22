#pragma once
// The host's handle on one section of a sectioned page: create:callback:
// makes the section (through the section factory, by its "type") and the
// bridge keeps it; the other selectors forward the host's form cell calls
// to that section. The host makes one bridge per section ({"new":
// "SectionBridge"}) and hands the sections to SectionedTableBridge.
//
// Misuse (a call before create:callback:, arguments of the wrong kind, a
// selector the section does not answer) is logged and changes nothing; no
// exception reaches the host. Owned by the host; holds its section strongly.
// Main thread only.

#include <memory>

#include "platform/core/ClassInfo.h"
#include "platform/core/Object.h"
#include "services/BaseSection.h"

namespace trc::host {

class SectionBridge : public core::Object {
    TRC_OBJECT(SectionBridge)
public:
    // Registers the bridge, the section classes and the form cell section type.
    static void install();

    const std::shared_ptr<services::BaseSection>& section() const { return section_; }

    core::Value create(const core::Value& params, const core::Value& callback);
    void setFormCellSectionItem(const core::Value& params, const core::Value& callback);
    // Sends selector with args to the section, if there is one that answers it.
    void forward(const char* selector, core::Args args);
    void hideLazyLoadingIndicator(const core::Value& row);

private:
    std::shared_ptr<services::BaseSection> section_;
};

}  // namespace trc::host
