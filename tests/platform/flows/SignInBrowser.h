#pragma once
// Plays the person's browser on the headless sign-in screen: the URL the
// authorization server would send the page to, the redirect URL of the
// screen's authorization request with a code and the state it sent.

#include <string>

#include "platform/flows/AuthenticationViewController.h"
#include "platform/foundation/FormURLEncoding.h"
#include "platform/foundation/URL.h"

namespace trc::flows::test {

// A parameter of the screen's authorization URL ("" when missing).
inline std::string authorizationParameter(const AuthenticationViewController& screen, const char* name) {
    auto url = foundation::URL::fromString(screen.authorizationURL);
    auto pairs = url ? foundation::FormURLEncoding::read(url->query().value_or("")) : std::nullopt;
    return pairs ? foundation::FormURLEncoding::value(*pairs, name).value_or("") : "";
}

inline std::string redirectWithCode(const AuthenticationViewController& screen, const std::string& code) {
    return authorizationParameter(screen, "redirect_uri") + "?" +
           foundation::FormURLEncoding::write({{"code", code}, {"state", authorizationParameter(screen, "state")}});
}

}  // namespace trc::flows::test
