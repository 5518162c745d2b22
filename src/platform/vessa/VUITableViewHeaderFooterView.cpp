#include "platform/vessa/VUITableViewHeaderFooterView.h"

#include "platform/core/ClassInfo.h"

namespace trc::vessa {

const core::ClassInfo& VUITableViewHeaderFooterView::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUITableViewHeaderFooterView>("VUITableViewHeaderFooterView",
                                                         ui::UITableViewHeaderFooterView::classInfo())
            .constructible()
            .classProperty("reuseIdentifier", [] { return core::Value(reuseIdentifier()); })
            .property("titleLabel", [](const VUITableViewHeaderFooterView& v) { return core::Value(v.titleLabel()); })
            .build();
    return info;
}

}  // namespace trc::vessa
