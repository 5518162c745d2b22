#include "platform/flows/URLError.h"

namespace trc::flows {

std::string URLError::descriptionFor(int code) {
    switch (code) {
    case cancelled: return "cancelled";
    case badURL: return "bad URL";
    case timedOut: return "The request timed out.";
    case unsupportedURL: return "unsupported URL";
    case cannotFindHost: return "A server with the specified hostname could not be found.";
    case cannotConnectToHost: return "Could not connect to the server.";
    case networkConnectionLost: return "The network connection was lost.";
    case notConnectedToInternet: return "The Internet connection appears to be offline.";
    case badServerResponse: return "bad server response";
    case secureConnectionFailed:
        return "An SSL error has occurred and a secure connection to the server cannot be made.";
    default: return "unknown error";
    }
}

std::string URLError::description() const {
    std::string text = std::string(kDomain) + " " + std::to_string(code_) + ": " + descriptionFor(code_);
    if (!failingURL_.empty()) text += " (" + failingURL_ + ")";
    return text;
}

ErrorPtr URLError::clone() const { return std::make_shared<URLError>(*this); }

}  // namespace trc::flows
