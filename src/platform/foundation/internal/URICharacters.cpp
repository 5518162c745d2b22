#include "platform/foundation/internal/URICharacters.h"

namespace trc::foundation::internal {

bool URICharacters::isUnreserved(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

bool URICharacters::isSubDelimiter(char c) {
    switch (c) {
    case '!':
    case '$':
    case '&':
    case '\'':
    case '(':
    case ')':
    case '*':
    case '+':
    case ',':
    case ';':
    case '=': return true;
    default: return false;
    }
}

bool URICharacters::isGeneralDelimiter(char c) {
    switch (c) {
    case ':':
    case '/':
    case '?':
    case '#':
    case '[':
    case ']':
    case '@': return true;
    default: return false;
    }
}

}  // namespace trc::foundation::internal
