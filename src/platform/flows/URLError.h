#pragma once
// A failed URL request, with the platform's error codes and their English
// descriptions: -1009 not connected, -1001 timed out, -1004 cannot connect,
// and the others below. The onboarding roads tell connection failures apart
// by these codes alone.

#include <string>

#include "platform/flows/Error.h"

namespace trc::flows {

class URLError : public Error {
public:
    static constexpr const char* kDomain = "URLErrorDomain";

    enum Code : int {
        unknown = -1,
        cancelled = -999,
        badURL = -1000,
        timedOut = -1001,
        unsupportedURL = -1002,
        cannotFindHost = -1003,
        cannotConnectToHost = -1004,
        networkConnectionLost = -1005,
        notConnectedToInternet = -1009,
        badServerResponse = -1011,
        secureConnectionFailed = -1200,
    };

    explicit URLError(int code, std::string failingURL = {}) : code_(code), failingURL_(std::move(failingURL)) {}

    const std::string& failingURL() const { return failingURL_; }
    // The platform's English text for a code.
    static std::string descriptionFor(int code);

    std::string domain() const override { return kDomain; }
    int code() const override { return code_; }
    std::string description() const override;
    std::string localizedDescription() const override { return descriptionFor(code_); }
    ErrorPtr clone() const override;

private:
    int code_;
    std::string failingURL_;
};

}  // namespace trc::flows
