#include "platform/vessa/VUIBaseDrawingTableViewCell.h"

#include "platform/core/ClassInfo.h"

namespace trc::vessa {

const core::ClassInfo& VUIBaseDrawingTableViewCell::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIBaseDrawingTableViewCell>("VUIBaseDrawingTableViewCell",
                                                        VUIBaseTableViewCell::classInfo())
            .constructible()
            .property("innerView", [](const VUIBaseDrawingTableViewCell& c) { return core::Value(c.innerView()); })
            .build();
    return info;
}

VUIBaseDrawingTableViewCell::VUIBaseDrawingTableViewCell() : innerView_(std::make_shared<VUIDrawingView>()) {
    contentView()->addSubview(innerView_);
}

}  // namespace trc::vessa
