#include "platform/foundation/HTMLText.h"

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlerror.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <mutex>
#include <set>

namespace trc::foundation {

namespace {

enum class Break { none = 0, line = 1, paragraph = 2 };

// Elements whose content nobody reads as text.
bool isHidden(std::string_view name) {
    static const std::set<std::string_view> hidden{"head", "script", "style", "template", "noscript", "title"};
    return hidden.contains(name);
}

Break breakAround(std::string_view name) {
    static const std::set<std::string_view> paragraphs{"p",  "h1", "h2",    "h3",  "h4", "h5",        "h6",
                                                       "ul", "ol", "table", "pre", "dl", "blockquote"};
    static const std::set<std::string_view> lines{"address", "article", "aside",    "caption",    "dd",     "details",
                                                  "div",     "dt",      "fieldset", "figcaption", "figure", "footer",
                                                  "form",    "header",  "hr",       "li",         "main",   "nav",
                                                  "section", "summary", "tr"};
    if (paragraphs.contains(name)) return Break::paragraph;
    if (lines.contains(name)) return Break::line;
    return Break::none;
}

bool isHTMLSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

// Collects text with the breaks and spaces that fall between pieces of it.
class TextWriter {
public:
    void text(std::string_view piece, bool preformatted) {
        for (char c : piece) {
            if (preformatted) {
                flush();
                out_ += c;
                if (c == '\n') space_ = false;
                continue;
            }
            if (isHTMLSpace(c)) {
                space_ = !out_.empty();
                continue;
            }
            flush();
            out_ += c;
        }
    }
    // The end of a table cell: what follows in the same row is set apart.
    void cell() {
        if (!out_.empty()) cell_ = true;
        space_ = false;
    }
    void block(Break b) {
        if (b == Break::none) return;
        breaks_ = std::max(breaks_, static_cast<int>(b));
        space_ = false;
    }
    void lineBreak() {
        ++breaks_;
        space_ = false;
    }
    std::string finish() {
        while (!out_.empty() && isHTMLSpace(out_.back())) out_.pop_back();
        const auto first = std::find_if_not(out_.begin(), out_.end(), isHTMLSpace);
        out_.erase(out_.begin(), first);
        return std::move(out_);
    }

private:
    void flush() {
        if (breaks_ > 0 && !out_.empty()) {
            while (!out_.empty() && (out_.back() == ' ' || out_.back() == '\t')) out_.pop_back();
            out_.append(static_cast<std::size_t>(breaks_), '\n');
        } else if (cell_) {
            out_ += '\t';
        } else if (space_) {
            out_ += ' ';
        }
        breaks_ = 0;
        space_ = false;
        cell_ = false;
    }

    std::string out_;
    int breaks_ = 0;
    bool space_ = false;
    bool cell_ = false;
};

std::string_view nameOf(const xmlNode* node) {
    return node->name ? std::string_view(reinterpret_cast<const char*>(node->name)) : std::string_view();
}

bool isCell(std::string_view name) { return name == "td" || name == "th"; }

// Parser errors after which the document no longer holds all of its text:
// the rest of the input went into something that never ended, or the parser
// gave up. The many other errors of real-world HTML (tags closed in the
// wrong order or never, stray characters) lose nothing.
bool losesText(const xmlError& error) {
    switch (error.code) {
    case XML_ERR_COMMENT_NOT_FINISHED:
    case XML_ERR_ATTRIBUTE_NOT_FINISHED:
    case XML_ERR_LITERAL_NOT_FINISHED:
    case XML_ERR_GT_REQUIRED:
    case XML_ERR_DOCTYPE_NOT_FINISHED:
    case XML_ERR_PI_NOT_FINISHED:
    case XML_ERR_INTERNAL_ERROR:
    case XML_ERR_NO_MEMORY: return true;
    default: return error.level == XML_ERR_FATAL;
    }
}

// Notes, for one parse on this thread, whether an error lost text. libxml2
// keeps its error handler per thread; the one before is put back.
class LossWatch {
public:
    LossWatch() : handler_(xmlStructuredError), context_(xmlStructuredErrorContext) {
        xmlSetStructuredErrorFunc(this, [](void* self, xmlErrorPtr error) {
            if (error && losesText(*error)) static_cast<LossWatch*>(self)->lost_ = true;
        });
    }
    ~LossWatch() { xmlSetStructuredErrorFunc(context_, handler_); }
    LossWatch(const LossWatch&) = delete;
    LossWatch& operator=(const LossWatch&) = delete;

    bool lost() const { return lost_; }

private:
    xmlStructuredErrorFunc handler_;
    void* context_;
    bool lost_ = false;
};

}  // namespace

std::optional<std::string> HTMLText::plainText(std::string_view html) {
    if (html.empty() || html.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
    static std::once_flag initialized;
    std::call_once(initialized, [] { xmlInitParser(); });
    // XML_PARSE_HUGE lifts the nesting limit (256) and the size limits of
    // the HTML parser too.
    const int options =
        HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET | XML_PARSE_HUGE;
    std::unique_ptr<htmlParserCtxt, decltype(&htmlFreeParserCtxt)> parser(htmlNewParserCtxt(), htmlFreeParserCtxt);
    if (!parser) return std::nullopt;
    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> doc(nullptr, xmlFreeDoc);
    bool lost = false;
    {
        LossWatch watch;
        doc.reset(
            htmlCtxtReadMemory(parser.get(), html.data(), static_cast<int>(html.size()), nullptr, "UTF-8", options));
        lost = watch.lost() || parser->disableSAX != 0;
    }
    if (!doc || lost) return std::nullopt;

    TextWriter writer;
    int preformatted = 0;
    const xmlNode* root = reinterpret_cast<const xmlNode*>(doc.get());
    const xmlNode* node = root->children;
    while (node) {
        bool descend = false;
        if (node->type == XML_ELEMENT_NODE) {
            const std::string_view name = nameOf(node);
            if (!isHidden(name)) {
                if (name == "br") writer.lineBreak();
                writer.block(breakAround(name));
                if (name == "pre") ++preformatted;
                descend = true;
            }
        } else if ((node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) && node->content) {
            writer.text(reinterpret_cast<const char*>(node->content), preformatted > 0);
        }
        if (descend && node->children) {
            node = node->children;
            continue;
        }
        // Leave this node and every parent it is the last child of.
        while (node && node != root) {
            if (node->type == XML_ELEMENT_NODE) {
                const std::string_view name = nameOf(node);
                if (!isHidden(name)) {
                    writer.block(breakAround(name));
                    if (isCell(name)) writer.cell();
                    if (name == "pre") --preformatted;
                }
            }
            if (node->next) {
                node = node->next;
                break;
            }
            node = node->parent;
        }
        if (node == root) break;
    }
    return writer.finish();
}

}  // namespace trc::foundation
