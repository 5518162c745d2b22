#pragma once
// The environment a view controller is shown in: light or dark appearance
// and the horizontal size class (compact on a phone, regular on a tablet).
// A plain value a controller carries; tests and the simulator set it to
// stand for the device. Main thread only.

namespace trc::ui {

enum class UIUserInterfaceStyle { Unspecified, Light, Dark };
enum class UIUserInterfaceSizeClass { Unspecified, Compact, Regular };

struct UITraitCollection {
    UIUserInterfaceStyle userInterfaceStyle = UIUserInterfaceStyle::Light;
    UIUserInterfaceSizeClass horizontalSizeClass = UIUserInterfaceSizeClass::Compact;
};

}  // namespace trc::ui
