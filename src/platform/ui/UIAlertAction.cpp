#include "platform/ui/UIAlertAction.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/UIValues.h"

namespace trc::ui {

const core::ClassInfo& UIAlertAction::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UIAlertAction>("UIAlertAction", core::Object::classInfo())
            .constructible()
            .property("title", [](const UIAlertAction& a) { return textOrNil(a.title); })
            .property("style", [](const UIAlertAction& a) { return core::Value(styleName(a.style)); })
            .property("isEnabled", [](const UIAlertAction& a) { return core::Value(a.isEnabled); })
            .build();
    return info;
}

std::shared_ptr<UIAlertAction> UIAlertAction::make(std::optional<std::string> title, Style style, Handler handler) {
    return std::make_shared<UIAlertAction>(std::move(title), style, std::move(handler));
}

const char* UIAlertAction::styleName(Style style) {
    switch (style) {
    case Style::Default: return "default";
    case Style::Cancel: return "cancel";
    case Style::Destructive: return "destructive";
    }
    return "default";
}

}  // namespace trc::ui
