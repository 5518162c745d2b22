#pragma once
// The character classes of RFC 3986 that URL texts are checked against, in
// one place, so the URL value and the authority reader accept the same
// characters. ASCII only: any byte above 0x7f is in none of them.
//
// Stateless; any thread.

namespace trc::foundation::internal {

class URICharacters {
public:
    // Letters, digits, '-', '.', '_' and '~'.
    static bool isUnreserved(char c);
    // "!$&'()*+,;=".
    static bool isSubDelimiter(char c);
    // ":/?#[]@".
    static bool isGeneralDelimiter(char c);
};

}  // namespace trc::foundation::internal
