#pragma once
// A host value: what crosses the boundary between the host runtime and the
// library, and what parameter dictionaries are made of.
//
// Kinds are kept apart on purpose: a boolean is never a number, an integer is
// never a double, and "no value" (nil) is not the null object (NSNull-like).
// Arrays and dictionaries are copied on write, so handing a parameter
// dictionary around is cheap; mutate through mutableArray()/mutableDictionary().
//
// Values are plain data and are touched on one thread at a time.

#include <compare>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace trc::core {

class Object;
class Value;
class Dictionary;

using Array = std::vector<Value>;
using Data = std::vector<std::uint8_t>;

// A point in time, seconds since 1970-01-01T00:00:00Z.
struct Date {
    double secondsSince1970 = 0;
    friend bool operator==(const Date&, const Date&) = default;
    friend auto operator<=>(const Date&, const Date&) = default;
};

class Value {
public:
    enum class Kind : std::uint8_t { Nil, Null, Bool, Integer, Double, String, Date, Data, Array, Dictionary, Object };

    Value() noexcept = default;  // nil
    static Value null();         // the null object

    Value(bool b) : v_(b) {}
    Value(int i) : v_(static_cast<std::int64_t>(i)) {}
    Value(long i) : v_(static_cast<std::int64_t>(i)) {}
    Value(long long i) : v_(static_cast<std::int64_t>(i)) {}
    Value(unsigned i) : v_(static_cast<std::int64_t>(i)) {}
    Value(double d) : v_(d) {}
    // A null C string is nil, not a crash.
    Value(const char* s) {
        if (s) v_ = std::string(s);
    }
    Value(std::string s) : v_(std::move(s)) {}
    Value(std::string_view s) : v_(std::string(s)) {}
    Value(Date d) : v_(d) {}
    Value(Data d);
    Value(Array a);
    Value(Dictionary d);
    Value(std::shared_ptr<Object> o);
    template <class T>
    requires std::is_base_of_v<Object, T> Value(std::shared_ptr<T> o)
        : Value(std::static_pointer_cast<Object>(std::move(o))) {}

    Kind kind() const { return static_cast<Kind>(v_.index()); }
    static const char* kindName(Kind k);

    bool isNil() const { return kind() == Kind::Nil; }
    bool isNull() const { return kind() == Kind::Null; }
    // Nil or the null object: "nothing there" for readers that do not care which.
    bool isNothing() const { return isNil() || isNull(); }
    bool isBool() const { return kind() == Kind::Bool; }
    bool isInteger() const { return kind() == Kind::Integer; }
    bool isDouble() const { return kind() == Kind::Double; }
    bool isNumber() const { return isInteger() || isDouble(); }
    bool isString() const { return kind() == Kind::String; }
    bool isDate() const { return kind() == Kind::Date; }
    bool isData() const { return kind() == Kind::Data; }
    bool isArray() const { return kind() == Kind::Array; }
    bool isDictionary() const { return kind() == Kind::Dictionary; }
    bool isObject() const { return kind() == Kind::Object; }

    // Typed reads: a pointer (or value) when the kind matches exactly, else null.
    const bool* ifBool() const { return std::get_if<bool>(&v_); }
    const std::int64_t* ifInteger() const { return std::get_if<std::int64_t>(&v_); }
    const double* ifDouble() const { return std::get_if<double>(&v_); }
    const std::string* ifString() const { return std::get_if<std::string>(&v_); }
    const Date* ifDate() const { return std::get_if<Date>(&v_); }
    const Data* ifData() const;
    const Array* ifArray() const;
    const Dictionary* ifDictionary() const;
    std::shared_ptr<Object> ifObject() const;
    template <class T>
    std::shared_ptr<T> ifObjectOf() const {
        return std::dynamic_pointer_cast<T>(ifObject());
    }

    // Number reads that convert between integer and double (never from a bool).
    std::optional<double> asDouble() const;
    std::optional<std::int64_t> asInteger() const;

    // Mutable access; detaches a shared array or dictionary first.
    Array& mutableArray();
    Dictionary& mutableDictionary();

    // Shorthands for dictionary values: the entry under key, or nullptr.
    const Value* find(std::string_view key) const;

    // A readable text of any value, as a label would show it.
    std::string description() const;

    friend bool operator==(const Value& a, const Value& b);

private:
    struct NullTag {
        friend bool operator==(NullTag, NullTag) { return true; }
    };
    std::variant<std::monostate, NullTag, bool, std::int64_t, double, std::string, Date, std::shared_ptr<Data>,
                 std::shared_ptr<Array>, std::shared_ptr<Dictionary>, std::shared_ptr<Object>>
        v_;
};

}  // namespace trc::core

#include "platform/core/Dictionary.h"
