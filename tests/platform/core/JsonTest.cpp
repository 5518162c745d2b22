#include <gtest/gtest.h>

#include <cmath>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/core/ClassInfo.h"
#include "platform/core/Json.h"

using namespace trc::core;
namespace fs = std::filesystem;

namespace {

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

const fs::path kSuite = fs::path(TRC_TESTDATA_DIR) / "json-test-suite" / "test_parsing";

// Runs every file of the suite whose name starts with prefix through check;
// returns how many there were.
template <class Check>
int forEachSuiteFile(char prefix, Check check) {
    int n = 0;
    for (const auto& entry : fs::directory_iterator(kSuite)) {
        const std::string name = entry.path().filename().string();
        if (name.empty() || name[0] != prefix) continue;
        ++n;
        SCOPED_TRACE(name);
        check(name, readFile(entry.path()));
    }
    return n;
}

}  // namespace

// The public JSON test suite: what must parse parses (and reads back the same
// after writing), what must not throws JsonError, and the rest never crashes.
TEST(JsonSuite, AcceptsEveryValidDocumentAndWritesItBack) {
    ASSERT_TRUE(fs::is_directory(kSuite)) << kSuite;
    int n = forEachSuiteFile('y', [](const std::string&, const std::string& text) {
        Value v;
        ASSERT_NO_THROW(v = Json::parse(text));
        EXPECT_EQ(Json::parse(Json::write(v)), v);
    });
    EXPECT_GT(n, 90);
}

TEST(JsonSuite, RefusesEveryInvalidDocument) {
    ASSERT_TRUE(fs::is_directory(kSuite)) << kSuite;
    int n = forEachSuiteFile(
        'n', [](const std::string&, const std::string& text) { EXPECT_THROW(Json::parse(text), JsonError); });
    EXPECT_GT(n, 150);
}

TEST(JsonSuite, ImplementationDefinedDocumentsParseOrThrowCleanly) {
    ASSERT_TRUE(fs::is_directory(kSuite)) << kSuite;
    forEachSuiteFile('i', [](const std::string&, const std::string& text) {
        try {
            Value v = Json::parse(text);
            EXPECT_EQ(Json::parse(Json::write(v)), v);
        } catch (const JsonError& e) {
            EXPECT_NE(std::string(e.what()), "");
        }
    });
}

TEST(JsonReading, NumbersKeepTheirKind) {
    EXPECT_EQ(Json::parse("5"), Value(5));
    EXPECT_EQ(Json::parse("5.0"), Value(5.0));
    EXPECT_EQ(Json::parse("5e0"), Value(5.0));
    EXPECT_EQ(Json::parse("-9223372036854775808"), Value(std::int64_t{INT64_MIN}));
    EXPECT_EQ(Json::parse("9223372036854775807"), Value(std::int64_t{INT64_MAX}));
    EXPECT_TRUE(Json::parse("9223372036854775808").isDouble());
    EXPECT_TRUE(Json::parse("true").isBool());
    EXPECT_FALSE(Json::parse("1").isBool());
}

TEST(JsonReading, NullReadsAsAsked) {
    EXPECT_TRUE(Json::parse("null").isNull());
    EXPECT_TRUE(Json::parse("null", Json::NullAs::Nil).isNil());
    Value d = Json::parse(R"({"k": null})", Json::NullAs::Nil);
    ASSERT_NE(d.find("k"), nullptr);
    EXPECT_TRUE(d.find("k")->isNil());
}

TEST(JsonReading, LastDuplicateKeyWins) { EXPECT_EQ(Json::parse(R"({"a":1,"a":2})").find("a")->description(), "2"); }

TEST(JsonReading, ErrorsSayWhere) {
    try {
        Json::parse(R"({"a": tru})");
        FAIL() << "no error";
    } catch (const JsonError& e) {
        EXPECT_NE(std::string(e.what()).find("byte"), std::string::npos) << e.what();
    }
    EXPECT_THROW(Json::parse(""), JsonError);
    EXPECT_THROW(Json::parse("{} {}"), JsonError);
}

TEST(JsonReading, NulByteDoesNotEndTheText) {
    EXPECT_THROW(Json::parse(std::string("123\0", 4)), JsonError);
    EXPECT_THROW(Json::parse(std::string("{\"a\":1}\0trailing", 16)), JsonError);
}

TEST(JsonReading, NestingIsBounded) {
    std::string ok(Json::kMaxDepth, '[');
    ok += std::string(Json::kMaxDepth, ']');
    EXPECT_NO_THROW(Json::parse(ok));
    std::string deep(Json::kMaxDepth + 1, '[');
    deep += std::string(Json::kMaxDepth + 1, ']');
    EXPECT_THROW(Json::parse(deep), JsonError);
    EXPECT_THROW(Json::parse(std::string(100000, '[')), JsonError);
}

class Named : public Object {
    TRC_OBJECT(Named)
};
const ClassInfo& Named::classInfo() {
    static const ClassInfo& info = ClassBuilder<Named>("JsonTestNamed", Object::classInfo()).build();
    return info;
}

Value everyKind() {
    return Value(Dictionary{
        {"nil", Value()},
        {"null", Value::null()},
        {"bool", true},
        {"int", -3},
        {"double", 600.0},
        {"small", 1e-7},
        {"string", "tab\tquote\"slash\\ü"},
        {"date", Date{1769853600.25}},
        {"data", Data{0, 1, 254, 255}},
        {"array", Array{1, 1.5, "x", Array{}}},
        {"dict", Dictionary{{"inner", false}}},
    });
}

TEST(JsonWriting, TaggedStyleReadsBackAsEveryKind) {
    const Value v = everyKind();
    const std::string text = Json::write(v, Json::Style::Tagged);
    EXPECT_NE(text.find(R"("null":{"$null":true})"), std::string::npos) << text;
    EXPECT_NE(text.find(R"("date":{"$date":"2026-01-31T10:00:00.250Z"})"), std::string::npos) << text;
    EXPECT_NE(text.find(R"("data":{"$data":"AAH+/w=="})"), std::string::npos) << text;
    EXPECT_NE(text.find(R"("double":600.0)"), std::string::npos) << text;
    EXPECT_EQ(Json::parse(text, Json::NullAs::Nil, Json::Style::Tagged), v);
}

TEST(JsonWriting, ObjectsAreWrittenByClassName) {
    Value v(Array{std::make_shared<Named>()});
    EXPECT_EQ(Json::write(v, Json::Style::Tagged), R"([{"$object":"JsonTestNamed"}])");
    EXPECT_EQ(Json::write(v), "[null]");
    // No object can be made back from a name: it stays a dictionary.
    EXPECT_TRUE(Json::parse(R"({"$object":"JsonTestNamed"})", Json::NullAs::Nil, Json::Style::Tagged).isDictionary());
}

TEST(JsonWriting, PlainStyleWritesTextForDatesAndData) {
    Value v(Dictionary{{"d", Date{0}}, {"b", Data{1}}, {"n", Value::null()}, {"x", Value()}});
    EXPECT_EQ(Json::write(v), R"({"b":"AQ==","d":"1970-01-01T00:00:00Z","n":null,"x":null})");
    // Plain reading leaves tagged forms alone.
    EXPECT_TRUE(Json::parse(R"({"$null":true})").isDictionary());
}

TEST(JsonWriting, BadTaggedContentIsRefused) {
    const auto tagged = [](const char* text) { return Json::parse(text, Json::NullAs::Nil, Json::Style::Tagged); };
    EXPECT_THROW(tagged(R"({"$date":"yesterday"})"), JsonError);
    EXPECT_THROW(tagged(R"({"$data":"***"})"), JsonError);
    EXPECT_THROW(tagged(R"({"$null":1})"), JsonError);
    // Two keys: not a tag, a plain dictionary.
    EXPECT_TRUE(tagged(R"({"$date":"x","other":1})").isDictionary());
}

TEST(JsonWriting, DoublesAlwaysReadBackAsDoubles) {
    for (double d : {0.0, -0.0, 1.0, 1e21, 1e-300, 123456789.0, 0.1}) {
        SCOPED_TRACE(d);
        Value back = Json::parse(Json::write(Value(d)));
        EXPECT_TRUE(back.isDouble());
        EXPECT_EQ(back, Value(d));
    }
    EXPECT_EQ(Json::formatDouble(std::nan("")), "null");
}

TEST(JsonWriting, ControlCharactersAreEscaped) {
    EXPECT_EQ(Json::write(Value(std::string("a\x01\n", 3))), R"("a\u0001\n")");
}

TEST(JsonWriting, InvalidUtf8IsReplacedSoOutputStaysJson) {
    const std::string bad = "ok\xff\xc0\x80\xed\xa0\x80\xe2\x82";  // stray, overlong, surrogate, cut off
    const std::string text = Json::write(Value(bad));
    Value back;
    ASSERT_NO_THROW(back = Json::parse(text)) << text;
    std::string expected = "ok";
    for (int i = 0; i < 8; ++i) expected += "\xEF\xBF\xBD";  // one U+FFFD per bad byte
    EXPECT_EQ(*back.ifString(), expected);
    // Valid multi-byte text passes through untouched.
    EXPECT_EQ(Json::write(Value("€𝄞")), "\"€𝄞\"");
}
