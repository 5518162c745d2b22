#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/core/ClassInfo.h"
#include "platform/core/Json.h"
#include "platform/core/Object.h"
#include "platform/core/Value.h"

using namespace trc::core;

// Kinds are kept apart: the host relies on a bool never reading as a number
// and an integer never comparing equal to a double.
TEST(ValueKinds, BoolIsNeverANumber) {
    EXPECT_NE(Value(true), Value(1));
    EXPECT_NE(Value(false), Value(0));
    EXPECT_FALSE(Value(true).asInteger().has_value());
    EXPECT_FALSE(Value(true).asDouble().has_value());
    EXPECT_FALSE(Value(1).isBool());
    EXPECT_EQ(Value(true).ifInteger(), nullptr);
}

TEST(ValueKinds, IntegerAndDoubleDifferButConvert) {
    EXPECT_NE(Value(1), Value(1.0));
    EXPECT_EQ(Value(7).asDouble(), 7.0);
    EXPECT_EQ(Value(7.9).asInteger(), 7);
    EXPECT_EQ(Value(-7.9).asInteger(), -7);
    EXPECT_FALSE(Value(1e300).asInteger().has_value());
    EXPECT_FALSE(Value(std::nan("")).asInteger().has_value());
    EXPECT_FALSE(Value("5").asInteger().has_value());
}

TEST(ValueKinds, NilAndNullObjectDiffer) {
    EXPECT_TRUE(Value().isNil());
    EXPECT_TRUE(Value::null().isNull());
    EXPECT_NE(Value(), Value::null());
    EXPECT_TRUE(Value().isNothing());
    EXPECT_TRUE(Value::null().isNothing());
    EXPECT_TRUE(Value(std::shared_ptr<Object>()).isNil());
    EXPECT_TRUE(Value(static_cast<const char*>(nullptr)).isNil());
}

TEST(ValueKinds, NaNDoublesCompareEqualSoValuesCanBeFound) { EXPECT_EQ(Value(std::nan("")), Value(std::nan(""))); }

TEST(ValueKinds, ObjectsCompareByIdentity) {
    auto a = std::make_shared<Object>();
    auto b = std::make_shared<Object>();
    EXPECT_EQ(Value(a), Value(a));
    EXPECT_NE(Value(a), Value(b));
    EXPECT_EQ(Value(a).ifObject(), a);
}

TEST(DictionaryKeys, AbsentDiffersFromKeyHoldingNothing) {
    Dictionary d{{"nil", Value()}, {"null", Value::null()}};
    EXPECT_EQ(d.find("absent"), nullptr);
    ASSERT_NE(d.find("nil"), nullptr);
    EXPECT_TRUE(d.find("nil")->isNil());
    ASSERT_NE(d.find("null"), nullptr);
    EXPECT_TRUE(d.find("null")->isNull());
    EXPECT_TRUE(d.get("absent").isNil());
    EXPECT_TRUE(d.contains("nil"));
    EXPECT_FALSE(d.contains("absent"));
    EXPECT_TRUE(d.erase("nil"));
    EXPECT_FALSE(d.erase("nil"));
}

TEST(DictionaryKeys, MergeLetsTheOtherWin) {
    Dictionary a{{"k", 1}, {"a", 1}};
    a.merge(Dictionary{{"k", 2}, {"b", 2}});
    EXPECT_EQ(Json::write(Value(a)), R"({"a":1,"b":2,"k":2})");
}

TEST(DictionaryKeys, KeysIterateInByteOrderHoweverTheyCame) {
    Dictionary d;
    for (const char* key : {"b", "_Type", "a", "B", "\xC3\xA9", "", "ab", "a"}) d.set(key, std::string(key) + "!");
    d["Z"] = 26;
    d.erase("ab");
    std::string keys;
    for (const auto& [k, v] : d) keys += "[" + k + "]";
    EXPECT_EQ(keys, "[][B][Z][_Type][a][b][\xC3\xA9]");
    EXPECT_EQ(d.size(), 7u);
    EXPECT_EQ(*d.find("a"), Value("a!"));

    Dictionary first{{"k", 1}, {"j", 0}, {"k", 2}};
    EXPECT_EQ(Json::write(Value(first)), R"({"j":0,"k":1})") << "in a list of entries the first of a key counts";
    Dictionary big;
    for (int i = 99; i >= 0; --i) big.set("key" + std::to_string(i), i);
    Dictionary other{{"key5", "five"}, {"zz", true}};
    big.merge(other);
    big.merge(big);
    EXPECT_EQ(big.size(), 101u);
    EXPECT_EQ(*big.find("key5"), Value("five"));
    EXPECT_EQ(big.begin()->first, "key0");
    EXPECT_EQ((--big.end())->first, "zz");
    EXPECT_EQ(big, Json::parse(Json::write(Value(big))).ifDictionary()
                       ? *Json::parse(Json::write(Value(big))).ifDictionary()
                       : Dictionary());
}

// A look-up answers from a bit per key before it reads an entry: every road
// that adds a key must leave it findable, and one that removes a key must not
// hide the keys sharing its bit.
TEST(DictionaryKeys, EveryRoadThatAddsAKeyLeavesItFindable) {
    std::vector<std::string> keys = {"", "a", "Value", "ValidationMessage", "validationProperties", "_Type"};
    for (int i = 0; i < 200; ++i)
        keys.push_back("k" + std::to_string(i) + std::string(static_cast<std::size_t>(i % 7), 'x'));
    const auto allFound = [&](const Dictionary& d, std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            if (!d.find(keys[i])) return ::testing::AssertionFailure() << "\"" << keys[i] << "\" not found";
        }
        return ::testing::AssertionSuccess();
    };
    Dictionary set, bracket, merged, mergedIntoEmpty;
    std::vector<Dictionary::Entry> entries;
    for (const auto& k : keys) {
        set.set(k, 1);
        bracket[k] = 1;
        merged.merge(Dictionary{{k, 1}});
        entries.emplace_back(k, 1);
    }
    mergedIntoEmpty.merge(set);
    Dictionary fromEntries = Dictionary::fromEntries(entries);
    for (const Dictionary* d : {&set, &bracket, &merged, &mergedIntoEmpty, &fromEntries}) {
        EXPECT_TRUE(allFound(*d, 0, keys.size()));
    }
    // Removing every other key keeps the rest, whichever bit they share.
    Dictionary erased = set;
    for (std::size_t i = 0; i < keys.size(); i += 2) erased.erase(keys[i]);
    for (std::size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(erased.find(keys[i]) != nullptr, i % 2 == 1) << keys[i];
    }
    // Copies and moves keep what they hold findable.
    Dictionary copied = erased;
    Dictionary moved = std::move(copied);
    EXPECT_TRUE(moved.find("k1x") != nullptr);
    EXPECT_EQ(moved, erased);
}

// Keys are compared a word at a time: keys of one length that differ in a
// single byte, wherever it is, must each find their own value, in a short
// dictionary (scanned) and in a long one (searched).
TEST(DictionaryKeys, KeysOfOneLengthDifferingInOneByteFindTheirOwnValue) {
    for (std::size_t length = 1; length <= 40; ++length) {
        const std::string base(length, 'k');
        Dictionary shortOne{{base, -1}};
        Dictionary longOne{{base, -1}};
        for (std::size_t at = 0; at < length; ++at) {
            std::string other = base;
            other[at] = 'K';
            if (at < 10) shortOne.set(other, static_cast<int>(at));
            longOne.set(other, static_cast<int>(at));
        }
        for (const Dictionary* d : {&shortOne, &longOne}) {
            for (const auto& [key, value] : *d) {
                const Value* found = d->find(key);
                ASSERT_NE(found, nullptr) << key;
                EXPECT_EQ(found->asInteger(), value.asInteger()) << key;
            }
            EXPECT_EQ(d->find(std::string(length, 'x')), nullptr) << length;
        }
    }
}

// Copies share storage until one side writes; the other never sees the write.
TEST(CopyOnWrite, DictionaryCopyKeepsItsContent) {
    Value original(Dictionary{{"k", "v"}});
    Value copy = original;
    EXPECT_EQ(original.ifDictionary(), copy.ifDictionary());  // shared until a write
    original.mutableDictionary().set("k", "changed");
    original.mutableDictionary().set("new", 1);
    EXPECT_EQ(copy.find("k")->description(), "v");
    EXPECT_EQ(copy.find("new"), nullptr);
    EXPECT_EQ(original.find("k")->description(), "changed");
}

TEST(CopyOnWrite, NestedWriteDetachesEveryLevel) {
    Value original(Dictionary{{"inner", Dictionary{{"x", 1}}}, {"list", Array{1, 2}}});
    Value copy = original;
    original.mutableDictionary()["inner"].mutableDictionary().set("x", 2);
    original.mutableDictionary()["list"].mutableArray().push_back(3);
    EXPECT_EQ(Json::write(copy), R"({"inner":{"x":1},"list":[1,2]})");
    EXPECT_EQ(Json::write(original), R"({"inner":{"x":2},"list":[1,2,3]})");
}

TEST(CopyOnWrite, ArrayAndWriteWithoutSharingDoesNotCopy) {
    Value a(Array{1});
    const Array* before = a.ifArray();
    a.mutableArray().push_back(2);
    EXPECT_EQ(a.ifArray(), before);
    Value b = a;
    b.mutableArray().clear();
    EXPECT_EQ(a.ifArray()->size(), 2u);
}

TEST(CopyOnWrite, MutatingANonContainerMakesAnEmptyOne) {
    Value v(5);
    v.mutableDictionary().set("k", 1);
    EXPECT_TRUE(v.isDictionary());
    EXPECT_EQ(v.ifDictionary()->size(), 1u);
}

class Labelled : public Object {
    TRC_OBJECT(Labelled)
};
const ClassInfo& Labelled::classInfo() {
    static const ClassInfo& info = ClassBuilder<Labelled>("ValueTestLabelled", Object::classInfo()).build();
    return info;
}

TEST(ValueDescription, ReadsAsALabelWouldShowIt) {
    EXPECT_EQ(Value().description(), "nil");
    EXPECT_EQ(Value::null().description(), "<null>");
    EXPECT_EQ(Value(true).description(), "true");
    EXPECT_EQ(Value(-42).description(), "-42");
    EXPECT_EQ(Value(2.5).description(), "2.5");
    EXPECT_EQ(Value(5.0).description(), "5");
    EXPECT_EQ(Value("text").description(), "text");
    EXPECT_EQ(Value(Date{0}).description(), "1970-01-01T00:00:00Z");
    EXPECT_EQ(Value(Data{0x01, 0x02}).description(), "\"AQI=\"");
    EXPECT_EQ(Value(Array{1, "a"}).description(), R"([1,"a"])");
    EXPECT_EQ(Value(Dictionary{{"b", 1}, {"a", Value::null()}}).description(), R"({"a":null,"b":1})");
    EXPECT_EQ(Value(std::make_shared<Labelled>()).description(), "<ValueTestLabelled>");
}
