#include "host/OnboardingScenarioSupport.h"

#include "host/ScenarioExtensions.h"
#include "onboarding/OnboardingCustomization.h"
#include "onboarding/OnboardingCustomizationBridge.h"
#include "services/ToastMessageView.h"

namespace trc::host {

void OnboardingScenarioSupport::install() {
    onboarding::OnboardingCustomization::classInfo();
    onboarding::OnboardingCustomizationBridge::classInfo();
    services::ToastMessageView::classInfo();
    ScenarioExtensions::addCheckReceiver(
        "toast", [](ScenarioContext&, const core::Dictionary&) -> std::optional<core::Value> {
            if (auto toast = services::ToastMessageView::current()) return core::Value(toast);
            return std::nullopt;
        });
}

}  // namespace trc::host
