#include "platform/vessa/VUIWelcomeScreen.h"

#include "platform/core/ClassInfo.h"
#include "platform/ui/UIValues.h"
#include "platform/ui/UIView.h"
#include "platform/vessa/VUIOnboardingScanViewController.h"

namespace trc::vessa {

const core::ClassInfo& VUIWelcomeScreen::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIWelcomeScreen>("VUIWelcomeScreen", ui::UIViewController::classInfo())
            .constructible()
            .property("state", [](const VUIWelcomeScreen& s) { return core::Value(stateName(s.state)); })
            .property("configurationOptions",
                      [](const VUIWelcomeScreen& s) {
                          core::Array a;
                          for (auto o : s.configurationOptions) a.emplace_back(optionName(o));
                          return core::Value(std::move(a));
                      })
            .property("isDemoAvailable", [](const VUIWelcomeScreen& s) { return core::Value(s.isDemoAvailable); })
            .property("headlineLabel", [](const VUIWelcomeScreen& s) { return ui::objectOrNil(s.headlineLabel()); })
            .property("detailLabel", [](const VUIWelcomeScreen& s) { return ui::objectOrNil(s.detailLabel()); })
            .property("primaryActionButton",
                      [](const VUIWelcomeScreen& s) { return ui::objectOrNil(s.primaryActionButton()); })
            .property("footnoteLabel", [](const VUIWelcomeScreen& s) { return ui::objectOrNil(s.footnoteLabel()); })
            .property("footnoteActionButton",
                      [](const VUIWelcomeScreen& s) { return ui::objectOrNil(s.footnoteActionButton()); })
            .property("emailTextField", [](const VUIWelcomeScreen& s) { return ui::objectOrNil(s.emailTextField()); })
            .build();
    return info;
}

VUIWelcomeScreen::VUIWelcomeScreen() = default;

std::shared_ptr<VUIWelcomeScreen> VUIWelcomeScreen::createInstanceFromStoryboard() {
    return std::make_shared<VUIWelcomeScreen>();
}

void VUIWelcomeScreen::loadView() {
    UIViewController::loadView();
    for (const std::shared_ptr<ui::UIView>& v : std::initializer_list<std::shared_ptr<ui::UIView>>{
             headlineLabel_, detailLabel_, emailTextField_, primaryActionButton_, footnoteLabel_,
             footnoteActionButton_})
        view()->addSubview(v);
}

const char* VUIWelcomeScreen::stateName(State state) {
    return state == State::isConfigured ? "isConfigured" : "notConfigured";
}

const char* VUIWelcomeScreen::optionName(ConfigurationOption option) {
    return option == ConfigurationOption::barcodeScanner ? "barcodeScanner" : "discoveryService";
}

bool VUIWelcomeScreen::start() {
    if (!primaryActionButton_->acceptsUserInput()) return false;
    if (state == State::isConfigured) {
        auto d = delegate.lock();
        if (!d) return false;
        d->shouldContinueUserOnboarding(*this);
        return true;
    }
    return scan();
}

bool VUIWelcomeScreen::demo() {
    if (!isDemoAvailable) return false;
    auto d = delegate.lock();
    if (!d) return false;
    d->didSelectDemoMode(*this);
    return true;
}

bool VUIWelcomeScreen::scan() {
    if (!configurationOptions.contains(ConfigurationOption::barcodeScanner) || presentedViewController()) return false;
    auto scanner = std::make_shared<VUIOnboardingScanViewController>();
    if (auto d = delegate.lock()) d->willNavigateToScannerScreen(*this, scanner);
    present(scanner, true);
    return true;
}

}  // namespace trc::vessa
