#include "platform/ui/UILabel.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/UIValues.h"

namespace trc::ui {

const core::ClassInfo& UILabel::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UILabel>("UILabel", UIView::classInfo())
            .constructible()
            .property("text", [](const UILabel& l) { return textOrNil(l.text); })
            .property("numberOfLines", [](const UILabel& l) { return core::Value(l.numberOfLines); })
            .property("textColor", [](const UILabel& l) { return core::Value(l.textColor); })
            .build();
    return info;
}

}  // namespace trc::ui
