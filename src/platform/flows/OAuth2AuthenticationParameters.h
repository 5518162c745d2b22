#pragma once
// Where and as whom to sign in with OAuth2: the authorization and token
// endpoints, the client identifier and the redirect URL, and the server's
// sign-in page when it has one. No secret: the client is a public client
// proving itself with a code verifier.

#include <optional>
#include <string>

namespace trc::flows {

class OAuth2AuthenticationParameters {
public:
    std::string authorizationEndpointURL;
    std::string tokenEndpointURL;
    std::string clientID;
    std::string redirectURL;
    std::optional<std::string> endUserUI;
};

}  // namespace trc::flows
