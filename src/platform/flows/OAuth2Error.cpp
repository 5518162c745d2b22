#include "platform/flows/OAuth2Error.h"

namespace trc::flows {

namespace {

// Longer server texts are cut: a description is for a log line.
constexpr std::size_t kServerTextLimit = 200;

// What RFC 6749 allows in "error" and "error_description" (printable ASCII
// but '"' and '\\'); anything else, line breaks included, becomes '?'.
std::string serverText(std::string_view text, const std::vector<std::string_view>& secrets) {
    std::string out(text.substr(0, kServerTextLimit * 4));
    for (std::string_view secret : secrets) {
        if (secret.empty()) continue;
        for (std::size_t at = out.find(secret); at != std::string::npos; at = out.find(secret, at + 3))
            out.replace(at, secret.size(), "...");
    }
    if (out.size() > kServerTextLimit) out = out.substr(0, kServerTextLimit) + "...";
    for (char& c : out)
        if (c < 0x20 || c > 0x7e || c == '"' || c == '\\') c = '?';
    return out;
}

}  // namespace

OAuth2Error OAuth2Error::refused(Case c, std::string_view errorCode, std::optional<std::string_view> errorDescription,
                                 const std::vector<std::string_view>& secrets) {
    OAuth2Error error(c);
    error.errorCode_ = serverText(errorCode, secrets);
    if (errorDescription) error.errorDescription_ = serverText(*errorDescription, secrets);
    return error;
}

std::string OAuth2Error::description() const {
    std::string text = "OAuth2Error.";
    switch (case_) {
    case Case::webView: text += "webView"; break;
    case Case::cancelled: text += "cancelled"; break;
    case Case::authorizationFailed: text += "authorizationFailed"; break;
    case Case::tokenRequestFailed: text += "tokenRequestFailed"; break;
    case Case::invalidTokenResponse: text += "invalidTokenResponse"; break;
    case Case::stateMismatch: text += "stateMismatch"; break;
    case Case::missingCode: text += "missingCode"; break;
    }
    if (errorCode_) text += ": " + *errorCode_;
    if (errorDescription_) text += " - " + *errorDescription_;
    if (!detail_.empty()) text += ": " + detail_;
    if (inner_) text += " (" + inner_->description() + ")";
    return text;
}

ErrorPtr OAuth2Error::clone() const { return std::make_shared<OAuth2Error>(*this); }

}  // namespace trc::flows
