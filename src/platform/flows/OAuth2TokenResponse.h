#pragma once
// Reads a token endpoint's answer to an authorization code (RFC 6749 §5):
// - 200 with a JSON object holding a non-empty "access_token" is a token
//   when its "token_type" is "Bearer" in any letter case, or absent (taken as
//   Bearer); any other type is refused (invalidTokenResponse);
// - 400 or 401 with a JSON object holding an "error" text is the server's
//   refusal (tokenRequestFailed with its "error" and "error_description");
// - anything else is invalidTokenResponse.
// Errors never carry the answer's token, and the secrets given (the code and
// the verifier sent) are cut out of what the server wrote.
//
// A plain value; stateless reading, any thread.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Value.h"
#include "platform/flows/Error.h"

namespace trc::flows {

class OAuth2TokenResponse {
public:
    static constexpr const char* kBearer = "Bearer";

    // Set on success.
    std::optional<std::string> accessToken;
    // An OAuth2Error otherwise.
    ErrorPtr error;

    static OAuth2TokenResponse read(int statusCode, const core::Data& body,
                                    const std::vector<std::string_view>& secrets = {});
};

}  // namespace trc::flows
