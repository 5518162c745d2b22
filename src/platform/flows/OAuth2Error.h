#pragma once
// The errors of the OAuth2 authentication: the sign-in screen failed with a
// web error (webView, wrapping the error of the page, whose code tells a lost
// connection), the person cancelled, the authorization server refused, or the
// token request failed or answered with something that is not a token.
// Descriptions read "OAuth2Error.<case>" so that the cancelled case contains
// "oauth2error.cancelled" once lower-cased. Never carries a token.

#include <string>

#include "platform/flows/Error.h"

namespace trc::flows {

class OAuth2Error : public Error {
public:
    enum class Case { webView, cancelled, authorizationFailed, tokenRequestFailed, invalidTokenResponse };

    static constexpr const char* kDomain = "ZELFoundation.OAuth2Error";

    explicit OAuth2Error(Case c, ErrorPtr inner = nullptr, std::string detail = {})
        : case_(c), inner_(std::move(inner)), detail_(std::move(detail)) {}
    static OAuth2Error webView(ErrorPtr inner) { return OAuth2Error(Case::webView, std::move(inner)); }

    Case errorCase() const { return case_; }
    // webView: the page's error; tokenRequestFailed: the request's error.
    const ErrorPtr& innerError() const { return inner_; }

    std::string domain() const override { return kDomain; }
    int code() const override { return static_cast<int>(case_); }
    std::string description() const override;
    ErrorPtr clone() const override;

private:
    Case case_;
    ErrorPtr inner_;
    std::string detail_;
};

}  // namespace trc::flows
