#include "platform/flows/OAuth2TokenResponse.h"

#include <algorithm>
#include <cctype>

#include "platform/core/Json.h"
#include "platform/flows/OAuth2Error.h"

namespace trc::flows {

namespace {

// The answer as a JSON object; none for anything else.
std::optional<core::Value> jsonObject(const core::Data& body) {
    try {
        core::Value json = core::Json::parse(std::string_view(reinterpret_cast<const char*>(body.data()), body.size()));
        if (json.isDictionary()) return json;
    } catch (const core::JsonError&) {
    }
    return std::nullopt;
}

const std::string* textOf(const core::Value& json, std::string_view key) {
    const core::Value* v = json.find(key);
    return v ? v->ifString() : nullptr;
}

bool isBearer(const std::string& type) {
    return std::ranges::equal(type, std::string_view(OAuth2TokenResponse::kBearer), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

OAuth2TokenResponse invalid(std::string detail) {
    OAuth2TokenResponse out;
    out.error = OAuth2Error(OAuth2Error::Case::invalidTokenResponse, nullptr, std::move(detail)).clone();
    return out;
}

}  // namespace

OAuth2TokenResponse OAuth2TokenResponse::read(int statusCode, const core::Data& body,
                                              const std::vector<std::string_view>& secrets) {
    const std::string status = "status " + std::to_string(statusCode);
    const std::optional<core::Value> json = jsonObject(body);
    if (statusCode == 200) {
        const std::string* token = json ? textOf(*json, "access_token") : nullptr;
        if (!token || token->empty()) return invalid(status + " without an access token");
        if (const core::Value* type = json->find("token_type")) {
            if (!type->ifString() || !isBearer(*type->ifString())) return invalid("the token type is not Bearer");
        }
        OAuth2TokenResponse out;
        out.accessToken = *token;
        return out;
    }
    if (statusCode == 400 || statusCode == 401) {
        if (const std::string* code = json ? textOf(*json, "error") : nullptr) {
            const std::string* description = textOf(*json, "error_description");
            OAuth2TokenResponse out;
            out.error = OAuth2Error::refused(OAuth2Error::Case::tokenRequestFailed, *code,
                                             description ? std::optional<std::string_view>(*description) : std::nullopt,
                                             secrets)
                            .clone();
            return out;
        }
    }
    return invalid(status);
}

}  // namespace trc::flows
