#include "host/SectionDelegate.h"

namespace trc::host {

const core::ClassInfo& SectionDelegate::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<SectionDelegate>("SectionDelegate", core::Object::classInfo()).constructible().build();
    return info;
}

}  // namespace trc::host
