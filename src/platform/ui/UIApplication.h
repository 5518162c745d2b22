#pragma once
// The application: its windows, the key window and its state. One shared
// instance per process; ProcessState resets it ("UIApplication"), so each
// test or scenario starts without windows.
//
// The application keeps its windows strongly; a window made key joins the
// list. Controls reach it through sendAction, as a touch would; its own
// action "suspend" moves it to the background (nothing else happens: no
// screen changes and no flow is stopped). Main thread only.

#include <memory>
#include <string_view>
#include <vector>

#include "platform/ui/UIResponder.h"

namespace trc::ui {

class UIWindow;

class UIApplication : public UIResponder {
    TRC_OBJECT(UIApplication)
public:
    enum class State { Active, Inactive, Background };

    static std::shared_ptr<UIApplication> shared();

    std::shared_ptr<UIWindow> keyWindow() const { return keyWindow_; }
    void setKeyWindow(const std::shared_ptr<UIWindow>& window);
    const std::vector<std::shared_ptr<UIWindow>>& windows() const { return windows_; }
    void addWindow(const std::shared_ptr<UIWindow>& window);

    State applicationState = State::Active;
    static const char* stateName(State state);

    static constexpr const char* kSuspendAction = "suspend";
    // Sends the action (a selector without arguments) to target, or to the
    // application when target is null, on behalf of sender. False, with a
    // log line, when the target does not answer it.
    bool sendAction(std::string_view action, const std::shared_ptr<core::Object>& target,
                    const std::shared_ptr<core::Object>& sender);
    void suspend() { applicationState = State::Background; }

private:
    std::shared_ptr<UIWindow> keyWindow_;
    std::vector<std::shared_ptr<UIWindow>> windows_;
};

}  // namespace trc::ui
