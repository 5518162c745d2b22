#pragma once
// The OTP authentication's error: the sign-in page failed (webView) with the
// page's error inside.

#include "platform/flows/WebAuthenticationError.h"

namespace trc::flows {

class OTPError : public WebAuthenticationError {
public:
    static OTPError webView(ErrorPtr inner) { return OTPError(std::move(inner)); }
    ErrorPtr clone() const override { return std::make_shared<OTPError>(*this); }

protected:
    std::string name() const override { return "OTPError"; }

private:
    explicit OTPError(ErrorPtr inner) : WebAuthenticationError(std::move(inner)) {}
};

}  // namespace trc::flows
