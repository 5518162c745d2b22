#include "simulator/ScenarioValues.h"

#include <gtest/gtest.h>

#include "platform/core/Block.h"
#include "platform/core/Json.h"

namespace trc::simulator {
namespace {

using core::Value;

class ScenarioValuesTest : public ::testing::Test {
protected:
    std::shared_ptr<Transcript> transcript = std::make_shared<Transcript>(Transcript::Options{});
    std::shared_ptr<ScenarioValues> values = std::make_shared<ScenarioValues>(transcript);

    void SetUp() override {
        values->addServer("vorn", "http://127.0.0.1:4711");
        values->addHostObject("cb", core::Json::parse(R"({"answers": ["onPress"]})"));
    }
    static Value json(const char* text) { return core::Json::parse(text, core::Json::NullAs::Nil); }
    Value resolved(const char* text) { return values->resolve(json(text)); }
    std::string mismatch(const char* expected, const std::optional<Value>& actual) {
        std::string why;
        return values->matches(json(expected), actual, why) ? "match" : why;
    }
};

TEST_F(ScenarioValuesTest, SpecialFormsBecomeHostValues) {
    EXPECT_EQ(resolved(R"("$$cb")"), Value("$cb"));
    EXPECT_EQ(resolved(R"({"$null": true})"), Value::null());
    EXPECT_EQ(resolved("null"), Value());
    EXPECT_EQ(resolved(R"({"$data": "AQID"})"), Value(core::Data{1, 2, 3}));
    EXPECT_EQ(resolved(R"({"$date": "1970-01-01T00:01:00Z"})"), Value(core::Date{60}));
    EXPECT_EQ(resolved(R"({"{{vorn}}/a": "{{vorn}}/b {{other}}"})"),
              Value(core::Dictionary{{"http://127.0.0.1:4711/a", "http://127.0.0.1:4711/b {{other}}"}}));
    EXPECT_EQ(resolved(R"(["$cb", 1, 1.0, true])").ifArray()->at(0).ifObject()->className(), "HostObject");
    EXPECT_TRUE(resolved(R"(1)").isInteger());
    EXPECT_TRUE(resolved(R"(1.0)").isDouble());
}

TEST_F(ScenarioValuesTest, MalformedSpecialFormsAndUnknownNamesAreErrors) {
    EXPECT_THROW(resolved(R"({"$date": "yesterday"})"), ScenarioError);
    EXPECT_THROW(resolved(R"({"$data": "not base64!"})"), ScenarioError);
    EXPECT_THROW(resolved(R"({"$null": 1})"), ScenarioError);
    EXPECT_THROW(resolved(R"("$nobody")"), ScenarioError);
    EXPECT_THROW(resolved(R"({"$match": "x"})"), ScenarioError);
    EXPECT_THROW(values->store("cb", 1), ScenarioError);
    EXPECT_THROW(values->addHostObject("bad", json(R"({"answers": "onPress"})")), ScenarioError);
}

TEST_F(ScenarioValuesTest, RecordingBlocksNameTheStepThatMadeThem) {
    transcript->setStep(3);
    Value resolve = resolved(R"("$resolve")");
    Value reject = resolved(R"("$reject")");
    transcript->setStep(9);
    resolve.ifObjectOf<core::Block>()->resolve(Value(core::Dictionary{{"k", 1.5}}));
    reject.ifObjectOf<core::Block>()->reject("E7", Value(), Value::null());
    auto lines = transcript->takeReceived();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(Transcript::format(lines[0]), R"({"resolve":{"k":1.5},"step":3})");
    EXPECT_EQ(Transcript::format(lines[1]), R"({"reject":{"code":"E7","error":{"$null":true}},"step":3})");
}

TEST_F(ScenarioValuesTest, MatchingIsExactByKind) {
    EXPECT_EQ(mismatch("1", Value(1)), "match");
    EXPECT_EQ(mismatch("1", Value(1.0)), "expected 1, got 1.0");
    EXPECT_EQ(mismatch("true", Value(1)), "expected true, got 1");
    EXPECT_EQ(mismatch("null", Value::null()), "expected null, got {\"$null\":true}");
    EXPECT_EQ(mismatch(R"({"$null": true})", Value::null()), "match");
    EXPECT_EQ(mismatch(R"("{{vorn}}")", Value("http://127.0.0.1:4711")), "match");
    EXPECT_EQ(mismatch(R"("$$x")", Value("$x")), "match");
    EXPECT_EQ(mismatch(R"({"$date": "1970-01-01T00:01:00Z"})", Value(core::Date{60})), "match");
}

TEST_F(ScenarioValuesTest, MatchersForFormsAndAbsence) {
    EXPECT_EQ(mismatch(R"({"$match": "[a-f0-9]{4}"})", Value("beef")), "match");
    EXPECT_EQ(mismatch(R"({"$match": "[a-f0-9]{4}"})", Value("beefy")),
              R"(expected {"$match":"[a-f0-9]{4}"}, got "beefy")");
    EXPECT_EQ(mismatch(R"({"$match": ".*"})", Value(1)), R"(expected {"$match":".*"}, got 1)");
    EXPECT_THROW(mismatch(R"({"$match": "("})", Value("x")), ScenarioError);
    EXPECT_EQ(mismatch(R"({"$any": true})", Value()), "match");
    EXPECT_EQ(mismatch(R"({"$any": true})", std::nullopt), R"(expected {"$any":true}, got nothing (absent))");
    EXPECT_EQ(mismatch(R"({"$absent": true})", std::nullopt), "match");
    EXPECT_EQ(mismatch(R"({"$object": "HostObject"})", values->named("cb")), "match");
    EXPECT_EQ(mismatch(R"("$cb")", values->named("cb")), "match");
    EXPECT_EQ(mismatch(R"("$cb")", Value("cb")), R"(expected "$cb", got "cb")");
}

TEST_F(ScenarioValuesTest, ContainersMatchMemberByMemberAndNameWhereTheyDiffer) {
    Value actual = json(R"({"a": [1, {"b": "x"}], "c": null})");
    EXPECT_EQ(mismatch(R"({"a": [1, {"b": {"$any": true}}], "c": null, "d": {"$absent": true}})", actual), "match");
    EXPECT_EQ(mismatch(R"({"a": [1, {"b": "y"}], "c": null})", actual), R"(expected "y" at a.1.b, got "x")");
    EXPECT_EQ(mismatch(R"({"a": [1], "c": null})", actual), R"(expected [1] at a, got [1,{"b":"x"}])");
    EXPECT_EQ(mismatch(R"({"a": [1, {"b": "x"}]})", actual), R"(unexpected "c" = null (expected {"a":[1,{"b":"x"}]}))");
}

}  // namespace
}  // namespace trc::simulator
