#pragma once
// Asks, before a relaunch restore, whether the mobile-services server can be
// reached at all, so the restore downloads the settings only when it can.
// One request to the server URL over a fresh session of its own (not the
// application's authenticated one): the session gives up on a silent or
// unreachable server after its request timeout (2 s), the request itself
// after 60 s. Any answer, whatever its status, counts as reachable; any
// error (refused, timed out, not connected) as unreachable. The answer
// itself is not read.
//
// The completion runs once, on the main queue, after the request ends. Class operations only;
// main thread.

#include <functional>
#include <optional>
#include <string>

#include "platform/core/Value.h"

namespace trc::onboarding {

class RelaunchProbe {
public:
    static constexpr double kSessionRequestTimeout = 2.0;
    static constexpr double kRequestTimeout = 60.0;

    // The URL text of a connection setting worth probing: a string that is an
    // absolute http or https URL with a host; nothing for any other value.
    static std::optional<std::string> probeableURL(const core::Value* setting);

    // Sends the request; reachable tells whether an answer came.
    static void probe(const std::string& url, std::function<void(bool reachable)> completion);
};

}  // namespace trc::onboarding
