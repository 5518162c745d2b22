#pragma once
// The onboarding step that checks, before the onboarding store is set up,
// whether the device can reach the mobile-services server at all. It sends
// one request to the settings' backend URL over a fresh session of its own
// (not the application's authenticated one) and fails the flow only when
// the platform reports the device not connected to the internet; a timeout,
// an unreachable host or any HTTP status lets the flow go on, and later
// steps meet the problem themselves.
//
// The step always completes, on the main queue: with no settings parameters
// in the context, or a backend URL that is not an absolute http(s) URL, it
// fails with a missing-argument error naming the settings, so a
// misconfigured flow reports a failure instead of waiting forever.
//
// No state between runs; the reset is the framework's default. Owned by the
// flow lists (std::shared_ptr). Main thread.

#include <optional>
#include <string>

#include "platform/flows/OnboardingContext.h"
#include "platform/flows/SimpleTaskStep.h"

namespace trc::onboarding {

class NetworkCheckStep : public flows::SimpleTaskStep {
public:
    // The session waits this long for a connection or for a silent server.
    static constexpr double kSessionRequestTimeout = 2.0;
    // The request's own limit, as for any request of the platform.
    static constexpr double kRequestTimeout = 60.0;
    static constexpr const char* kPingFailedText = "Ping test failed: ";
    // Where the step's console lines go (standard output carries the
    // host simulator's transcript).
    static constexpr const char* kConsoleLogger = "console";
    static constexpr const char* kStepName = "NetworkCheckStep";

    NetworkCheckStep();

    // The flow handler: pings the backend URL of the context's settings.
    static void flowHandler(const flows::OnboardingContext& context, Completion completionHandler);
    // Completes with success carrying context, or with networkUnreachable
    // when the device is not connected.
    static void pingTest(const std::optional<std::string>& urlString, const flows::OnboardingContext& context,
                         Completion completionHandler);
};

}  // namespace trc::onboarding
