#include "platform/core/TaggedJson.h"

#include "platform/core/Base64.h"
#include "platform/core/IsoDate.h"

namespace trc::core {

namespace {
constexpr std::string_view kDateTag = "$date";
constexpr std::string_view kDataTag = "$data";
constexpr std::string_view kNullTag = "$null";
}  // namespace

std::optional<Value> TaggedJson::fromTag(const Dictionary& dictionary) {
    if (dictionary.size() != 1) return std::nullopt;
    const auto& [tag, content] = *dictionary.begin();
    if (tag == kDateTag) {
        const std::string* text = content.ifString();
        auto date = text ? IsoDate::parse(*text) : std::nullopt;
        if (!date) throw JsonError("{\"$date\": ...} needs an ISO-8601 date text, got " + Json::write(content));
        return Value(*date);
    }
    if (tag == kDataTag) {
        const std::string* text = content.ifString();
        auto data = text ? Base64::decode(*text) : std::nullopt;
        if (!data) throw JsonError("{\"$data\": ...} needs a Base64 text, got " + Json::write(content));
        return Value(std::move(*data));
    }
    if (tag == kNullTag) {
        if (content != Value(true)) throw JsonError("{\"$null\": ...} takes only true, got " + Json::write(content));
        return Value::null();
    }
    return std::nullopt;
}

Value TaggedJson::untag(const Value& value) {
    if (const Array* array = value.ifArray()) {
        Array out;
        out.reserve(array->size());
        for (const Value& e : *array) out.push_back(untag(e));
        return Value(std::move(out));
    }
    if (const Dictionary* dictionary = value.ifDictionary()) {
        if (auto tagged = fromTag(*dictionary)) return *tagged;
        Dictionary out;
        for (const auto& [k, e] : *dictionary) out.set(k, untag(e));
        return Value(std::move(out));
    }
    return value;
}

Value TaggedJson::read(std::string_view text) { return untag(Json::parse(text, Json::NullAs::Nil)); }

}  // namespace trc::core
