#include "platform/core/Value.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "platform/core/IsoDate.h"
#include "platform/core/Json.h"
#include "platform/core/Object.h"

namespace trc::core {

Value Value::null() {
    Value v;
    v.v_ = NullTag{};
    return v;
}

Value::Value(Data d) : v_(std::make_shared<Data>(std::move(d))) {}
Value::Value(Array a) : v_(std::make_shared<Array>(std::move(a))) {}
Value::Value(Dictionary d) : v_(std::make_shared<Dictionary>(std::move(d))) {}
Value::Value(std::shared_ptr<Object> o) {
    if (o) v_ = std::move(o);
}

const char* Value::kindName(Kind k) {
    switch (k) {
    case Kind::Nil: return "nil";
    case Kind::Null: return "null";
    case Kind::Bool: return "bool";
    case Kind::Integer: return "integer";
    case Kind::Double: return "double";
    case Kind::String: return "string";
    case Kind::Date: return "date";
    case Kind::Data: return "data";
    case Kind::Array: return "array";
    case Kind::Dictionary: return "dictionary";
    case Kind::Object: return "object";
    }
    return "?";
}

const Data* Value::ifData() const {
    auto p = std::get_if<std::shared_ptr<Data>>(&v_);
    return p ? p->get() : nullptr;
}
const Array* Value::ifArray() const {
    auto p = std::get_if<std::shared_ptr<Array>>(&v_);
    return p ? p->get() : nullptr;
}
const Dictionary* Value::ifDictionary() const {
    auto p = std::get_if<std::shared_ptr<Dictionary>>(&v_);
    return p ? p->get() : nullptr;
}
std::shared_ptr<Object> Value::ifObject() const {
    auto p = std::get_if<std::shared_ptr<Object>>(&v_);
    return p ? *p : nullptr;
}

std::optional<double> Value::asDouble() const {
    if (auto d = ifDouble()) return *d;
    if (auto i = ifInteger()) return static_cast<double>(*i);
    return std::nullopt;
}

std::optional<std::int64_t> Value::asInteger() const {
    if (auto i = ifInteger()) return *i;
    if (auto d = ifDouble()) {
        // Truncates toward zero, as a number's integer value does; no value for
        // what an integer cannot hold.
        if (!std::isfinite(*d) || *d >= 9.2233720368547758e18 || *d < -9.2233720368547758e18) return std::nullopt;
        return static_cast<std::int64_t>(*d);
    }
    return std::nullopt;
}

Array& Value::mutableArray() {
    auto p = std::get_if<std::shared_ptr<Array>>(&v_);
    if (!p) {
        v_ = std::make_shared<Array>();
        p = std::get_if<std::shared_ptr<Array>>(&v_);
    } else if (p->use_count() > 1) {
        *p = std::make_shared<Array>(**p);
    }
    return **p;
}

Dictionary& Value::mutableDictionary() {
    auto p = std::get_if<std::shared_ptr<Dictionary>>(&v_);
    if (!p) {
        v_ = std::make_shared<Dictionary>();
        p = std::get_if<std::shared_ptr<Dictionary>>(&v_);
    } else if (p->use_count() > 1) {
        *p = std::make_shared<Dictionary>(**p);
    }
    return **p;
}

const Value* Value::find(std::string_view key) const {
    const Dictionary* d = ifDictionary();
    return d ? d->find(key) : nullptr;
}

static std::string shortestDouble(double d) {
    if (std::isnan(d)) return "nan";
    if (std::isinf(d)) return d < 0 ? "-inf" : "inf";
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, d);
    return std::string(buf, res.ptr);
}

std::string Value::description() const {
    switch (kind()) {
    case Kind::Nil: return "nil";
    case Kind::Null: return "<null>";
    case Kind::Bool: return *ifBool() ? "true" : "false";
    case Kind::Integer: return std::to_string(*ifInteger());
    case Kind::Double: return shortestDouble(*ifDouble());
    case Kind::String: return *ifString();
    case Kind::Date: return IsoDate::format(*ifDate());
    case Kind::Object: return "<" + ifObject()->className() + ">";
    case Kind::Data:
    case Kind::Array:
    case Kind::Dictionary: return Json::write(*this);
    }
    return {};
}

bool operator==(const Value& a, const Value& b) {
    if (a.kind() != b.kind()) return false;
    switch (a.kind()) {
    case Value::Kind::Nil:
    case Value::Kind::Null: return true;
    case Value::Kind::Bool: return *a.ifBool() == *b.ifBool();
    case Value::Kind::Integer: return *a.ifInteger() == *b.ifInteger();
    case Value::Kind::Double: {
        double x = *a.ifDouble(), y = *b.ifDouble();
        return x == y || (std::isnan(x) && std::isnan(y));
    }
    case Value::Kind::String: return *a.ifString() == *b.ifString();
    case Value::Kind::Date: return *a.ifDate() == *b.ifDate();
    case Value::Kind::Data: return *a.ifData() == *b.ifData();
    case Value::Kind::Array: return a.ifArray() == b.ifArray() || *a.ifArray() == *b.ifArray();
    case Value::Kind::Dictionary: return a.ifDictionary() == b.ifDictionary() || *a.ifDictionary() == *b.ifDictionary();
    case Value::Kind::Object: return a.ifObject() == b.ifObject();
    }
    return false;
}

}  // namespace trc::core
