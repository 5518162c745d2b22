#pragma once
// Typed reads of a form cell's parameter dictionary, as every form cell
// setter uses them. Static members only; stateless apart from the date
// formatters each thread keeps; callable from any thread.
//
// Kinds are strict: a bool is never a number and a number never a bool, and
// a string never converts to either. Where a getter falls back to the
// "validationProperties" sub-dictionary it says so; all others read the top
// level only. A number converts to an integer only when it has no fraction
// (5.0 does, 5.5 does not), as the platform's bridging of a number to an
// integer does. Every getter answers std::nullopt for an absent key, a key
// holding nil or the null object, or a value of another kind; none throws.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/core/Dictionary.h"
#include "platform/core/Value.h"
#include "platform/ui/UIColor.h"

namespace trc::services {

class ParameterHelper {
public:
    // The sub-dictionary some getters fall back to.
    static constexpr std::string_view kValidationProperties = "validationProperties";
    // The date patterns tried in order on a string value.
    static constexpr std::string_view kIso8601WithFractionalSeconds = "yyyy-MM-dd'T'HH:mm:ss.SSSZZZZZ";
    static constexpr std::string_view kIso8601 = "yyyy-MM-dd'T'HH:mm:ss'Z'";

    using Params = core::Dictionary;

    // A list of any values.
    static std::optional<core::Array> getParameterAsArray(const Params& cellParams, std::string_view paramName);
    // A boolean at the top level, else a boolean inside "validationProperties".
    static std::optional<bool> getParameterAsBool(const Params& cellParams, std::string_view paramName) {
        return mayRead(cellParams, paramName) ? boolIn(cellParams, paramName) : std::nullopt;
    }
    // A colour from a hex string inside "validationProperties" only.
    static std::optional<ui::UIColor> getParameterAsColor(const Params& cellParams, std::string_view paramName) {
        return cellParams.mayContain(kValidationProperties) ? colorIn(cellParams, paramName) : std::nullopt;
    }
    // A date, or a string read with kIso8601WithFractionalSeconds, else kIso8601.
    static std::optional<core::Date> getParameterAsDate(const Params& cellParams, std::string_view paramName) {
        return cellParams.mayContain(paramName) ? dateIn(cellParams, paramName) : std::nullopt;
    }
    static std::optional<core::Dictionary> getParameterAsDictionary(const Params& cellParams,
                                                                    std::string_view paramName);
    // An integer or a double.
    static std::optional<double> getParameterAsDouble(const Params& cellParams, std::string_view paramName) {
        return cellParams.mayContain(paramName) ? doubleIn(cellParams, paramName) : std::nullopt;
    }
    // An integer, or a double without fraction within the integer range.
    static std::optional<std::int64_t> getParameterAsInt(const Params& cellParams, std::string_view paramName) {
        return cellParams.mayContain(paramName) ? integerIn(cellParams, paramName) : std::nullopt;
    }
    // A list whose every element converts to an integer as above.
    static std::optional<std::vector<std::int64_t>> getParameterAsIntArray(const Params& cellParams,
                                                                           std::string_view paramName);
    // A list whose every element is a dictionary.
    static std::optional<std::vector<core::Dictionary>> getParameterAsNSDictionaryArray(const Params& cellParams,
                                                                                        std::string_view paramName);
    // The text of any value at the top level (the null object counts as
    // absent, so it never shows as "<null>"), else a string inside
    // "validationProperties".
    static std::optional<std::string> getParameterAsString(const Params& cellParams, std::string_view paramName);
    // A list whose every element is a string.
    static std::optional<std::vector<std::string>> getParameterAsStringArray(const Params& cellParams,
                                                                             std::string_view paramName);

    // What getParameterAsString answers, without copying a string: a text is
    // read in place (valid until params changes); any other value is held
    // as its description.
    class Text {
    public:
        Text() = default;
        explicit Text(std::string_view inPlace) : text_(inPlace) {}
        explicit Text(std::string described) : text_(std::move(described)) {}

        bool has_value() const { return text_.index() != 0; }
        explicit operator bool() const { return has_value(); }
        // Only when has_value().
        std::string_view operator*() const {
            if (const auto* view = std::get_if<std::string_view>(&text_)) return *view;
            return std::get<std::string>(text_);
        }
        // The text, or nothing: what a view's optional text is set to.
        std::optional<std::string_view> view() const {
            return has_value() ? std::optional<std::string_view>(**this) : std::nullopt;
        }

    private:
        std::variant<std::monostate, std::string_view, std::string> text_;
    };
    static Text textIn(const Params& cellParams, std::string_view paramName) {
        if (!mayRead(cellParams, paramName)) return Text();
        // Most texts a row has are strings at the top level: read in place.
        const core::Value* found = cellParams.find(paramName);
        if (const std::string* s = found ? found->ifString() : nullptr) return Text(std::string_view(*s));
        return readText(cellParams, paramName, found);
    }

    // Reads in place for the road that builds a row into a reused cell,
    // which copies nothing it can assign into what the cell holds: the list
    // getParameterAsStringArray, getParameterAsNSDictionaryArray and
    // getParameterAsIntArray would copy (its elements converted by
    // exactInteger), and the dictionary getParameterAsDictionary would copy;
    // nullptr where they answer std::nullopt. Valid until params changes.
    static const core::Array* stringArrayIn(const Params& cellParams, std::string_view paramName) {
        return cellParams.mayContain(paramName) ? readStringArray(cellParams, paramName) : nullptr;
    }
    static const core::Array* integerArrayIn(const Params& cellParams, std::string_view paramName) {
        return cellParams.mayContain(paramName) ? readIntegerArray(cellParams, paramName) : nullptr;
    }
    static const core::Array* dictionaryArrayIn(const Params& cellParams, std::string_view paramName) {
        return cellParams.mayContain(paramName) ? readDictionaryArray(cellParams, paramName) : nullptr;
    }
    static const core::Dictionary* dictionaryIn(const Params& cellParams, std::string_view paramName) {
        return cellParams.mayContain(paramName) ? readDictionary(cellParams, paramName) : nullptr;
    }

    // The conversion getParameterAsInt applies, for callers holding a value.
    static std::optional<std::int64_t> exactInteger(const core::Value& value);
    // The date parsing getParameterAsDate applies to a string.
    static std::optional<core::Date> parseDate(std::string_view text);

private:
    // A setter asks for many keys a row leaves out: the dictionary's key
    // bits rule most of them out inline, before any call. False only when
    // neither the row nor its validation properties can hold paramName.
    static bool mayRead(const Params& cellParams, std::string_view paramName) {
        return cellParams.mayContain(paramName) || cellParams.mayContain(kValidationProperties);
    }
    // The top-level reads, once the key bits allow the key.
    static std::optional<core::Date> dateIn(const Params& cellParams, std::string_view paramName);
    static std::optional<double> doubleIn(const Params& cellParams, std::string_view paramName);
    static std::optional<std::int64_t> integerIn(const Params& cellParams, std::string_view paramName);
    static const core::Array* readStringArray(const Params& cellParams, std::string_view paramName);
    static const core::Array* readIntegerArray(const Params& cellParams, std::string_view paramName);
    static const core::Array* readDictionaryArray(const Params& cellParams, std::string_view paramName);
    static std::optional<bool> boolIn(const Params& cellParams, std::string_view paramName);
    static std::optional<ui::UIColor> colorIn(const Params& cellParams, std::string_view paramName);
    // The rest of textIn, given what the top level holds under paramName.
    static Text readText(const Params& cellParams, std::string_view paramName, const core::Value* found);
    static const core::Dictionary* readDictionary(const Params& cellParams, std::string_view paramName);
};

}  // namespace trc::services
