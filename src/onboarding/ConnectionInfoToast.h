#pragma once
// Shows the host's message about the connection, once. Interim version:
// it only consumes the message (the setting then holds the empty text); the
// toast itself comes with the customization feature, which replaces this
// file. Class operations only; main thread.

#include "platform/core/Value.h"

namespace trc::onboarding {

class ConnectionInfoToast {
public:
    static constexpr double kDuration = 2.0;
    static constexpr int kMaxNumberOfLines = 3;

    static void showToast(const core::Value& parent = {});
};

}  // namespace trc::onboarding
