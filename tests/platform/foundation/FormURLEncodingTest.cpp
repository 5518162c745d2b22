#include "platform/foundation/FormURLEncoding.h"

#include <gtest/gtest.h>

namespace trc::foundation {
namespace {

TEST(FormURLEncoding, WritesSpacesAsPlusAndReadsThemBack) {
    EXPECT_EQ(FormURLEncoding::encode("a b+c/d=e&f~g*h.-_é"), "a+b%2Bc%2Fd%3De%26f~g%2Ah.-_%C3%A9");
    EXPECT_EQ(FormURLEncoding::encode("100% 20"), "100%25+20");
    const FormURLEncoding::Pairs pairs{{"redirect_uri", "app://cb?x=1&y=2"}, {"note", "a + b"}, {"", "="}};
    EXPECT_EQ(FormURLEncoding::read(FormURLEncoding::write(pairs)), pairs);
}

TEST(FormURLEncoding, ReadsPairsInOrderAndRefusesBrokenEscapes) {
    using P = FormURLEncoding::Pairs;
    struct Row {
        const char* text;
        std::optional<P> expected;
    };
    const Row rows[] = {
        {"", P{}},
        {"a=1&&b=2&", P{{"a", "1"}, {"b", "2"}}},
        {"flag&a=1=2", P{{"flag", ""}, {"a", "1=2"}}},
        {"a=1&a=2", P{{"a", "1"}, {"a", "2"}}},
        {"a=%41+%2b", P{{"a", "A +"}}},
        {"a=%4", std::nullopt},
        {"a=%zz", std::nullopt},
        {"%C3%28=1", std::nullopt},
    };
    for (const Row& row : rows) EXPECT_EQ(FormURLEncoding::read(row.text), row.expected) << row.text;
    EXPECT_EQ(FormURLEncoding::value(P{{"a", "1"}, {"a", "2"}}, "a"), "1");
    EXPECT_EQ(FormURLEncoding::value(P{{"a", "1"}}, "b"), std::nullopt);
}

}  // namespace
}  // namespace trc::foundation
