#include "platform/flows/OAuth2Error.h"

namespace trc::flows {

std::string OAuth2Error::description() const {
    std::string text = "OAuth2Error.";
    switch (case_) {
        case Case::webView: text += "webView"; break;
        case Case::cancelled: text += "cancelled"; break;
        case Case::authorizationFailed: text += "authorizationFailed"; break;
        case Case::tokenRequestFailed: text += "tokenRequestFailed"; break;
        case Case::invalidTokenResponse: text += "invalidTokenResponse"; break;
    }
    if (!detail_.empty()) text += ": " + detail_;
    if (inner_) text += " (" + inner_->description() + ")";
    return text;
}

ErrorPtr OAuth2Error::clone() const { return std::make_shared<OAuth2Error>(*this); }

}  // namespace trc::flows
