#include "onboarding/QRCodeScanValidator.h"

#include <gtest/gtest.h>

#include "platform/core/Json.h"

namespace trc::onboarding {
namespace {

using V = QRCodeScanValidator;

// The QR dictionary as "Key=Value;" in key order, or "nil".
std::string str(const std::optional<V::QRParams>& params) {
    if (!params) return "nil";
    std::string out;
    for (const auto& [k, v] : *params) out += k + "=" + v + ";";
    return out;
}

std::string fromJson(const std::string& text) {
    core::Value v = core::Json::parse(text, core::Json::NullAs::Nil);
    return v.ifDictionary() ? str(V::parseJsonQRResult(*v.ifDictionary())) : "not an object";
}

const char* kComplete =
    "app://c?AppId=a1&ClientId=c1&ServerUrl=https://s.example.com&AuthorizationEndpointUrl=https://s.example.com/"
    "auth&RedirectUrl=app://cb&TokenUrl=https://s.example.com/token";

struct JsonCase {
    const char* name;
    const char* json;
    const char* expected;
    bool complete;
};

class QRJsonFormat : public ::testing::TestWithParam<JsonCase> {};

TEST_P(QRJsonFormat, ReadsTheKeysItKnows) {
    const JsonCase& c = GetParam();
    EXPECT_EQ(fromJson(c.json), c.expected) << c.name;
    core::Value v = core::Json::parse(c.json, core::Json::NullAs::Nil);
    if (v.ifDictionary()) {
        EXPECT_EQ(V::isAllConnectionParamsAvailable(V::parseJsonQRResult(*v.ifDictionary())), c.complete);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QRJsonFormat,
    ::testing::Values(
        JsonCase{"complete",
                 R"({"appID":"a1","auth":[{"config":{"oauth2.tokenEndpoint":"T","oauth2.authorizationEndpoint":"A",)"
                 R"("oauth2.endUserUI":"S","oauth2.clients":[{"clientID":"C","redirectURL":"R"}]}}]})",
                 "AppId=a1;AuthorizationEndpointUrl=A;ClientId=C;RedirectUrl=R;ServerUrl=S;TokenUrl=T;", true},
        JsonCase{"empty object", "{}", "", false},
        JsonCase{"no auth gives at most the app id", R"({"appID":"a1"})", "AppId=a1;", false},
        JsonCase{"auth not a list", R"({"appID":"a1","auth":{"config":{}}})", "AppId=a1;", false},
        JsonCase{
            "wrong-case member names are not read",
            R"({"AppID":"a1","auth":[{"config":{"oauth2.TokenEndpoint":"T","oauth2.clients":[{"ClientID":"C"}]}}]})",
            "", false},
        JsonCase{"members of other kinds are ignored",
                 R"({"appID":7,"auth":[1,"x",{"config":"no"},{"config":{"oauth2.tokenEndpoint":true,)"
                 R"("oauth2.clients":[3,{"clientID":["C"],"redirectURL":"R"}]}}]})",
                 "RedirectUrl=R;", false},
        JsonCase{
            "later entries win",
            R"({"auth":[{"config":{"oauth2.tokenEndpoint":"T1","oauth2.clients":[{"clientID":"C1"},{"clientID":"C2"}]}},)"
            R"({"config":{"oauth2.tokenEndpoint":"T2"}}]})",
            "ClientId=C2;TokenUrl=T2;", false},
        JsonCase{"an empty value is the placeholder",
                 R"({"appID":"","auth":[{"config":{"oauth2.clients":[{"clientID":""}]}}]})",
                 "AppId=safe.default.data;ClientId=safe.default.data;", false},
        JsonCase{"duplicate members: the last wins", R"({"appID":"a1","appID":"a2"})", "AppId=a2;", false}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

struct TextCase {
    const char* name;
    std::string text;
    const char* expected;
};

class QRPlainFormat : public ::testing::TestWithParam<TextCase> {};

TEST_P(QRPlainFormat, ReadsPairsAfterTheFirstQuestionMark) {
    EXPECT_EQ(str(V::parseStringQRResult(GetParam().text)), GetParam().expected) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QRPlainFormat,
    ::testing::Values(
        TextCase{"no question mark", "app://connect", "nil"}, TextCase{"nothing after it", "app://connect?", "nil"},
        TextCase{"simple pairs", "app://c?AppId=a&ClientId=b", "AppId=a;ClientId=b;"},
        TextCase{"a second = stays in the value", "app://c?RedirectUrl=https://x.example.com/cb?y=1&AppId=YWJj=",
                 "AppId=YWJj=;RedirectUrl=https://x.example.com/cb?y=1;"},
        TextCase{"values are not percent-decoded", "app://c?AppId=a%2Fb", "AppId=a%2Fb;"},
        TextCase{"an empty value is the placeholder", "app://c?ClientId=&AppId=a",
                 "AppId=a;ClientId=safe.default.data;"},
        TextCase{"a repeated key keeps its last value", "app://c?AppId=a&AppId=b", "AppId=b;"},
        TextCase{"pairs without = and empty keys are skipped", "app://c?AppId&=x&&ClientId=c", "ClientId=c;"}),
    [](const auto& info) {
        std::string n = info.param.name;
        for (char& ch : n)
            if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
        return n;
    });

TEST(QRPreCheck, NeedsOneOfTheApplicationsSchemesAndEveryKeyName) {
    const std::vector<std::string> schemes{"other", "app"};
    EXPECT_TRUE(V::isScanResultValid(kComplete, schemes));
    EXPECT_FALSE(V::isScanResultValid(kComplete, {}));
    EXPECT_FALSE(V::isScanResultValid(kComplete, {"APP"}));
    EXPECT_FALSE(V::isScanResultValid("", schemes));
    EXPECT_FALSE(V::isScanResultValid(std::string(kComplete).replace(0, 3, "web"), schemes));
    std::string withoutToken = kComplete;
    withoutToken.erase(withoutToken.find("&TokenUrl"));
    EXPECT_FALSE(V::isScanResultValid(withoutToken, schemes));
    std::string alternative = kComplete;
    alternative.replace(alternative.find("ServerUrl"), 9, "ZelCloudPlatformEndpoint");
    EXPECT_TRUE(V::isScanResultValid(alternative, schemes));
}

TEST(QRConnectionSettings, ServerUrlWinsOverTheAlternativeNameAndMissingKeysAreNothing) {
    V::QRParams params{{"AppId", "a"}, {"ServerUrl", "S"}, {"ZelCloudPlatformEndpoint", "Z"}};
    auto settings = V::connectionSettings(params);
    ASSERT_EQ(settings.size(), 6u);
    EXPECT_EQ(settings[0].second, std::optional<std::string>("a"));
    EXPECT_EQ(settings[2].second, std::optional<std::string>("S"));
    EXPECT_EQ(settings[1].second, std::nullopt);
    params.erase("ServerUrl");
    EXPECT_EQ(V::connectionSettings(params)[2].second, std::optional<std::string>("Z"));
}

}  // namespace
}  // namespace trc::onboarding
