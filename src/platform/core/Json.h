#pragma once
// JSON text to host values and back.
//
// Reading: strings, booleans, arrays and objects map to their kinds; a number
// without fraction or exponent that fits 64 bits is an integer, any other
// number a double; JSON null maps to the null object or to nil, as asked.
// Input must be valid UTF-8 JSON nested at most kMaxDepth deep; anything else
// (a raw NUL byte included, which would otherwise end the text early) throws
// JsonError with the position. Duplicate keys: the last one wins. Reading in
// tagged style turns the one-key objects {"$null": true}, {"$date": "..."}
// and {"$data": "..."} back into their kinds; {"$object": ...} stays a
// dictionary, as no object can be made from a class name alone.
//
// Writing: doubles always carry a fraction or an exponent ("600.0"), so a
// written value reads back as the same kinds; a string that is not valid
// UTF-8 has each bad byte replaced by U+FFFD, so the output is always valid
// JSON. Plain style writes nil and the null object as null, dates as
// ISO-8601 text, data as Base64 text. Tagged style writes the forms a
// host-scenario transcript uses:
// {"$null": true}, {"$date": "..."}, {"$data": "..."}, {"$object": "Class"}.

#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/core/Value.h"

namespace trc::core {

class JsonError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Json {
public:
    static constexpr int kMaxDepth = 512;

    enum class NullAs { NullObject, Nil };
    enum class Style { Plain, Tagged };

    static Value parse(std::string_view text, NullAs nullAs = NullAs::NullObject, Style style = Style::Plain);
    static std::string write(const Value& value, Style style = Style::Plain);
    static void write(const Value& value, std::string& out, Style style = Style::Plain);
    static void writeString(std::string_view s, std::string& out);
    static std::string formatDouble(double d);
};

}  // namespace trc::core
