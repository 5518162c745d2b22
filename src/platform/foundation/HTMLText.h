#pragma once
// The text a person reads in an HTML document, as the platform shows an
// HTML document in a plain text view: parsed with libxml2's HTML parser
// (forgiving, as browsers are, and never fetching anything), entities and
// character references decoded, scripts, styles, templates and the head
// (its title included) left out, white space collapsed as HTML renders it
// (kept inside <pre>), a paragraph or heading ending in a blank line, other
// blocks (div, li, tr, ...) and <br> in a line break, the cells of a table
// row apart by a tab. Leading and trailing white space is trimmed.
//
// Nesting has no depth limit (tags a document never closes nest as deep as
// it is long). A document is shown whole or not at all: when the parser
// meets something that swallows text (a comment, tag, attribute value,
// doctype or processing instruction that never ends) or stops early, there
// is no text.
//
// Stateless; any thread. Walks the document without recursion, so deep
// nesting costs no stack.

#include <optional>
#include <string>
#include <string_view>

namespace trc::foundation {

class HTMLText {
public:
    // The document's text; none when libxml2 cannot make a document of it at
    // all (empty input, more than 2 GB) or cannot read all of it.
    static std::optional<std::string> plainText(std::string_view html);
};

}  // namespace trc::foundation
