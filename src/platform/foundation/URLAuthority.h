#pragma once
// The authority of an absolute URL text ("scheme://userinfo@host:port/..."),
// read only when every common reader of URLs reads the same host from it.
//
// URL parsers disagree on texts that RFC 3986 does not allow: a network
// library takes "https://evil.net\@good.example/" as userinfo "evil.net\" and
// host "good.example", while a browser ends the authority at the backslash and
// opens evil.net. A check that decides which host a screen will open must
// refuse such texts rather than pick one reading. So parse() refuses:
// - any byte outside printable ASCII (controls, spaces, raw non-ASCII) and
//   any backslash, anywhere in the text;
// - an authority with more than one "@", or a userinfo character RFC 3986
//   does not permit;
// - an empty, non-numeric, zero or out-of-range port (a ":" with nothing
//   after it included);
// - a host that is none of: a dotted-decimal IPv4 address (four numbers
//   0-255 without leading zeros), a bracketed IPv6 address (no zone, no
//   future versions), or a host name of letters, digits, '-' and '_' in
//   dot-separated labels (no empty label but one trailing dot). Percent
//   escapes are refused in a host (one reader decodes "%2E" into a dot,
//   another does not), and so is a name whose last label is a number
//   ("127.1", "0x7f.0.0.1", "2130706433"), which browsers read as an IPv4
//   address in another spelling.
//
// A plain value; stateless parsing, any thread.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trc::foundation {

class URLAuthority {
public:
    enum class HostKind { name, ipv4, ipv6 };

    // As written (userinfo still escaped); the host without its brackets.
    std::optional<std::string> userinfo;
    std::string host;
    HostKind hostKind = HostKind::name;
    std::optional<std::uint16_t> port;

    // The authority of text, or none when text is not "scheme://authority..."
    // or anything above is refused.
    static std::optional<URLAuthority> parse(std::string_view text);

    // Whether c may stand in a host as RFC 3986 writes hosts (reg-name,
    // IPv4address or IP-literal): unreserved, sub-delims, '%' of an escape,
    // and ':', '[' and ']' of an IP literal.
    static bool isHostGrammarCharacter(char c);
};

}  // namespace trc::foundation
