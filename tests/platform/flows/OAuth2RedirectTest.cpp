#include "platform/flows/OAuth2Redirect.h"

#include <gtest/gtest.h>

#include "platform/flows/OAuth2Error.h"

namespace trc::flows::test {
namespace {

// What a URL the sign-in page reached means: "page" (let through), "code:<c>"
// or "<case>[:<error>[:<description>]]".
std::string outcome(std::string_view url, std::string_view redirectURL = "app://cb/done",
                    std::string_view state = "s/t=") {
    std::optional<OAuth2Redirect> r = OAuth2Redirect::read(url, redirectURL, state);
    if (!r) return "page";
    if (r->code) return "code:" + *r->code;
    const auto* e = Error::as<OAuth2Error>(r->error);
    if (!e) return "no OAuth2Error";
    std::string out;
    switch (e->errorCase()) {
    case OAuth2Error::Case::authorizationFailed: out = "authorizationFailed"; break;
    case OAuth2Error::Case::stateMismatch: out = "stateMismatch"; break;
    case OAuth2Error::Case::missingCode: out = "missingCode"; break;
    default: out = "other"; break;
    }
    if (e->errorCode()) out += ":" + *e->errorCode();
    if (e->errorDescription()) out += ":" + *e->errorDescription();
    return out;
}

TEST(OAuth2Redirect, OnlyTheRedirectURLEndsTheSignInAndItsQuerySaysHow) {
    struct Row {
        const char* url;
        const char* expected;
    };
    const Row rows[] = {
        // The redirect URL, its parts in any case; the state as sent, encoded.
        {"app://cb/done?code=abc&state=s%2Ft%3D", "code:abc"},
        {"APP://CB/done?state=s%2Ft%3D&code=abc#later", "code:abc"},
        {"app://cb/d%6Fne?code=abc&state=s%2Ft%3D", "code:abc"},
        // Values are form-decoded: '+' is a space, "%2B" a plus.
        {"app://cb/done?code=a%2Bb+c%3D&state=s%2Ft%3D", "code:a+b c="},
        // Other URLs are pages on the way.
        {"https://auth.example.com/login?code=abc&state=s%2Ft%3D", "page"},
        {"app://cb/done/more?code=abc&state=s%2Ft%3D", "page"},
        {"app://cb/Done?code=abc&state=s%2Ft%3D", "page"},
        {"app://cb.evil.example/done?code=abc&state=s%2Ft%3D", "page"},
        {"app://user@cb/done?code=abc&state=s%2Ft%3D", "page"},
        {"apps://cb/done?code=abc&state=s%2Ft%3D", "page"},
        {"app:/cb/done?code=abc&state=s%2Ft%3D", "page"},
        {"app://cb/done?code=a b", "page"},
        {"", "page"},
        // The state decides first.
        {"app://cb/done?code=abc&state=forged", "stateMismatch"},
        {"app://cb/done?code=abc", "stateMismatch"},
        {"app://cb/done?code=abc&state=s%2Ft%3D&state=s%2Ft%3D", "stateMismatch"},
        {"app://cb/done?code=abc&state=s%2Ft%3D&x=%C3%28", "stateMismatch"},
        {"app://cb/done?error=access_denied&state=forged", "stateMismatch"},
        // The server's error, with and without description, state or not.
        {"app://cb/done?error=access_denied&state=s%2Ft%3D", "authorizationFailed:access_denied"},
        {"app://cb/done?error=access_denied&error_description=The+person+said+no%21&state=s%2Ft%3D",
         "authorizationFailed:access_denied:The person said no!"},
        {"app://cb/done?error=invalid_request&error_description=line%0Abreak",
         "authorizationFailed:invalid_request:line?break"},
        {"app://cb/done?error=server_error&code=abc&state=s%2Ft%3D", "authorizationFailed:server_error"},
        // A code there, once, and not empty.
        {"app://cb/done?state=s%2Ft%3D", "missingCode"},
        {"app://cb/done?code=&state=s%2Ft%3D", "missingCode"},
        {"app://cb/done?code=a&code=b&state=s%2Ft%3D", "missingCode"},
    };
    for (const Row& row : rows) EXPECT_EQ(outcome(row.url), row.expected) << row.url;
}

TEST(OAuth2Redirect, PortsCountAsTheSchemeWritesThemAndHostlessURLsCompareByPath) {
    struct Row {
        const char* url;
        const char* redirect;
        bool same;
    };
    const Row rows[] = {
        {"http://127.0.0.1:80/cb", "http://127.0.0.1/cb", true},
        {"https://h.example.com/cb", "https://H.example.com:443/cb", true},
        {"http://127.0.0.1:8080/cb", "http://127.0.0.1/cb", false},
        {"https://h.example.com:80/cb", "http://h.example.com/cb", false},
        {"http://h.example.com", "http://h.example.com/", true},
        {"app://cb:1/x", "app://cb/x", false},
        {"com.example.app:/oauth2redirect?code=1", "com.example.app:/oauth2redirect", true},
        {"com.example.app://oauth2redirect", "com.example.app:/oauth2redirect", false},
        {"app://cb/x", "not a url", false},
    };
    for (const Row& row : rows)
        EXPECT_EQ(OAuth2Redirect::isRedirectURL(row.url, row.redirect), row.same) << row.url << " / " << row.redirect;
}

}  // namespace
}  // namespace trc::flows::test
