#pragma once
// A URL as the platform's URL value has it: made from text (refused when the
// text holds a character a URL may not carry or a broken escape) or from a
// file path, and read back as its absolute text, scheme, percent-decoded
// path, query, last path component and path extension. Also the two text helpers
// that go with it: percent-encoding with an allowed character set, and
// removing percent escapes (refused for a broken escape or bytes that are no
// UTF-8), which unique attachment ids and file names depend on agreeing
// exactly.
//
// Text made by fromString keeps its form: absoluteString() is the text given,
// never normalised. No network access, no host or port parsing beyond what
// the path needs. A plain value; any thread.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace trc::foundation {

class URL {
public:
    enum class AllowedCharacters {
        // Unreserved, sub-delimiters, ':', '@', '/' and '?'.
        Query,
        // Unreserved, sub-delimiters, ':', '@' and '/'.
        Path,
        // Unreserved only (letters, digits, '-', '.', '_', '~'): a form value
        // or a single path segment.
        Unreserved,
    };

    // The URL the text spells, or none for empty text, a character outside
    // what URLs carry (spaces, quotes, braces, non-ASCII...), a second '#'
    // or a '%' not followed by two hexadecimal digits.
    static std::optional<URL> fromString(std::string_view text);
    // A "file://" URL of a path (a relative one is taken from the current
    // folder), escaping what a path may not carry.
    static URL fileURLWithPath(const std::filesystem::path& path);

    const std::string& absoluteString() const { return text_; }
    // The same text, as the platform prints a URL.
    const std::string& description() const { return text_; }
    // As written; empty when the text has none.
    const std::string& scheme() const { return scheme_; }
    bool isFileURL() const;
    // The path with escapes removed; empty when it has none or its escapes
    // do not decode.
    std::string path() const;
    // The query as written (escapes kept): the text after the first '?' up
    // to a '#'; none when the text has no query.
    std::optional<std::string> query() const;
    // The path's last component ("/" for the root alone, empty for no path).
    std::string lastPathComponent() const;
    // The text after the last '.' of the last component, empty when none
    // (a leading dot does not start an extension).
    std::string pathExtension() const;
    // A file URL one component deeper (file URLs only; others are returned as they are).
    URL appendingPathComponent(std::string_view component) const;

    static std::string addingPercentEncoding(std::string_view text, AllowedCharacters allowed);
    // text as exactly one path segment, whatever it holds: everything but
    // unreserved characters percent-encoded ("/", "?", "#" and "%" among
    // them), and a text of dots only ("." or "..") written encoded, so it
    // never steps through the path it is put into.
    static std::string pathSegment(std::string_view text);
    // None when an escape is broken or the bytes are no UTF-8.
    static std::optional<std::string> removingPercentEncoding(std::string_view text);

    friend bool operator==(const URL& a, const URL& b) { return a.text_ == b.text_; }

private:
    URL() = default;

    std::string text_;
    std::string scheme_;
    // The raw (still escaped) path part of the text.
    std::string rawPath_;
};

}  // namespace trc::foundation
