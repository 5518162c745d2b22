#include "platform/flows/OAuth2TokenResponse.h"

#include <gtest/gtest.h>

#include "platform/flows/OAuth2Error.h"

namespace trc::flows::test {
namespace {

// "token:<t>" or the error's description.
std::string read(int status, std::string_view body, std::vector<std::string_view> secrets = {}) {
    OAuth2TokenResponse r = OAuth2TokenResponse::read(status, core::Data(body.begin(), body.end()), secrets);
    if (r.accessToken) return "token:" + *r.accessToken;
    return r.error ? r.error->description() : "nothing";
}

TEST(OAuth2TokenResponse, ABearerTokenOrTheServersRefusalOrAnInvalidAnswer) {
    struct Row {
        int status;
        const char* body;
        const char* expected;
    };
    const Row rows[] = {
        {200, R"({"access_token": "t1", "token_type": "Bearer", "expires_in": 3600})", "token:t1"},
        {200, R"({"access_token": "t1", "token_type": "bearer"})", "token:t1"},
        {200, R"({"access_token": "t1", "token_type": "BEARER"})", "token:t1"},
        {200, R"({"access_token": "t1"})", "token:t1"},
        {200, R"({"access_token": "t1", "token_type": "mac"})",
         "OAuth2Error.invalidTokenResponse: the token type is not Bearer"},
        {200, R"({"access_token": "t1", "token_type": 1})",
         "OAuth2Error.invalidTokenResponse: the token type is not Bearer"},
        {200, R"({"access_token": ""})", "OAuth2Error.invalidTokenResponse: status 200 without an access token"},
        {200, R"({"access_token": 7})", "OAuth2Error.invalidTokenResponse: status 200 without an access token"},
        {200, R"([{"access_token": "t1"}])", "OAuth2Error.invalidTokenResponse: status 200 without an access token"},
        {200, "access_token=t1", "OAuth2Error.invalidTokenResponse: status 200 without an access token"},
        {201, R"({"access_token": "t1"})", "OAuth2Error.invalidTokenResponse: status 201"},
        {400, R"({"error": "invalid_grant", "error_description": "The code has expired"})",
         "OAuth2Error.tokenRequestFailed: invalid_grant - The code has expired"},
        {400, R"({"error": "invalid_grant", "error_description": 3})", "OAuth2Error.tokenRequestFailed: invalid_grant"},
        {401, R"({"error": "invalid_client"})", "OAuth2Error.tokenRequestFailed: invalid_client"},
        {400, "<html>Bad Request</html>", "OAuth2Error.invalidTokenResponse: status 400"},
        {401, R"({"message": "no"})", "OAuth2Error.invalidTokenResponse: status 401"},
        {403, R"({"error": "access_denied"})", "OAuth2Error.invalidTokenResponse: status 403"},
        {500, R"({"error": "server_error"})", "OAuth2Error.invalidTokenResponse: status 500"},
        {0, "", "OAuth2Error.invalidTokenResponse: status 0"},
    };
    for (const Row& row : rows) EXPECT_EQ(read(row.status, row.body), row.expected) << row.status << " " << row.body;
}

TEST(OAuth2TokenResponse, ARefusalKeepsNoSecretAndNoLineBreakOfTheServer) {
    EXPECT_EQ(read(400, R"({"error": "invalid_grant", "error_description": "code c-1 with verifier v-2, code c-1"})",
                   {"c-1", "v-2", ""}),
              "OAuth2Error.tokenRequestFailed: invalid_grant - code ... with verifier ..., code ...");
    EXPECT_EQ(read(400, R"({"error": "bad\nline", "error_description": "tab\there \"quoted\" \u00e9"})"),
              "OAuth2Error.tokenRequestFailed: bad?line - tab?here ?quoted? ??");
    const std::string longText(5000, 'x');
    const std::string told = read(400, R"({"error": "e", "error_description": ")" + longText + "\"}");
    EXPECT_LT(told.size(), 300u);
}

}  // namespace
}  // namespace trc::flows::test
