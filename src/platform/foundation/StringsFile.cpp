#include "platform/foundation/StringsFile.h"

#include <unicode/unistr.h>
#include <unicode/ustring.h>

#include "platform/foundation/AtomicFile.h"

namespace trc::foundation {

namespace {

class ParseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

bool isUnquotedChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$' ||
           c == '+' || c == '/' || c == ':' || c == '.' || c == '-';
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The text as UTF-8: byte-order marks decide the encoding; UTF-8 (with its
// mark or without) must be valid.
std::string toUtf8(std::string_view bytes) {
    auto starts = [&](std::string_view bom) { return bytes.substr(0, bom.size()) == bom; };
    const char* codepage = nullptr;
    if (starts("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    else if (starts("\xFF\xFE"))
        codepage = "UTF-16LE";
    else if (starts("\xFE\xFF"))
        codepage = "UTF-16BE";
    if (codepage) {
        std::string_view body = bytes.substr(2);
        if (body.size() % 2 != 0) throw ParseError("a UTF-16 text of an odd number of bytes");
        icu::UnicodeString text(body.data(), static_cast<int32_t>(body.size()), codepage);
        if (text.isBogus()) throw ParseError("a UTF-16 text that cannot be converted");
        std::string out;
        text.toUTF8String(out);
        return out;
    }
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    u_strFromUTF8(nullptr, 0, &length, bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    if (status == U_INVALID_CHAR_FOUND || status == U_ILLEGAL_CHAR_FOUND) {
        throw ParseError("the text is neither UTF-8 nor UTF-16 with a byte-order mark");
    }
    return std::string(bytes);
}

class Parser {
public:
    explicit Parser(std::string_view text) : s_(text) {}

    void run(std::map<std::string, std::string, std::less<>>& entries) {
        for (;;) {
            skipSpaceAndComments();
            if (atEnd()) return;
            std::string key = token("a key");
            skipSpaceAndComments();
            if (peek() == ';') {
                ++pos_;
                entries[key] = key;
                continue;
            }
            expect('=', "\"=\" or \";\" after the key");
            skipSpaceAndComments();
            std::string value = token("a value");
            skipSpaceAndComments();
            expect(';', "\";\" after the value");
            entries[std::move(key)] = std::move(value);
        }
    }

    int line() const { return line_; }

private:
    bool atEnd() const { return pos_ >= s_.size(); }
    char peek() const { return atEnd() ? '\0' : s_[pos_]; }
    char next() {
        char c = s_[pos_++];
        if (c == '\n') ++line_;
        return c;
    }

    [[noreturn]] void fail(const std::string& what) const { throw ParseError(what); }

    void expect(char c, const char* what) {
        if (peek() != c) fail(std::string("expected ") + what + found());
        ++pos_;
    }

    std::string found() const {
        if (atEnd()) return ", found the end of the text";
        return std::string(", found \"") + s_[pos_] + "\"";
    }

    void skipSpaceAndComments() {
        while (!atEnd()) {
            char c = peek();
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
                next();
            } else if (s_.substr(pos_, 2) == "//") {
                while (!atEnd() && peek() != '\n') next();
            } else if (s_.substr(pos_, 2) == "/*") {
                int opened = line_;
                pos_ += 2;
                for (;;) {
                    if (atEnd()) {
                        line_ = opened;
                        fail("a comment that is never closed");
                    }
                    if (s_.substr(pos_, 2) == "*/") {
                        pos_ += 2;
                        break;
                    }
                    next();
                }
            } else {
                return;
            }
        }
    }

    std::string token(const char* what) {
        if (peek() == '"') return quoted();
        std::string out;
        while (!atEnd() && isUnquotedChar(peek())) out.push_back(next());
        if (out.empty()) fail(std::string("expected ") + what + found());
        return out;
    }

    std::string quoted() {
        int opened = line_;
        ++pos_;
        std::string out;
        char32_t pendingHigh = 0;  // a high surrogate waiting for its pair, or 0
        auto flushHigh = [&] {
            if (pendingHigh) appendUtf8(out, 0xFFFD);
            pendingHigh = 0;
        };
        for (;;) {
            if (atEnd()) {
                line_ = opened;
                fail("a quoted text that is never closed");
            }
            char c = next();
            if (c == '"') break;
            if (c != '\\') {
                flushHigh();
                out.push_back(c);
                continue;
            }
            if (atEnd()) continue;  // reported as unclosed on the next turn
            char e = next();
            if (e == 'u' || e == 'U') {
                char32_t unit = 0;
                int digits = 0;
                for (; digits < 4 && hexDigit(peek()) >= 0; ++digits) unit = unit * 16 + hexDigit(next());
                if (digits == 0) fail("\\u without hexadecimal digits");
                if (unit >= 0xD800 && unit <= 0xDBFF) {
                    flushHigh();
                    pendingHigh = unit;
                } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
                    if (pendingHigh) {
                        appendUtf8(out, 0x10000 + ((pendingHigh - 0xD800) << 10) + (unit - 0xDC00));
                        pendingHigh = 0;
                    } else {
                        appendUtf8(out, 0xFFFD);
                    }
                } else {
                    flushHigh();
                    appendUtf8(out, unit);
                }
                continue;
            }
            flushHigh();
            if (e >= '0' && e <= '7') {
                unsigned v = e - '0';
                for (int i = 0; i < 2 && peek() >= '0' && peek() <= '7'; ++i) v = v * 8 + (next() - '0');
                appendUtf8(out, v);
                continue;
            }
            switch (e) {
            case 'n': out.push_back('\n'); break;
            case 't': out.push_back('\t'); break;
            case 'r': out.push_back('\r'); break;
            case 'a': out.push_back('\a'); break;
            case 'b': out.push_back('\b'); break;
            case 'f': out.push_back('\f'); break;
            case 'v': out.push_back('\v'); break;
            default: out.push_back(e); break;  // \" \\ \' and any other character stand for themselves
            }
        }
        flushHigh();
        return out;
    }

    std::string_view s_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

}  // namespace

StringsFile::Result StringsFile::parse(std::string_view bytes) {
    Result result;
    std::string text;
    try {
        text = toUtf8(bytes);
    } catch (const ParseError& e) {
        result.error = e.what();
        return result;
    }
    Parser parser(text);
    try {
        parser.run(result.entries);
    } catch (const ParseError& e) {
        result.error = "line " + std::to_string(parser.line()) + ": " + e.what();
    }
    return result;
}

StringsFile::Result StringsFile::load(const std::filesystem::path& path) {
    try {
        Result r = parse(AtomicFile::read(path));
        if (!r.ok()) r.error = path.string() + ": " + r.error;
        return r;
    } catch (const std::exception& e) {
        Result r;
        r.error = e.what();
        return r;
    }
}

}  // namespace trc::foundation
