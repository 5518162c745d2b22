#pragma once
// The splash screen onboarding shows while it starts: a plain screen with
// the application's name, nothing to act on. Main thread only.

#include <memory>

#include "platform/ui/UIViewController.h"

namespace trc::vessa {

class VUIInfoViewController : public ui::UIViewController {
    TRC_OBJECT(VUIInfoViewController)
public:
    static std::shared_ptr<VUIInfoViewController> createSplashScreenInstanceFromStoryboard();
};

}  // namespace trc::vessa
