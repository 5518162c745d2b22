#pragma once
// The error the network check ends a flow with when the device has no
// internet connection. It has one case and no values: all errors of this
// kind are equal and hash alike. Its description, which the flow shows for
// the failure, is read when asked: the host's text for an unreachable
// network (else the English default), one blank, then the platform's text
// of the last connection failure the step met (networkErrorString, empty
// until the first failure, kept for the process).
//
// Main thread: the step writes networkErrorString from its request's
// completion on the main queue, where the flow also reads the description.

#include <cstddef>
#include <optional>
#include <string>

#include "platform/flows/Error.h"

namespace trc::onboarding {

class NetworkCheckStepError : public flows::Error {
public:
    enum class Case { networkUnreachable };

    static constexpr const char* kDomain = "NetworkCheckStepError";
    // Two blanks after the first full stop, as hosts have always shown it.
    static constexpr const char* kNetworkUnavailableText = "Network unavailable.  Please try again later.";

    static NetworkCheckStepError networkUnreachable() { return NetworkCheckStepError(); }

    // The platform's description of the last connection failure; nothing
    // before the first one. A process-state reset clears it.
    static const std::optional<std::string>& networkErrorString();
    static void setNetworkErrorString(std::optional<std::string> text);

    Case errorCase() const { return Case::networkUnreachable; }

    std::string domain() const override { return kDomain; }
    int code() const override { return static_cast<int>(Case::networkUnreachable); }
    std::string description() const override;
    std::string localizedDescription() const override { return description(); }
    flows::ErrorPtr clone() const override;

    std::string errorDescription() const { return description(); }
    std::string failureReason() const { return description(); }
    std::string debugDescription() const { return description(); }
    // This error offers neither.
    std::optional<std::string> recoverySuggestion() const { return std::nullopt; }
    std::optional<std::string> helpAnchor() const { return std::nullopt; }

    friend bool operator==(const NetworkCheckStepError&, const NetworkCheckStepError&) { return true; }

    struct Hash {
        std::size_t operator()(const NetworkCheckStepError& error) const;
    };

private:
    NetworkCheckStepError() = default;
};

}  // namespace trc::onboarding
