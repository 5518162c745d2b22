#pragma once
// Sends onboarding's messages to the host's callback object by bare selector
// name ("setOnboardingStage", "qrCodeScanComplete", ...), with one argument.
// A missing object, or one that does not answer the name, is skipped as if
// the message had gone out; a failure inside the host object is logged and
// never reaches the caller. Main thread.

#include <memory>
#include <string_view>

#include "platform/core/Object.h"

namespace trc::onboarding {

class HostCallback {
public:
    // True when the object answered the name and was sent the message.
    static bool send(const std::shared_ptr<core::Object>& callback, std::string_view selector,
                     const core::Value& argument);
};

}  // namespace trc::onboarding
