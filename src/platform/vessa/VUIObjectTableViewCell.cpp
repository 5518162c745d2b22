#include "platform/vessa/VUIObjectTableViewCell.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/UIValues.h"

namespace trc::vessa {

const core::ClassInfo& VUIObjectTableViewCell::classInfo() {
    using C = VUIObjectTableViewCell;
    static const core::ClassInfo& info =
        core::ClassBuilder<C>("VUIObjectTableViewCell", VUIBaseTableViewCell::classInfo())
            .constructible()
            .classProperty("reuseIdentifier", [] { return core::Value(reuseIdentifier()); })
            .property("objectParams", [](const C& c) { return core::Value(c.objectParams()); })
            .property("headlineText", [](const C& c) { return ui::textOrNil(c.headlineText()); })
            .property("subheadlineText", [](const C& c) { return ui::textOrNil(c.subheadlineText); })
            .property("footnoteText", [](const C& c) { return ui::textOrNil(c.footnoteText); })
            .property("descriptionText", [](const C& c) { return ui::textOrNil(c.descriptionText); })
            .property("statusText", [](const C& c) { return ui::textOrNil(c.statusText); })
            .property("substatusText", [](const C& c) { return ui::textOrNil(c.substatusText); })
            .build();
    return info;
}

void VUIObjectTableViewCell::setObjectParams(core::Dictionary params) {
    objectParams_ = std::move(params);
    const core::Value* title = objectParams_.find("Title");
    setHeadlineText(title ? std::optional<std::string>(title->description()) : std::nullopt);
}

void VUIObjectTableViewCell::setHeadlineText(std::optional<std::string> text) {
    headlineText_ = text;
    textLabel()->text = std::move(text);
}

}  // namespace trc::vessa
