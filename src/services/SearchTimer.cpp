#include "services/SearchTimer.h"

namespace trc::services {

const core::ClassInfo& SearchTimer::classInfo() {
    static const core::ClassInfo& info = core::ClassBuilder<SearchTimer>("SearchTimer", core::Object::classInfo())
                                             .property("userInfo", [](const SearchTimer& t) { return t.userInfo(); })
                                             .build();
    return info;
}

}  // namespace trc::services
