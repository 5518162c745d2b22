#include "host/WelcomeScreenDelegate.h"

#include "platform/core/ClassInfo.h"

namespace trc::host {

const core::ClassInfo& WelcomeScreenDelegate::classInfo() {
    auto nothing = [](WelcomeScreenDelegate&, core::Args) { return core::Value(); };
    static const core::ClassInfo& info =
        core::ClassBuilder<WelcomeScreenDelegate>("WelcomeScreenDelegate", core::Object::classInfo())
            .constructible()
            .method("finishedOnboardingWithParams:", nothing)
            .method("finishedLoadingRegistrationInfo:", nothing)
            .method("qrCodeScanComplete:", nothing)
            .method("setOnboardingStage:", nothing)
            .build();
    return info;
}

}  // namespace trc::host
