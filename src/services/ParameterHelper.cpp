#include "services/ParameterHelper.h"

#include <unicode/locid.h>
#include <unicode/parsepos.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace trc::services {

namespace {

using core::Value;

// The value under key when it holds something: nil and the null object count
// as absent.
const Value* present(const core::Dictionary& d, std::string_view key) {
    const Value* v = d.find(key);
    return v && !v->isNothing() ? v : nullptr;
}

const core::Dictionary* validationProperties(const core::Dictionary& params) {
    const Value* v = params.find(ParameterHelper::kValidationProperties);
    return v ? v->ifDictionary() : nullptr;
}

// The list under key when every element fits, else nullptr. Callers often
// ask only to learn the list's kind, which copies nothing.
template <class Fits>
const core::Array* listWhere(const core::Dictionary& params, std::string_view key, Fits fits) {
    const Value* v = present(params, key);
    const core::Array* list = v ? v->ifArray() : nullptr;
    return list && std::all_of(list->begin(), list->end(), fits) ? list : nullptr;
}

// Every element of the list under key taken by take, or nothing when one of
// them does not fit.
template <class T, class Fits, class Take>
std::optional<std::vector<T>> listOf(const core::Dictionary& params, std::string_view key, Fits fits, Take take) {
    const core::Array* list = listWhere(params, key, fits);
    if (!list) return std::nullopt;
    std::vector<T> out;
    out.reserve(list->size());
    for (const Value& element : *list) out.push_back(take(element));
    return out;
}

bool isString(const Value& v) { return v.isString(); }
bool isDictionary(const Value& v) { return v.isDictionary(); }
bool isExactInteger(const Value& v) { return ParameterHelper::exactInteger(v).has_value(); }

// A strict (non-lenient) formatter in the fixed POSIX locale, as the
// platform's ISO-8601 formatters are; one per pattern and thread, as making
// one is costly and a formatter is not safe to share between threads.
class DateReader {
public:
    explicit DateReader(std::string_view pattern) {
        UErrorCode status = U_ZERO_ERROR;
        auto format = std::make_unique<icu::SimpleDateFormat>(
            icu::UnicodeString::fromUTF8(icu::StringPiece(pattern.data(), static_cast<int32_t>(pattern.size()))),
            icu::Locale("en_US_POSIX"), status);
        if (U_FAILURE(status)) return;
        format->setLenient(false);
        format->adoptTimeZone(icu::TimeZone::createTimeZone("GMT"));
        format_ = std::move(format);
    }

    std::optional<core::Date> read(std::string_view text) const {
        if (!format_) return std::nullopt;
        const icu::UnicodeString u =
            icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
        icu::ParsePosition pos(0);
        const UDate ms = format_->parse(u, pos);
        // The whole text must be the date: a prefix that parses is not enough.
        if (pos.getErrorIndex() >= 0 || pos.getIndex() != u.length()) return std::nullopt;
        return core::Date{ms / 1000.0};
    }

private:
    std::unique_ptr<icu::SimpleDateFormat> format_;
};

}  // namespace

std::optional<core::Date> ParameterHelper::parseDate(std::string_view text) {
    thread_local const DateReader withFraction(kIso8601WithFractionalSeconds);
    thread_local const DateReader plain(kIso8601);
    if (auto d = withFraction.read(text)) return d;
    return plain.read(text);
}

std::optional<std::int64_t> ParameterHelper::exactInteger(const Value& value) {
    if (auto i = value.ifInteger()) return *i;
    if (auto d = value.ifDouble()) {
        if (std::trunc(*d) != *d) return std::nullopt;  // fraction, NaN or infinity
        return value.asInteger();                       // nothing beyond the integer range
    }
    return std::nullopt;
}

std::optional<core::Array> ParameterHelper::getParameterAsArray(const Params& cellParams, std::string_view paramName) {
    const Value* v = present(cellParams, paramName);
    if (const core::Array* a = v ? v->ifArray() : nullptr) return *a;
    return std::nullopt;
}

std::optional<bool> ParameterHelper::boolIn(const Params& cellParams, std::string_view paramName) {
    if (const Value* v = present(cellParams, paramName); v && v->isBool()) return *v->ifBool();
    if (const core::Dictionary* vp = validationProperties(cellParams)) {
        if (const Value* v = vp->find(paramName); v && v->isBool()) return *v->ifBool();
    }
    return std::nullopt;
}

std::optional<ui::UIColor> ParameterHelper::colorIn(const Params& cellParams, std::string_view paramName) {
    const core::Dictionary* vp = validationProperties(cellParams);
    const Value* v = vp ? vp->find(paramName) : nullptr;
    const std::string* hex = v ? v->ifString() : nullptr;
    return hex ? ui::UIColor::fromHexString(*hex) : std::nullopt;
}

std::optional<core::Date> ParameterHelper::dateIn(const Params& cellParams, std::string_view paramName) {
    const Value* v = present(cellParams, paramName);
    if (!v) return std::nullopt;
    if (const core::Date* d = v->ifDate()) return *d;
    if (const std::string* s = v->ifString()) return parseDate(*s);
    return std::nullopt;
}

std::optional<core::Dictionary> ParameterHelper::getParameterAsDictionary(const Params& cellParams,
                                                                          std::string_view paramName) {
    if (const core::Dictionary* d = dictionaryIn(cellParams, paramName)) return *d;
    return std::nullopt;
}

std::optional<double> ParameterHelper::doubleIn(const Params& cellParams, std::string_view paramName) {
    const Value* v = present(cellParams, paramName);
    return v ? v->asDouble() : std::nullopt;
}

std::optional<std::int64_t> ParameterHelper::integerIn(const Params& cellParams, std::string_view paramName) {
    const Value* v = present(cellParams, paramName);
    return v ? exactInteger(*v) : std::nullopt;
}

std::optional<std::vector<std::int64_t>> ParameterHelper::getParameterAsIntArray(const Params& cellParams,
                                                                                 std::string_view paramName) {
    return listOf<std::int64_t>(cellParams, paramName, isExactInteger, [](const Value& e) { return *exactInteger(e); });
}

std::optional<std::vector<core::Dictionary>> ParameterHelper::getParameterAsNSDictionaryArray(
    const Params& cellParams, std::string_view paramName) {
    return listOf<core::Dictionary>(cellParams, paramName, isDictionary,
                                    [](const Value& e) { return *e.ifDictionary(); });
}

std::optional<std::string> ParameterHelper::getParameterAsString(const Params& cellParams, std::string_view paramName) {
    Text text = textIn(cellParams, paramName);
    return text ? std::optional<std::string>(*text) : std::nullopt;
}

ParameterHelper::Text ParameterHelper::readText(const Params& cellParams, std::string_view paramName,
                                                const Value* found) {
    if (const Value* v = found && !found->isNothing() ? found : nullptr) {
        if (const std::string* s = v->ifString()) return Text(std::string_view(*s));
        return Text(v->description());
    }
    if (const core::Dictionary* vp = validationProperties(cellParams)) {
        if (const Value* v = vp->find(paramName); v && v->isString()) return Text(std::string_view(*v->ifString()));
    }
    return Text();
}

std::optional<std::vector<std::string>> ParameterHelper::getParameterAsStringArray(const Params& cellParams,
                                                                                   std::string_view paramName) {
    return listOf<std::string>(cellParams, paramName, isString, [](const Value& e) { return *e.ifString(); });
}

const core::Array* ParameterHelper::readStringArray(const Params& cellParams, std::string_view paramName) {
    return listWhere(cellParams, paramName, isString);
}

const core::Array* ParameterHelper::readIntegerArray(const Params& cellParams, std::string_view paramName) {
    return listWhere(cellParams, paramName, isExactInteger);
}

const core::Array* ParameterHelper::readDictionaryArray(const Params& cellParams, std::string_view paramName) {
    return listWhere(cellParams, paramName, isDictionary);
}

const core::Dictionary* ParameterHelper::readDictionary(const Params& cellParams, std::string_view paramName) {
    const Value* v = present(cellParams, paramName);
    return v ? v->ifDictionary() : nullptr;
}

}  // namespace trc::services
