#include "platform/ui/UITableViewCell.h"

#include "platform/core/ClassInfo.h"

namespace trc::ui {

const core::ClassInfo& UITableViewCell::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UITableViewCell>("UITableViewCell", UIView::classInfo())
            .constructible()
            .property("reuseIdentifier", [](const UITableViewCell& c) { return core::Value(c.cellReuseIdentifier()); })
            .property("contentView", [](const UITableViewCell& c) { return core::Value(c.contentView()); })
            .property("textLabel", [](const UITableViewCell& c) { return core::Value(c.textLabel()); })
            .property("accessoryType",
                      [](const UITableViewCell& c) { return core::Value(static_cast<int>(c.accessoryType)); })
            .property("selectionStyle",
                      [](const UITableViewCell& c) { return core::Value(static_cast<int>(c.selectionStyle)); })
            .property("isSelected", [](const UITableViewCell& c) { return core::Value(c.isSelected); })
            .build();
    return info;
}

UITableViewCell::UITableViewCell() : contentView_(std::make_shared<UIView>()), textLabel_(std::make_shared<UILabel>()) {
    addSubview(contentView_);
    contentView_->addSubview(textLabel_);
}

}  // namespace trc::ui
