#pragma once
// The host's entry to a sectioned page: create: takes the page's sections
// in order (the sections the host's SectionBridges made, or the bridges
// themselves), makes the page, places the sections on it (initialize:) and
// hands the page back for the host to show. Elements that are no section are
// left out and logged. Stateless; the host owns the page. Main thread only.

#include "platform/core/ClassInfo.h"
#include "platform/core/Object.h"

namespace trc::host {

class SectionedTableBridge : public core::Object {
    TRC_OBJECT(SectionedTableBridge)
public:
    static void install();

    core::Value create(const core::Value& sections);
};

}  // namespace trc::host
