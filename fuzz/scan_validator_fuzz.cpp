// Feeds arbitrary text to the welcome step's scan validation, as a scanned
// code would arrive, and to the QR format readers on their own. Nothing may
// crash, hang or throw, whatever the text.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "onboarding/PLOVOnboardingConfigurationProvider.h"
#include "onboarding/QRCodeScanValidator.h"
#include "onboarding/WelcomeScreenStep.h"
#include "platform/core/ClassInfo.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/URL.h"
#include "platform/vessa/VUIOnboardingScanViewController.h"
#include "services/AppConfig.h"

namespace {

using namespace trc;

// A host callback that answers the scan message and does nothing with it.
class Callback : public core::Object {
public:
    bool respondsToSelector(std::string_view selector) const override { return selector == "qrCodeScanComplete"; }
    core::Value perform(std::string_view, core::Args) override { return {}; }
};

struct Setup {
    Setup() {
        // Deterministic runs: what the validation schedules for later stays queued.
        dispatch::MainQueue::resetShared(std::make_unique<dispatch::VirtualClock>());
        foundation::Sandbox::makeFreshRoot();
        auto config = services::AppConfig::sharedInstance();
        config->setAllowedDomains(core::Dictionary{{"AllowedDomains", core::Array{"example.com"}}});
        step = std::make_shared<onboarding::WelcomeScreenStep>(
            std::make_shared<flows::DiscoveryServiceConfigurationTransformer>("app"),
            std::vector<std::shared_ptr<flows::ConfigurationProviding>>{
                std::make_shared<onboarding::PLOVOnboardingConfigurationProvider>()},
            std::make_shared<Callback>());
        step->urlSchemes = {"fieldapp", "f"};
        scanner = std::make_shared<vessa::VUIOnboardingScanViewController>();
    }
    std::shared_ptr<onboarding::WelcomeScreenStep> step;
    std::shared_ptr<vessa::VUIOnboardingScanViewController> scanner;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Setup setup;
    const std::string text(reinterpret_cast<const char*>(data), size);
    using V = onboarding::QRCodeScanValidator;
    (void)V::isScanResultValid(text, setup.step->urlSchemes);
    if (auto params = V::parseStringQRResult(text)) (void)V::isAllConnectionParamsAvailable(*params);
    const std::string segment = foundation::URL::pathSegment(text);
    if (segment.find_first_of("/?#") != std::string::npos) std::abort();
    if (auto decoded = foundation::URL::removingPercentEncoding(segment); decoded && *decoded != text) std::abort();
    setup.step->scanResult.reset();
    (void)setup.step->scanViewControllerShouldValidateScanResult(*setup.scanner, text);
    dispatch::MainQueue::shared().runUntilIdle();
    return 0;
}
