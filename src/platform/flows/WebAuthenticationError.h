#pragma once
// The base of the authentication errors whose one case is a failed sign-in
// page (webView, wrapping the page's error). SAMLError and OTPError are its
// kinds; they differ only by name, which is what callers test.

#include <string>

#include "platform/flows/Error.h"

namespace trc::flows {

class WebAuthenticationError : public Error {
public:
    const ErrorPtr& innerError() const { return inner_; }

    int code() const override { return 0; }
    std::string description() const override {
        return name() + ".webView" + (inner_ ? " (" + inner_->description() + ")" : "");
    }
    std::string domain() const override { return "ZELFoundation." + name(); }

protected:
    explicit WebAuthenticationError(ErrorPtr inner) : inner_(std::move(inner)) {}
    virtual std::string name() const = 0;

private:
    ErrorPtr inner_;
};

}  // namespace trc::flows
