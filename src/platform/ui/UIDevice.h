#pragma once
// The device the process runs on as layout code asks about it: its model
// name ("iPhone", "iPad") and its user-interface idiom. Headless, so nothing
// is detected: a phone unless tests or the simulator say otherwise.
//
// One per process (current()), reset to a phone with the process state.
// Main thread only.

#include <string>

namespace trc::ui {

enum class UIUserInterfaceIdiom { Unspecified = -1, Phone = 0, Pad = 1 };

class UIDevice {
public:
    static UIDevice& current();

    std::string model = "iPhone";
    UIUserInterfaceIdiom userInterfaceIdiom = UIUserInterfaceIdiom::Phone;

    // Sets idiom and model together, as a real device has them.
    void becomePad();
    void becomePhone();
};

}  // namespace trc::ui
