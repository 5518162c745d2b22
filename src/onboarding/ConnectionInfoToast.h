#pragma once
// Shows the host's message about the connection, once, as a toast: the
// text the host gave under "connectionInfoToastMessage", kept in
// AppConfig::connectionSettings. After it is shown the setting holds the
// empty text, so the same message does not come again until the host gives
// one anew. The welcome screen and the unlock call it at the moments the
// message should be seen.
//
// Class operations only; main thread.

#include "platform/core/Value.h"

namespace trc::onboarding {

class ConnectionInfoToast {
public:
    static constexpr double kDuration = 2.0;
    static constexpr int kMaxNumberOfLines = 3;

    // parent: the view or window to show it over; anything else, or nothing,
    // shows it over the key window. A setting that is missing, not text or
    // empty shows nothing and stays as it is.
    static void showToast(const core::Value& parent = {});
};

}  // namespace trc::onboarding
