#pragma once
// The errors of the OAuth2 authentication: the sign-in screen failed with a
// web error (webView, wrapping the error of the page, whose code tells a lost
// connection), the person cancelled, the authorization server sent the
// person back with an "error" (authorizationFailed; "access_denied" is the
// person's refusal), the redirect carried another state than the one sent or
// none (stateMismatch) or no code (missingCode), the token endpoint refused
// with an "error" (tokenRequestFailed), or its answer was no usable token
// (invalidTokenResponse).
//
// A refusal carries the server's error code and description, as the server
// wrote them but cut to printable ASCII of a sane length, so that what a
// server sends cannot forge log lines. Descriptions read
// "OAuth2Error.<case>[: <error>[ - <error_description>]]" so that the
// cancelled case contains "oauth2error.cancelled" once lower-cased. Never
// carries a code, verifier or token: whoever builds one from a server's text
// passes the secrets of the exchange to be cut out.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/flows/Error.h"

namespace trc::flows {

class OAuth2Error : public Error {
public:
    // New cases go last: code() is the case's number.
    enum class Case {
        webView,
        cancelled,
        authorizationFailed,
        tokenRequestFailed,
        invalidTokenResponse,
        stateMismatch,
        missingCode,
    };

    static constexpr const char* kDomain = "ZELFoundation.OAuth2Error";
    // The server's error code of a person who refused.
    static constexpr const char* kAccessDenied = "access_denied";

    explicit OAuth2Error(Case c, ErrorPtr inner = nullptr, std::string detail = {})
        : case_(c), inner_(std::move(inner)), detail_(std::move(detail)) {}
    static OAuth2Error webView(ErrorPtr inner) { return OAuth2Error(Case::webView, std::move(inner)); }
    // A refusal by the server: its "error" and "error_description", made safe
    // to log, with every non-empty text of secrets cut out.
    static OAuth2Error refused(Case c, std::string_view errorCode, std::optional<std::string_view> errorDescription,
                               const std::vector<std::string_view>& secrets = {});

    Case errorCase() const { return case_; }
    // webView: the page's error; tokenRequestFailed: the request's error.
    const ErrorPtr& innerError() const { return inner_; }
    // The server's "error" and "error_description" of a refusal.
    const std::optional<std::string>& errorCode() const { return errorCode_; }
    const std::optional<std::string>& errorDescription() const { return errorDescription_; }

    std::string domain() const override { return kDomain; }
    int code() const override { return static_cast<int>(case_); }
    std::string description() const override;
    ErrorPtr clone() const override;

private:
    Case case_;
    ErrorPtr inner_;
    std::string detail_;
    std::optional<std::string> errorCode_;
    std::optional<std::string> errorDescription_;
};

}  // namespace trc::flows
