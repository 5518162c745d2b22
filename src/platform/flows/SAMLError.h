#pragma once
// The SAML authentication's error: the sign-in page failed (webView) with the
// page's error inside.

#include "platform/flows/WebAuthenticationError.h"

namespace trc::flows {

class SAMLError : public WebAuthenticationError {
public:
    static SAMLError webView(ErrorPtr inner) { return SAMLError(std::move(inner)); }
    ErrorPtr clone() const override { return std::make_shared<SAMLError>(*this); }

protected:
    std::string name() const override { return "SAMLError"; }

private:
    explicit SAMLError(ErrorPtr inner) : WebAuthenticationError(std::move(inner)) {}
};

}  // namespace trc::flows
