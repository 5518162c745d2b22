#include "platform/foundation/URL.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "platform/foundation/internal/URICharacters.h"

namespace trc::foundation {

namespace {

using internal::URICharacters;

bool allowedIn(unsigned char c, URL::AllowedCharacters set) {
    if (c >= 0x80) return false;
    if (set == URL::AllowedCharacters::Unreserved) return URICharacters::isUnreserved(c);
    if (URICharacters::isUnreserved(c) || URICharacters::isSubDelimiter(c) || c == ':' || c == '@' || c == '/')
        return true;
    return set == URL::AllowedCharacters::Query && c == '?';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool validUTF8(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t extra = 0;
        std::uint32_t min = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1;
            min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            min = 0x10000;
        } else {
            return false;
        }
        if (i + extra >= s.size()) return false;
        std::uint32_t cp = c & (0x3F >> extra);
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += extra + 1;
    }
    return true;
}

// The scheme's length when the text starts with one ("x:"), else 0.
std::size_t schemeLength(std::string_view text) {
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text[0]))) return 0;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == ':') return i;
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') return 0;
    }
    return 0;
}

}  // namespace

std::optional<URL> URL::fromString(std::string_view text) {
    if (text.empty()) return std::nullopt;
    bool sawFragment = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '%') {
            if (i + 2 >= text.size() || hexValue(text[i + 1]) < 0 || hexValue(text[i + 2]) < 0) return std::nullopt;
            i += 2;
            continue;
        }
        if (c == '#') {
            if (sawFragment) return std::nullopt;
            sawFragment = true;
            continue;
        }
        if (c >= 0x80 || !(URICharacters::isUnreserved(c) || URICharacters::isSubDelimiter(c) ||
                           URICharacters::isGeneralDelimiter(c)))
            return std::nullopt;
    }
    URL url;
    url.text_ = std::string(text);
    std::string_view rest = text;
    if (const std::size_t n = schemeLength(text)) {
        url.scheme_ = std::string(text.substr(0, n));
        rest = text.substr(n + 1);
    }
    if (rest.starts_with("//")) {
        const std::size_t end = rest.find_first_of("/?#", 2);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end);
    }
    url.rawPath_ = std::string(rest.substr(0, rest.find_first_of("?#")));
    return url;
}

URL URL::fileURLWithPath(const std::filesystem::path& path) {
    std::error_code ec;
    std::filesystem::path absolute = path.is_absolute() ? path : std::filesystem::absolute(path, ec);
    std::string p = (ec ? path : absolute).string();
    if (p.empty() || p.front() != '/') p.insert(p.begin(), '/');
    URL url;
    url.scheme_ = "file";
    url.rawPath_ = addingPercentEncoding(p, AllowedCharacters::Path);
    url.text_ = "file://" + url.rawPath_;
    return url;
}

bool URL::isFileURL() const {
    if (scheme_.size() != 4) return false;
    for (std::size_t i = 0; i < 4; ++i) {
        if (std::tolower(static_cast<unsigned char>(scheme_[i])) != "file"[i]) return false;
    }
    return true;
}

std::string URL::path() const { return removingPercentEncoding(rawPath_).value_or(std::string()); }

std::optional<std::string> URL::query() const {
    const std::size_t fragment = std::min(text_.find('#'), text_.size());
    const std::size_t mark = text_.find('?');
    if (mark >= fragment) return std::nullopt;
    return text_.substr(mark + 1, fragment - mark - 1);
}

std::string URL::lastPathComponent() const {
    std::string p = path();
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    if (p == "/") return p;
    const std::size_t slash = p.rfind('/');
    return slash == std::string::npos ? p : p.substr(slash + 1);
}

std::string URL::pathExtension() const {
    const std::string last = lastPathComponent();
    const std::size_t dot = last.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == last.size()) return {};
    return last.substr(dot + 1);
}

URL URL::appendingPathComponent(std::string_view component) const {
    if (!isFileURL()) return *this;
    return fileURLWithPath(std::filesystem::path(path()) / std::filesystem::path(component));
}

std::string URL::addingPercentEncoding(std::string_view text, AllowedCharacters allowed) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (allowedIn(c, allowed)) {
            out.push_back(ch);
        } else {
            out.push_back('%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 0xF]);
        }
    }
    return out;
}

std::string URL::pathSegment(std::string_view text) {
    const bool dotsOnly = !text.empty() && text.find_first_not_of('.') == std::string_view::npos;
    if (!dotsOnly) return addingPercentEncoding(text, AllowedCharacters::Unreserved);
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) out += "%2E";
    return out;
}

std::optional<std::string> URL::removingPercentEncoding(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out.push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int hi = hexValue(text[i + 1]);
        const int lo = hexValue(text[i + 2]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out.push_back(static_cast<char>(hi * 16 + lo));
        i += 2;
    }
    if (!validUTF8(out)) return std::nullopt;
    return out;
}

}  // namespace trc::foundation
