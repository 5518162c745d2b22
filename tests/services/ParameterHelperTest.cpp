#include <gtest/gtest.h>

#include <cmath>

#include "platform/core/Json.h"
#include "services/ParameterHelper.h"

using namespace trc;
using core::Value;
using services::ParameterHelper;

namespace {

// One parameter dictionary holding every kind under its own key, and a
// "validationProperties" sub-dictionary with fall-back values.
core::Dictionary params() {
    core::Array dicts{core::Dictionary{{"a", 1}}, core::Dictionary{}};
    return core::Dictionary{
        {"bool", true},
        {"int", 7},
        {"double", 2.5},
        {"wholeDouble", 3.0},
        {"hugeDouble", 1e20},
        {"string", "text"},
        {"numberText", "5"},
        {"date", core::Date{1769853600}},
        {"dateText", "2026-01-31T10:00:00Z"},
        {"array", core::Array{1, "x"}},
        {"ints", core::Array{1, 2.0, -3}},
        {"mixedInts", core::Array{1, 2.5}},
        {"boolInts", core::Array{1, true}},
        {"strings", core::Array{"a", "b"}},
        {"mixedStrings", core::Array{"a", 1}},
        {"dicts", dicts},
        {"mixedDicts", core::Array{core::Dictionary{}, "x"}},
        {"emptyList", core::Array{}},
        {"dict", core::Dictionary{{"Background", "bg"}}},
        {"null", Value::null()},
        {"nil", Value()},
        {"onlyInValidation", 1},
        {ParameterHelper::kValidationProperties.data(), core::Dictionary{{"vpBool", false},
                                                                         {"bool", false},
                                                                         {"onlyInValidation", true},
                                                                         {"vpString", "message"},
                                                                         {"vpNumber", 5},
                                                                         {"null", "fallback"},
                                                                         {"nil", "fallback"},
                                                                         {"int", 99},
                                                                         {"color", "#FF0000"},
                                                                         {"badColor", "red"},
                                                                         {"numberColor", 255}}},
        {"color", "#00FF00"},
    };
}

// The result of a getter as a short text: "-" for nothing.
template <class T>
std::string show(const std::optional<T>& v) {
    if (!v) return "-";
    if constexpr (std::is_same_v<T, bool>) {
        return *v ? "true" : "false";
    } else if constexpr (std::is_same_v<T, std::string>) {
        return *v;
    } else if constexpr (std::is_arithmetic_v<T>) {
        return Value(*v).description();
    } else if constexpr (std::is_same_v<T, core::Date>) {
        return Value(*v).description();
    } else if constexpr (std::is_same_v<T, ui::UIColor>) {
        return v->hexString();
    } else if constexpr (std::is_same_v<T, core::Array> || std::is_same_v<T, core::Dictionary>) {
        return core::Json::write(Value(*v));
    } else {
        std::string out = "[";
        for (const auto& e : *v) {
            if (out.size() > 1) out += ',';
            if constexpr (std::is_same_v<typename T::value_type, std::string>) {
                core::Json::writeString(e, out);
            } else {
                out += core::Json::write(Value(e));
            }
        }
        return out + "]";
    }
}

struct Row {
    const char* key;
    const char* expected;
};

template <class Getter>
void expectRows(Getter getter, std::initializer_list<Row> rows) {
    const core::Dictionary p = params();
    for (const Row& r : rows) EXPECT_EQ(show(getter(p, r.key)), r.expected) << "key " << r.key;
}

}  // namespace

TEST(ParameterHelperTypes, BoolIsABooleanAtTheTopElseInValidationProperties) {
    expectRows(ParameterHelper::getParameterAsBool, {
                                                        {"bool", "true"},  // top level wins
                                                        {"vpBool", "false"},
                                                        {"onlyInValidation", "true"},  // top holds a number
                                                        {"int", "-"},  // numbers are no booleans, either level
                                                        {"string", "-"},
                                                        {"null", "-"},
                                                        {"absent", "-"},
                                                    });
}

TEST(ParameterHelperTypes, StringIsAnyTopLevelValueAsTextElseAValidationString) {
    expectRows(ParameterHelper::getParameterAsString, {
                                                          {"string", "text"},
                                                          {"int", "7"},
                                                          {"double", "2.5"},
                                                          {"wholeDouble", "3"},
                                                          {"bool", "true"},
                                                          {"date", "2026-01-31T10:00:00Z"},
                                                          {"array", R"([1,"x"])"},
                                                          {"vpString", "message"},
                                                          {"vpNumber", "-"},     // only strings from there
                                                          {"null", "fallback"},  // never "<null>"
                                                          {"nil", "fallback"},
                                                          {"absent", "-"},
                                                      });
}

TEST(ParameterHelperTypes, NumbersConvertBetweenIntegerAndDoubleButNotFromOtherKinds) {
    expectRows(ParameterHelper::getParameterAsInt, {
                                                       {"int", "7"},
                                                       {"wholeDouble", "3"},
                                                       {"double", "-"},      // has a fraction
                                                       {"hugeDouble", "-"},  // beyond the integer range
                                                       {"bool", "-"},
                                                       {"numberText", "-"},
                                                       {"vpNumber", "-"},  // top level only
                                                       {"null", "-"},
                                                   });
    expectRows(ParameterHelper::getParameterAsDouble, {
                                                          {"double", "2.5"},
                                                          {"int", "7"},
                                                          {"bool", "-"},
                                                          {"numberText", "-"},
                                                          {"vpNumber", "-"},
                                                      });
}

TEST(ParameterHelperTypes, ListsNeedEveryElementOfTheKind) {
    expectRows(ParameterHelper::getParameterAsArray, {{"array", R"([1,"x"])"}, {"emptyList", "[]"}, {"dict", "-"}});
    expectRows(ParameterHelper::getParameterAsIntArray, {
                                                            {"ints", "[1,2,-3]"},
                                                            {"mixedInts", "-"},
                                                            {"boolInts", "-"},
                                                            {"emptyList", "[]"},
                                                            {"int", "-"},
                                                        });
    expectRows(ParameterHelper::getParameterAsStringArray,
               {{"strings", R"(["a","b"])"}, {"mixedStrings", "-"}, {"string", "-"}});
    expectRows(ParameterHelper::getParameterAsNSDictionaryArray,
               {{"dicts", R"([{"a":1},{}])"}, {"mixedDicts", "-"}, {"dict", "-"}});
}

TEST(ParameterHelperTypes, DictionaryIsTopLevelOnly) {
    expectRows(ParameterHelper::getParameterAsDictionary,
               {{"dict", R"({"Background":"bg"})"}, {"array", "-"}, {"null", "-"}, {"vpBool", "-"}});
}

TEST(ParameterHelperTypes, ColorIsAHexStringInValidationPropertiesOnly) {
    expectRows(ParameterHelper::getParameterAsColor, {
                                                         {"color", "#FF0000"},  // not the top-level green
                                                         {"badColor", "-"},
                                                         {"numberColor", "-"},
                                                         {"string", "-"},
                                                         {"absent", "-"},
                                                     });
}

TEST(ParameterHelperTypes, NoValidationPropertiesOrOneOfAnotherKindIsNoFallback) {
    core::Dictionary p{{ParameterHelper::kValidationProperties.data(), "not a dictionary"}};
    EXPECT_FALSE(ParameterHelper::getParameterAsBool(p, "x"));
    EXPECT_FALSE(ParameterHelper::getParameterAsString(p, "x"));
    EXPECT_FALSE(ParameterHelper::getParameterAsColor(p, "x"));
    EXPECT_FALSE(ParameterHelper::getParameterAsBool(core::Dictionary{}, "x"));
}

TEST(ParameterHelperDates, DateValueOrIsoTextWithOrWithoutFraction) {
    expectRows(ParameterHelper::getParameterAsDate, {
                                                        {"date", "2026-01-31T10:00:00Z"},
                                                        {"dateText", "2026-01-31T10:00:00Z"},
                                                        {"int", "-"},
                                                        {"string", "-"},
                                                    });
    const struct {
        const char* text;
        const char* expected;
    } texts[] = {
        {"2026-01-31T10:00:00.250Z", "2026-01-31T10:00:00.250Z"},
        {"2026-01-31T12:00:00.000+02:00", "2026-01-31T10:00:00Z"},
        {"2026-01-31T05:30:00.000-04:30", "2026-01-31T10:00:00Z"},
        {"2026-01-31T10:00:00Z", "2026-01-31T10:00:00Z"},
        {"2024-02-29T23:59:59Z", "2024-02-29T23:59:59Z"},
        {"2026-01-31T10:00:00+02:00", "-"},  // an offset needs the fraction pattern
        {"2026-01-31", "-"},
        {"2026-01-31T10:00:00", "2026-01-31T10:00:00Z"},  // the formatter lets a last literal go
        {"2026-01-31T10:00:00Zjunk", "-"},
        {"2026-02-30T10:00:00Z", "-"},  // strict: no rolling into March
        {"2026-01-31T25:00:00Z", "-"},
        {"", "-"},
    };
    for (const auto& t : texts) EXPECT_EQ(show(ParameterHelper::parseDate(t.text)), t.expected) << t.text;
}

TEST(ParameterHelperDates, ExactIntegerRules) {
    EXPECT_EQ(ParameterHelper::exactInteger(Value(-0.0)), 0);
    EXPECT_FALSE(ParameterHelper::exactInteger(Value(std::nan(""))));
    EXPECT_FALSE(ParameterHelper::exactInteger(Value(INFINITY)));
    EXPECT_EQ(ParameterHelper::exactInteger(Value(-9.2233720368547758e18)), INT64_MIN);
}
