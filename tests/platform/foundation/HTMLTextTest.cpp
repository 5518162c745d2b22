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
    };
    for (const Case& c : cases) EXPECT_EQ(HTMLText::plainText(c.html), std::optional<std::string>(c.text)) << c.html;
}

TEST(HTMLText, DeepNestingEndsWithoutHarm) {
    auto nested = [](int depth) {
        std::string html;
        for (int i = 0; i < depth; ++i) html += "<span>";
        return html + "bottom";
    };
    EXPECT_EQ(HTMLText::plainText(nested(200)), std::optional<std::string>("bottom"));
    // The parser's own depth limit cuts an absurd document short; nothing breaks.
    EXPECT_TRUE(HTMLText::plainText(nested(100000)));
    EXPECT_EQ(HTMLText::plainText(""), std::nullopt);
}

}  // namespace
}  // namespace trc::foundation
