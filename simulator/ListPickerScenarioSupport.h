#pragma once
// What list pickers add to the host simulator: the user actions
// "openPicker" (tap a list picker row and see its picker's rows),
// "search" (type a search text into the open picker's search bar),
// "searchButton" (press its search button) and "closePicker" (its back
// button). Picking a row of an open
// picker is the UI layer's "tap" on the picker's table, which is the
// table on screen while the picker is open.
//
// Misuse in a scenario (no list picker on screen, a row that opens none)
// fails the step with a ScenarioError. Main thread only.

namespace trc::simulator {

class ListPickerScenarioSupport {
public:
    // Registers the simulator extensions; harmless twice.
    static void install();
};

}  // namespace trc::simulator
