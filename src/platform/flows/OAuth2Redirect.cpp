#include "platform/flows/OAuth2Redirect.h"

#include <algorithm>
#include <cctype>

#include "platform/flows/OAuth2Error.h"
#include "platform/foundation/FormURLEncoding.h"
#include "platform/foundation/URL.h"
#include "platform/foundation/URLAuthority.h"

namespace trc::flows {

namespace {

using foundation::FormURLEncoding;

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

std::optional<std::uint16_t> effectivePort(const foundation::URLAuthority& authority, std::string_view scheme) {
    if (authority.port) return authority.port;
    if (sameIgnoringCase(scheme, "http")) return 80;
    if (sameIgnoringCase(scheme, "https")) return 443;
    return std::nullopt;
}

bool hasAuthority(const foundation::URL& url) {
    return std::string_view(url.absoluteString()).substr(url.scheme().size() + 1).starts_with("//");
}

std::string pathAfterHost(const foundation::URL& url, bool authority) {
    std::string path = url.path();
    return authority && path.empty() ? "/" : path;
}

// The value of a parameter given exactly once.
std::optional<std::string> single(const FormURLEncoding::Pairs& pairs, std::string_view name) {
    std::optional<std::string> found;
    for (const auto& [n, v] : pairs) {
        if (n != name) continue;
        if (found) return std::nullopt;
        found = v;
    }
    return found;
}

OAuth2Redirect failing(OAuth2Error error) {
    OAuth2Redirect out;
    out.error = error.clone();
    return out;
}

}  // namespace

bool OAuth2Redirect::isRedirectURL(std::string_view url, std::string_view redirectURL) {
    const std::optional<foundation::URL> a = foundation::URL::fromString(url);
    const std::optional<foundation::URL> b = foundation::URL::fromString(redirectURL);
    if (!a || !b || b->scheme().empty() || !sameIgnoringCase(a->scheme(), b->scheme())) return false;
    const bool authority = hasAuthority(*b);
    if (authority != hasAuthority(*a)) return false;
    if (authority) {
        const auto x = foundation::URLAuthority::parse(url);
        const auto y = foundation::URLAuthority::parse(redirectURL);
        if (!x || !y || x->userinfo != y->userinfo || !sameIgnoringCase(x->host, y->host) ||
            effectivePort(*x, a->scheme()) != effectivePort(*y, b->scheme()))
            return false;
    }
    return pathAfterHost(*a, authority) == pathAfterHost(*b, authority);
}

std::optional<OAuth2Redirect> OAuth2Redirect::read(std::string_view url, std::string_view redirectURL,
                                                   std::string_view sentState) {
    if (!isRedirectURL(url, redirectURL)) return std::nullopt;
    using Case = OAuth2Error::Case;
    const std::optional<std::string> query = foundation::URL::fromString(url)->query();
    const std::optional<FormURLEncoding::Pairs> pairs = FormURLEncoding::read(query.value_or(""));
    if (!pairs) return failing(OAuth2Error(Case::stateMismatch, nullptr, "the redirect's query does not decode"));
    const std::optional<std::string> state = single(*pairs, "state");
    if (state && *state != sentState)
        return failing(OAuth2Error(Case::stateMismatch, nullptr, "the redirect carries another state"));
    if (const std::optional<std::string> error = single(*pairs, "error"))
        return failing(OAuth2Error::refused(Case::authorizationFailed, *error, single(*pairs, "error_description")));
    if (!state) return failing(OAuth2Error(Case::stateMismatch, nullptr, "the redirect carries no state"));
    std::optional<std::string> code = single(*pairs, "code");
    if (!code || code->empty()) return failing(OAuth2Error(Case::missingCode, nullptr, "the redirect carries no code"));
    OAuth2Redirect out;
    out.code = std::move(code);
    return out;
}

}  // namespace trc::flows
