#pragma once
// Helpers of the simulator's user actions on the screens of a layer: find the
// screen a person sees as the kind the action needs, read a text member of
// the step, and turn an entry the screen does not take into a clear step
// failure. Main thread only.

#include <memory>
#include <string>

#include "platform/ui/UIViewController.h"
#include "simulator/ScenarioExtensions.h"

namespace trc::simulator {

class ScreenEntries {
public:
    // The screen on top of the key window (an alert counts: nothing under
    // it takes entries) as T; a ScenarioError naming what is on top instead.
    template <class T>
    static std::shared_ptr<T> screenOf(const char* what) {
        auto top = topScreen();
        auto screen = std::dynamic_pointer_cast<T>(top);
        if (!screen)
            throw ScenarioError(std::string("no ") + what +
                                " on screen (on top: " + (top ? top->className() : "nothing") + ")");
        return screen;
    }
    static std::shared_ptr<ui::UIViewController> topScreen();
    // The step's member key, resolved, as a string; a ScenarioError otherwise.
    static std::string text(ScenarioContext& ctx, const core::Dictionary& step, const char* key);
    // A ScenarioError when the screen did not take the entry.
    static void refused(bool taken, const std::string& what);
};

}  // namespace trc::simulator
