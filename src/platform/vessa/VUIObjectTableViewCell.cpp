#include "platform/vessa/VUIObjectTableViewCell.h"

#include "platform/core/ClassInfo.h"

namespace trc::vessa {

const core::ClassInfo& VUIObjectTableViewCell::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIObjectTableViewCell>("VUIObjectTableViewCell", VUIBaseTableViewCell::classInfo())
            .constructible()
            .classProperty("reuseIdentifier", [] { return core::Value(reuseIdentifier()); })
            .property("objectParams", [](const VUIObjectTableViewCell& c) { return core::Value(c.objectParams()); })
            .build();
    return info;
}

void VUIObjectTableViewCell::setObjectParams(core::Dictionary params) {
    objectParams_ = std::move(params);
    const core::Value* title = objectParams_.find("Title");
    textLabel()->text = title ? std::optional<std::string>(title->description()) : std::nullopt;
}

}  // namespace trc::vessa
