#include "platform/ui/UIResponder.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/UIWindow.h"

namespace trc::ui {

const core::ClassInfo& UIResponder::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UIResponder>("UIResponder", core::Object::classInfo())
            .constructible()
            .property("isFirstResponder", [](const UIResponder& self) { return core::Value(self.isFirstResponder()); })
            .build();
    return info;
}

bool UIResponder::becomeFirstResponder() {
    if (isFirstResponder()) return true;
    if (!canBecomeFirstResponder()) return false;
    auto window = responderWindow();
    if (!window) return false;
    return window->makeFirstResponder(sharedAs<UIResponder>());
}

bool UIResponder::resignFirstResponder() {
    if (!isFirstResponder()) return true;
    if (!canResignFirstResponder()) return false;
    auto window = responderWindow();
    if (!window) return true;
    return window->makeFirstResponder(nullptr);
}

bool UIResponder::isFirstResponder() const {
    if (heldAsFirst_ == 0) return false;
    auto window = responderWindow();
    return window && window->firstResponder().get() == this;
}

}  // namespace trc::ui
