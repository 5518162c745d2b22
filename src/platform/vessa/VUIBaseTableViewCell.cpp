#include "platform/vessa/VUIBaseTableViewCell.h"

#include "platform/core/ClassInfo.h"

namespace trc::vessa {

const char* separatorsName(VUIBaseTableViewCell::Separators separators) {
    switch (separators) {
    case VUIBaseTableViewCell::Separators::None: return "none";
    case VUIBaseTableViewCell::Separators::Top: return "top";
    case VUIBaseTableViewCell::Separators::Bottom: return "bottom";
    case VUIBaseTableViewCell::Separators::TopAndBottom: return "topAndBottom";
    }
    return "none";
}

const core::ClassInfo& VUIBaseTableViewCell::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIBaseTableViewCell>("VUIBaseTableViewCell", ui::UITableViewCell::classInfo())
            .constructible()
            .property("separators",
                      [](const VUIBaseTableViewCell& c) { return core::Value(separatorsName(c.separators)); })
            .property("isEditable", [](const VUIBaseTableViewCell& c) { return core::Value(c.isEditable()); })
            .property("isTrackingLiveChanges",
                      [](const VUIBaseTableViewCell& c) { return core::Value(c.isTrackingLiveChanges); })
            .build();
    return info;
}

}  // namespace trc::vessa
