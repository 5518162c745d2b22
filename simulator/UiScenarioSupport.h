#pragma once
// What the UI layer adds to the host simulator: the host's own root view
// controller registered by name; the steps "show" and "dump"; the user
// actions "change", "type", "tap", "press", "scroll" and "alert" on what
// is on screen; the check receivers "cell", "table", "screen" and "alert";
// and, at each scenario start and relaunch, a key window with the host's
// own empty root view controller.
//
// Every handler acts through the same entries a person's touches use.
// Misuse in a scenario (no table on screen, a row off screen, a value of
// the wrong kind for the cell) fails the step with a ScenarioError; an
// entry the screen refuses (a refused keystroke, a disabled control)
// changes nothing and is not a failure. Main thread only.

namespace trc::simulator {

class UiScenarioSupport {
public:
    // Registers the host root view controller and the simulator extensions; harmless twice.
    static void install();
    // Puts up a new key window showing the host's empty root view controller.
    static void startHostScreen();
};

}  // namespace trc::simulator
