// Feeds arbitrary text to the allowed-domain check of connection URLs, as a
// scanned code's URL would arrive. The first line names one more allowed
// domain, the rest is the URL. Whatever the text, a URL that is allowed must
// name a host that holds only what RFC 3986 permits in a host, and that host
// (read as a browser would: the authority ends at the first '/', '\', '?' or
// '#', the host follows the last '@') must lie in an allowed domain.

#include <arpa/inet.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/foundation/Sandbox.h"
#include "platform/foundation/URLAuthority.h"
#include "services/AppConfig.h"

namespace {

using namespace trc;

std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The host as a browser finds it, lower case, brackets and trailing dots kept.
std::string browserHost(std::string_view url) {
    std::size_t start = url.find("://");
    if (start == std::string_view::npos) std::abort();
    std::string_view authority = url.substr(start + 3);
    authority = authority.substr(0, authority.find_first_of("/\\?#"));
    if (std::size_t at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
    if (!authority.empty() && authority.front() == '[') return lowered(authority.substr(0, authority.find(']') + 1));
    return lowered(authority.substr(0, authority.find(':')));
}

bool inDomain(std::string host, std::string domain) {
    while (!host.empty() && host.back() == '.') host.pop_back();
    domain = lowered(domain);
    // An entry is read as the library reads the host's list: blanks around
    // it, a leading "*." or dots, and trailing dots do not count.
    auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!domain.empty() && blank(domain.back())) domain.pop_back();
    while (!domain.empty() && blank(domain.front())) domain.erase(0, 1);
    while (!domain.empty() && (domain.front() == '.' || domain.front() == '*')) domain.erase(0, 1);
    while (!domain.empty() && domain.back() == '.') domain.pop_back();
    if (domain.empty()) return false;
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
        // An address is only ever its own entry, bracketed or not.
        if (domain.size() >= 2 && domain.front() == '[' && domain.back() == ']')
            domain = domain.substr(1, domain.size() - 2);
        in6_addr a{}, b{};
        const std::string inner = host.substr(1, host.size() - 2);
        return inet_pton(AF_INET6, inner.c_str(), &a) == 1 && inet_pton(AF_INET6, domain.c_str(), &b) == 1 &&
               std::memcmp(&a, &b, sizeof a) == 0;
    }
    return host == domain ||
           (host.size() > domain.size() && host.ends_with(domain) && host[host.size() - domain.size() - 1] == '.');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = [] {
        foundation::Sandbox::makeFreshRoot();
        return true;
    }();
    (void)ready;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::size_t newline = text.find('\n');
    const std::string extra = newline == std::string::npos ? std::string() : text.substr(0, newline);
    const std::string url = newline == std::string::npos ? text : text.substr(newline + 1);

    auto config = services::AppConfig::sharedInstance();
    config->setAllowedDomains(
        core::Dictionary{{"AllowedDomains", core::Array{"example.com", "127.0.0.1", "::1", extra}}});
    config->setAppSchemeAllowedDomains(core::Dictionary{{"AppSchemeAllowedDomains", core::Array{"callback"}}});
    for (const char* key : {"ServerUrl", "RedirectUrl"}) {
        if (!config->isAllowedDomain(key, url)) continue;
        const std::string host = browserHost(url);
        if (host.empty()) std::abort();
        for (char c : host)
            if (!foundation::URLAuthority::isHostGrammarCharacter(c)) std::abort();
        const bool listed = inDomain(host, "example.com") || inDomain(host, "127.0.0.1") || inDomain(host, "::1") ||
                            inDomain(host, extra) ||
                            (std::string_view(key) == "RedirectUrl" && inDomain(host, "callback"));
        if (!listed) std::abort();
    }
    (void)config->getAppConnectionSettings();
    return 0;
}
