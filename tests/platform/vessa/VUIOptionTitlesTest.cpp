#include <gtest/gtest.h>

#include "platform/vessa/VUIOptionTitles.h"

using namespace trc;
using vessa::VUIOptionTitles;

namespace {

using Titles = std::vector<std::string>;

TEST(VUIOptionTitles, TakesAHostListOfTextsAndKeepsItAsGivenWhenTheHostChangesItLater) {
    core::Value host(core::Array{"Red", "Green"});
    VUIOptionTitles titles;
    ASSERT_TRUE(titles.share(host));
    EXPECT_EQ(titles, (Titles{"Red", "Green"}));

    host.mutableArray()[0] = core::Value("Blue");
    host.mutableArray().emplace_back("Cyan");
    EXPECT_EQ(titles, (Titles{"Red", "Green"})) << "the host's change is its own";
    EXPECT_EQ(titles.value(), core::Value(core::Array{"Red", "Green"}));

    host = core::Value();
    EXPECT_EQ(titles[1], "Green") << "the titles outlive the host's list";
}

TEST(VUIOptionTitles, AnythingButAListOfTextsIsRefusedAndChangesNothing) {
    VUIOptionTitles titles;
    titles = Titles{"left", "over"};
    for (const core::Value& list : {core::Value(), core::Value::null(), core::Value("Red"),
                                    core::Value(core::Array{"Red", 7}), core::Value(core::Array{core::Value()})}) {
        EXPECT_FALSE(titles.share(list));
        EXPECT_EQ(titles, (Titles{"left", "over"}));
    }
    titles = Titles{"left"};
    EXPECT_TRUE(titles.share(core::Value(core::Array())));
    EXPECT_TRUE(titles.empty());
    EXPECT_EQ(titles.value(), core::Value(core::Array())) << "a host reads an empty list, not nil";
}

TEST(VUIOptionTitles, OwnTitlesCompareByText) {
    VUIOptionTitles titles;
    titles = {"a", "b"};
    EXPECT_EQ(titles.size(), 2U);
    EXPECT_EQ(titles, (Titles{"a", "b"}));
    EXPECT_FALSE(titles == (Titles{"a"}));
    EXPECT_FALSE(titles == (Titles{"a", "c"}));
    titles.clear();
    EXPECT_EQ(titles, Titles{});
}

}  // namespace
