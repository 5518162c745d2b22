#include "platform/ui/UITableViewHeaderFooterView.h"

#include "platform/core/ClassInfo.h"

namespace trc::ui {

const core::ClassInfo& UITableViewHeaderFooterView::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UITableViewHeaderFooterView>("UITableViewHeaderFooterView", UIView::classInfo())
            .constructible()
            .property("reuseIdentifier",
                      [](const UITableViewHeaderFooterView& v) { return core::Value(v.viewReuseIdentifier()); })
            .property("textLabel", [](const UITableViewHeaderFooterView& v) { return core::Value(v.textLabel()); })
            .property("backgroundView",
                      [](const UITableViewHeaderFooterView& v) { return core::Value(v.backgroundView()); })
            .build();
    return info;
}

UITableViewHeaderFooterView::UITableViewHeaderFooterView()
    : backgroundView_(std::make_shared<UIView>()),
      contentView_(std::make_shared<UIView>()),
      textLabel_(std::make_shared<UILabel>()) {
    addSubview(backgroundView_);
    addSubview(contentView_);
    contentView_->addSubview(textLabel_);
}

}  // namespace trc::ui
