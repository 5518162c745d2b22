#include "platform/vessa/VUIInlineValidationView.h"

#include "platform/core/ClassInfo.h"

namespace trc::vessa {

const core::ClassInfo& VUIInlineValidationView::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIInlineValidationView>("VUIInlineValidationView", ui::UIView::classInfo())
            .constructible()
            .property("titleLabel", [](const VUIInlineValidationView& v) { return core::Value(v.titleLabel()); })
            .property("separator", [](const VUIInlineValidationView& v) { return core::Value(v.separator()); })
            .property("backgroundView",
                      [](const VUIInlineValidationView& v) { return core::Value(v.backgroundView()); })
            .build();
    return info;
}

VUIInlineValidationView::VUIInlineValidationView()
    : backgroundView_(std::make_shared<ui::UIView>()),
      separator_(std::make_shared<ui::UIView>()),
      titleLabel_(std::make_shared<ui::UILabel>()) {
    setHidden(true);
    separator_->setHidden(true);
    titleLabel_->numberOfLines = 0;
    addSubview(backgroundView_);
    addSubview(separator_);
    addSubview(titleLabel_);
}

}  // namespace trc::vessa
