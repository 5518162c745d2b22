#include "platform/foundation/HTMLText.h"

#include <gtest/gtest.h>

namespace trc::foundation {
namespace {

TEST(HTMLText, ShowsTheTextAPersonReads) {
    struct Case {
        const char* html;
        const char* text;
    };
    const Case cases[] = {
        {"<html><body><p>Use this app <b>well</b>.</p></body></html>", "Use this app well."},
        {"<p>One</p><p>Two</p>", "One\n\nTwo"},
        {"<h1>Terms</h1>First<br>Second<br/><br>Third", "Terms\n\nFirst\nSecond\n\nThird"},
        {"<ul><li>a</li><li>b</li></ul>after", "a\nb\n\nafter"},
        {"<div>a</div><div>b</div>", "a\nb"},
        {"<p>Caf&eacute; &amp; &lt;tag&gt; &#8364;5 &#x41;</p>", "Caf\u00e9 & <tag> \u20ac5 A"},
        {"<p>  spread\n   over \t lines  </p>", "spread over lines"},
        {"<b>bold</b> <i>italic</i>", "bold italic"},
        {"<pre>  keep\n    this</pre>", "keep\n    this"},
        {"<head><title>Title</title><style>p{}</style></head><body>Shown</body>", "Shown"},
        {"<script>document.write('x')</script>Shown<style>.a{}</style>", "Shown"},
        {"Text <!-- a remark --> more", "Text more"},
        {"no markup at all", "no markup at all"},
        {"<p>unclosed <b>tags<p>recovered", "unclosed tags\n\nrecovered"},
        {"<p></p>   <br>", ""},
        {"<table><tr><th>Term</th> <td>Meaning</td></tr><tr><td>a</td><td><b>b</b> c</td></tr></table>after",
         "Term\tMeaning\na\tb c\n\nafter"},
        {"<table><tr><td><p>block</p></td><td>next</td></tr></table>", "block\n\nnext"},
        {"<p>a</b></i><font>b</p><p>c</td></tr>d", "ab\n\ncd"},
    };
    for (const Case& c : cases) EXPECT_EQ(HTMLText::plainText(c.html), std::optional<std::string>(c.text)) << c.html;
}

TEST(HTMLText, TagsNeverClosedNestAsDeepAsTheDocumentGoes) {
    auto clauses = [](int count) {
        std::string html;
        for (int i = 1; i <= count; ++i) html += "<p><font>Clause " + std::to_string(i) + ".";
        return html;
    };
    const std::optional<std::string> text = HTMLText::plainText(clauses(300));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->substr(0, 20), "Clause 1.\n\nClause 2.");
    EXPECT_EQ(text->substr(text->size() - 24), "Clause 299.\n\nClause 300.");
    std::string deep;
    for (int i = 0; i < 100000; ++i) deep += "<span>";
    EXPECT_EQ(HTMLText::plainText(deep + "bottom"), std::optional<std::string>("bottom"));
    EXPECT_EQ(HTMLText::plainText(""), std::nullopt);
}

TEST(HTMLText, ADocumentThatLosesTextToAParserErrorHasNone) {
    // Each of these swallows the clause after it; showing the rest would
    // look like the whole agreement.
    for (const char* html : {"<p>One</p><!-- a remark never closed <p>Two</p>", "<p>One <b class=\"x>Two</b></p>",
                             "<p>One</p><!DOCTYPE html <p>Two</p>", "<p>One <b"}) {
        EXPECT_EQ(HTMLText::plainText(html), std::nullopt) << html;
    }
    // The next document on the same thread is read as usual.
    EXPECT_EQ(HTMLText::plainText("<p>One</p><p>Two</p>"), std::optional<std::string>("One\n\nTwo"));
}

}  // namespace
}  // namespace trc::foundation
