#include "platform/foundation/URLAuthority.h"

#include <arpa/inet.h>

#include <cctype>

#include "platform/foundation/internal/URICharacters.h"

namespace trc::foundation {

namespace {

bool isAlpha(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isHex(char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; }
using internal::URICharacters;

bool allDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (!isDigit(c)) return false;
    return true;
}

// userinfo = *( unreserved / pct-encoded / sub-delims / ":" )
bool isUserinfo(std::string_view s) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '%') {
            if (i + 2 >= s.size() || !isHex(s[i + 1]) || !isHex(s[i + 2])) return false;
            i += 2;
        } else if (!URICharacters::isUnreserved(c) && !URICharacters::isSubDelimiter(c) && c != ':') {
            return false;
        }
    }
    return true;
}

// dec-octet "." dec-octet "." dec-octet "." dec-octet, no leading zeros.
bool isIPv4(std::string_view s) {
    int parts = 0;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = s.find('.', start);
        const std::string_view part = s.substr(start, dot == std::string_view::npos ? s.npos : dot - start);
        if (!allDigits(part) || part.size() > 3 || (part.size() > 1 && part[0] == '0')) return false;
        if (std::stoi(std::string(part)) > 255) return false;
        ++parts;
        if (dot == std::string_view::npos) break;
        start = dot + 1;
    }
    return parts == 4;
}

// A label a browser would read as a number: decimal digits, or "0x" with
// hexadecimal digits (or nothing) after it.
bool isNumericLabel(std::string_view label) {
    if (allDigits(label)) return true;
    if (label.size() >= 2 && label[0] == '0' && (label[1] == 'x' || label[1] == 'X')) {
        for (char c : label.substr(2))
            if (!isHex(c)) return false;
        return true;
    }
    return false;
}

bool isHostName(std::string_view s) {
    if (!s.empty() && s.back() == '.') s.remove_suffix(1);
    if (s.empty()) return false;
    std::string_view last;
    std::size_t start = 0;
    while (true) {
        const std::size_t dot = s.find('.', start);
        const std::string_view label = s.substr(start, dot == std::string_view::npos ? s.npos : dot - start);
        if (label.empty()) return false;
        for (char c : label)
            if (!isAlpha(c) && !isDigit(c) && c != '-' && c != '_') return false;
        last = label;
        if (dot == std::string_view::npos) break;
        start = dot + 1;
    }
    return !isNumericLabel(last);
}

bool isIPv6(std::string_view s) {
    if (s.empty() || s.size() > 45) return false;
    for (char c : s)
        if (!isHex(c) && c != ':' && c != '.') return false;
    in6_addr address{};
    return inet_pton(AF_INET6, std::string(s).c_str(), &address) == 1;
}

std::optional<std::uint16_t> portOf(std::string_view s) {
    if (!allDigits(s) || s.size() > 5) return std::nullopt;
    const int value = std::stoi(std::string(s));
    if (value < 1 || value > 65535) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

}  // namespace

bool URLAuthority::isHostGrammarCharacter(char c) {
    return URICharacters::isUnreserved(c) || URICharacters::isSubDelimiter(c) || c == '%' || c == ':' || c == '[' ||
           c == ']';
}

std::optional<URLAuthority> URLAuthority::parse(std::string_view text) {
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u <= 0x20 || u >= 0x7f || c == '\\') return std::nullopt;
    }
    // scheme = ALPHA *( ALPHA / DIGIT / "+" / "-" / "." ), then "//".
    std::size_t i = 0;
    if (text.empty() || !isAlpha(text[0])) return std::nullopt;
    while (i < text.size() &&
           (isAlpha(text[i]) || isDigit(text[i]) || text[i] == '+' || text[i] == '-' || text[i] == '.')) {
        ++i;
    }
    if (text.substr(i, 3) != "://") return std::nullopt;
    i += 3;
    std::string_view authority = text.substr(i);
    authority = authority.substr(0, authority.find_first_of("/?#"));

    URLAuthority out;
    if (const std::size_t at = authority.find('@'); at != std::string_view::npos) {
        const std::string_view userinfo = authority.substr(0, at);
        if (authority.find('@', at + 1) != std::string_view::npos || !isUserinfo(userinfo)) return std::nullopt;
        out.userinfo = std::string(userinfo);
        authority.remove_prefix(at + 1);
    }

    std::string_view host;
    std::optional<std::string_view> port;
    if (!authority.empty() && authority.front() == '[') {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        host = authority.substr(1, close - 1);
        const std::string_view rest = authority.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':') return std::nullopt;
            port = rest.substr(1);
        }
        if (!isIPv6(host)) return std::nullopt;
        out.hostKind = HostKind::ipv6;
    } else {
        const std::size_t colon = authority.find(':');
        host = authority.substr(0, colon);
        if (colon != std::string_view::npos) port = authority.substr(colon + 1);
        if (isIPv4(host)) {
            out.hostKind = HostKind::ipv4;
        } else if (isHostName(host)) {
            out.hostKind = HostKind::name;
        } else {
            return std::nullopt;
        }
    }
    if (port) {
        out.port = portOf(*port);
        if (!out.port) return std::nullopt;
    }
    out.host = std::string(host);
    return out;
}

}  // namespace trc::foundation
