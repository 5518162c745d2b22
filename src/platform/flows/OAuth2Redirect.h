#pragma once
// What a URL the sign-in page was sent to means for the OAuth2 sign-in. The
// web view (or the system's web authentication session) reports every page
// the authorization server sends the person to; only the configured redirect
// URL ends the sign-in, and its query (form-encoded) says how:
// - a "state" other than the one sent fails it (stateMismatch): the answer
//   may have been made for someone else's sign-in;
// - an "error" fails it with the server's error code and description
//   (authorizationFailed); the state may be missing there, since a server can
//   refuse before it reads the request's state;
// - otherwise it needs its state and a "code" (stateMismatch, missingCode),
//   which the sign-in exchanges at the token endpoint.
// A parameter given twice counts as not given. Any other URL is a page on the
// way and is let through.
//
// A plain value; stateless reading, any thread.

#include <optional>
#include <string>
#include <string_view>

#include "platform/flows/Error.h"

namespace trc::flows {

class OAuth2Redirect {
public:
    // The code to exchange, when the sign-in goes on.
    std::optional<std::string> code;
    // An OAuth2Error, when the sign-in fails.
    ErrorPtr error;

    // None when url is not the redirect URL.
    static std::optional<OAuth2Redirect> read(std::string_view url, std::string_view redirectURL,
                                              std::string_view sentState);
    // Same scheme and host (in any letter case), port (a scheme's default
    // port counts as written) and path (escapes removed; "" and "/" alike
    // after a host). Texts that are no URL are never the redirect URL.
    static bool isRedirectURL(std::string_view url, std::string_view redirectURL);
};

}  // namespace trc::flows
