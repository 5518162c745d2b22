#pragma once
// The application: its windows, the key window and its state. One shared
// instance per process; ProcessState resets it ("UIApplication"), so each
// test or scenario starts without windows.
//
// The application keeps its windows strongly; a window made key joins the
// list. Main thread only.

#include <memory>
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

private:
    std::shared_ptr<UIWindow> keyWindow_;
    std::vector<std::shared_ptr<UIWindow>> windows_;
};

}  // namespace trc::ui
