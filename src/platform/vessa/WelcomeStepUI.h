#pragma once
// What an onboarding step may change on a welcome screen without knowing its
// class: the headline, detail and footnote labels, the primary and footnote
// buttons (each may be missing), and whether the demo is offered. The
// welcome screen implements it. Main thread only.

#include <memory>

#include "platform/ui/UILabel.h"
#include "platform/vessa/VUIOnboardingButton.h"

namespace trc::vessa {

class WelcomeStepUI {
public:
    virtual ~WelcomeStepUI() = default;

    virtual std::shared_ptr<ui::UILabel> headlineLabel() const = 0;
    virtual std::shared_ptr<ui::UILabel> detailLabel() const = 0;
    virtual std::shared_ptr<VUIOnboardingButton> primaryActionButton() const = 0;
    virtual std::shared_ptr<ui::UILabel> footnoteLabel() const = 0;
    virtual std::shared_ptr<VUIOnboardingButton> footnoteActionButton() const = 0;
    virtual void setDemoAvailable(bool available) = 0;
    virtual bool isDemoModeAvailable() const = 0;
    virtual void setDemoModeAvailable(bool available) = 0;
};

}  // namespace trc::vessa
