#include "platform/core/TaggedJson.h"

#include <gtest/gtest.h>

namespace trc::core {
namespace {

TEST(TaggedJson, ReadsBackWhatTheTaggedStyleWrites) {
    Value v = Dictionary{
        {"d", Date{86400.25}}, {"b", Data{9}}, {"n", Value::null()}, {"nil", Value()}, {"x", Array{1, 2.0, "$date"}}};
    EXPECT_EQ(TaggedJson::read(Json::write(v, Json::Style::Tagged)), v);
}

TEST(TaggedJson, MalformedTagContentIsAnErrorAndOtherDollarKeysStayDictionaries) {
    EXPECT_THROW(TaggedJson::read(R"({"$date": 5})"), JsonError);
    EXPECT_THROW(TaggedJson::read(R"([{"$data": "%%%"}])"), JsonError);
    EXPECT_THROW(TaggedJson::read(R"({"$null": false})"), JsonError);
    EXPECT_EQ(TaggedJson::read(R"({"$object": "X"})"), Value(Dictionary{{"$object", "X"}}));
    EXPECT_EQ(TaggedJson::read(R"({"$date": "2026-01-31T10:00:00Z", "other": 1})").kind(), Value::Kind::Dictionary);
}

}  // namespace
}  // namespace trc::core
