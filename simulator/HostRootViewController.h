#pragma once
// The host's own empty root view controller: what the key window shows
// before a scenario shows anything, so screens can be presented from the
// start. Main thread only.

#include "platform/ui/UIViewController.h"

namespace trc::simulator {

class HostRootViewController : public ui::UIViewController {
    TRC_OBJECT(HostRootViewController)
};

}  // namespace trc::simulator
