#include "platform/core/Json.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "platform/core/Base64.h"
#include "platform/core/IsoDate.h"
#include "platform/core/Object.h"

namespace trc::core {

namespace {

// Builds a Value straight from the parser's events, without an intermediate
// document tree. The entries of each open array or object gather in a
// scratch list kept per depth, so a container is made once, at its exact
// size, when it closes.
class ValueBuilder : public nlohmann::json_sax<nlohmann::json> {
public:
    ValueBuilder(Json::NullAs nullAs, Json::Style style) : nullAs_(nullAs), tagged_(style == Json::Style::Tagged) {}

    bool null() override { return put(nullAs_ == Json::NullAs::Nil ? Value() : Value::null()); }
    bool boolean(bool b) override { return put(Value(b)); }
    bool number_integer(number_integer_t i) override { return put(Value(static_cast<std::int64_t>(i))); }
    bool number_unsigned(number_unsigned_t u) override {
        if (u <= static_cast<number_unsigned_t>(std::numeric_limits<std::int64_t>::max())) {
            return put(Value(static_cast<std::int64_t>(u)));
        }
        return put(Value(static_cast<double>(u)));
    }
    bool number_float(number_float_t d, const string_t&) override { return put(Value(static_cast<double>(d))); }
    // Copied, not moved: the parser keeps its buffer (and its capacity) for
    // the next text.
    bool string(string_t& s) override { return put(Value(std::string(s))); }
    bool binary(binary_t&) override { return put(Value()); }
    bool start_object(std::size_t) override { return open(true); }
    bool key(string_t& k) override {
        depth_[open_ - 1].key = k;
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(false); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t position, const std::string&, const nlohmann::detail::exception& ex) override {
        std::string what = ex.what();
        // nlohmann's messages start with "[json.exception.parse_error.101] "; keep the readable part.
        if (auto p = what.find("] "); p != std::string::npos) what = what.substr(p + 2);
        error_ = "malformed JSON at byte " + std::to_string(position) + ": " + what;
        return false;
    }

    Value take() { return std::move(root_); }
    const std::string& error() const { return error_; }

private:
    struct Level {
        bool isObject = false;
        std::string key;
        Array items;
        std::vector<Dictionary::Entry> entries;
    };

    bool put(Value v) {
        if (open_ == 0) {
            root_ = std::move(v);
            return true;
        }
        Level& level = depth_[open_ - 1];
        if (level.isObject) {
            level.entries.emplace_back(level.key, std::move(v));
        } else {
            level.items.push_back(std::move(v));
        }
        return true;
    }
    bool open(bool isObject) {
        if (static_cast<int>(open_) >= Json::kMaxDepth) {
            error_ = "JSON nested deeper than " + std::to_string(Json::kMaxDepth) + " levels";
            return false;
        }
        if (open_ == depth_.size()) depth_.emplace_back();
        depth_[open_++].isObject = isObject;
        return true;
    }
    bool close() {
        Level& level = depth_[--open_];
        Value done;
        if (level.isObject) {
            done = Value(Dictionary::fromEntries(std::vector<Dictionary::Entry>(
                std::make_move_iterator(level.entries.begin()), std::make_move_iterator(level.entries.end()))));
            level.entries.clear();
        } else {
            done =
                Value(Array(std::make_move_iterator(level.items.begin()), std::make_move_iterator(level.items.end())));
            level.items.clear();
        }
        if (tagged_ && !untag(done)) return false;
        return put(std::move(done));
    }

    // Turns a one-key tagged object back into the kind it stands for; leaves
    // any other dictionary alone. False (with the error set) for a tag whose
    // content is not of its kind.
    bool untag(Value& v) {
        const Dictionary* d = v.ifDictionary();
        if (!d || d->size() != 1) return true;
        const auto& [tag, content] = *d->begin();
        if (tag == "$null") {
            if (content != Value(true)) return fail("{\"$null\": ...} takes true");
            v = Value::null();
        } else if (tag == "$date") {
            const std::string* text = content.ifString();
            std::optional<Date> date = text ? IsoDate::parse(*text) : std::nullopt;
            if (!date) return fail("{\"$date\": ...} takes an ISO-8601 date text");
            v = Value(*date);
        } else if (tag == "$data") {
            const std::string* text = content.ifString();
            std::optional<Data> data = text ? Base64::decode(*text) : std::nullopt;
            if (!data) return fail("{\"$data\": ...} takes Base64 text");
            v = Value(std::move(*data));
        }
        return true;
    }
    bool fail(std::string message) {
        error_ = std::move(message);
        return false;
    }

    Json::NullAs nullAs_;
    bool tagged_;
    // Levels of the containers open now (the first open_ of depth_); deeper
    // ones are kept for their scratch lists.
    std::vector<Level> depth_;
    std::size_t open_ = 0;
    Value root_;
    std::string error_;
};

}  // namespace

Value Json::parse(std::string_view text, NullAs nullAs, Style style) {
    // The parser takes a NUL byte for the end of the text and would accept
    // "1\0garbage"; no valid JSON holds a raw NUL, so refuse it here.
    if (auto nul = text.find('\0'); nul != std::string_view::npos) {
        throw JsonError("malformed JSON at byte " + std::to_string(nul + 1) + ": NUL byte");
    }
    ValueBuilder builder(nullAs, style);
    bool ok = false;
    try {
        ok = nlohmann::json::sax_parse(text.begin(), text.end(), &builder, nlohmann::json::input_format_t::json, true);
    } catch (const std::exception& e) {
        throw JsonError(std::string("malformed JSON: ") + e.what());
    }
    if (!ok) throw JsonError(builder.error().empty() ? "malformed JSON" : builder.error());
    return builder.take();
}

namespace {

// A double as JSON: the shortest text that reads back as the same number,
// always with a fraction or an exponent; null for what JSON cannot hold.
void appendDouble(double d, std::string& out) {
    if (!std::isfinite(d)) {
        out += "null";
        return;
    }
    char buf[64];
    const std::string_view text(buf, static_cast<std::size_t>(std::to_chars(buf, buf + sizeof buf, d).ptr - buf));
    out += text;
    if (text.find_first_of(".eE") == std::string_view::npos) out += ".0";
}

}  // namespace

std::string Json::formatDouble(double d) {
    std::string s;
    appendDouble(d, s);
    return s;
}

namespace {

// Length of the well-formed UTF-8 sequence of a non-ASCII lead byte at s[i],
// or 0 when it is ill-formed (overlong, surrogate, beyond U+10FFFF, cut off).
std::size_t utf8SequenceLength(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b0 = byte(i);
    std::size_t n;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        n = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        n = 3;
        if (b0 == 0xE0) lo = 0xA0;
        if (b0 == 0xED) hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        n = 4;
        if (b0 == 0xF0) lo = 0x90;
        if (b0 == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (i + n > s.size()) return 0;
    if (byte(i + 1) < lo || byte(i + 1) > hi) return 0;
    for (std::size_t k = 2; k < n; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
    }
    return n;
}

}  // namespace

void Json::writeString(std::string_view s, std::string& out) {
    out.push_back('"');
    std::size_t i = 0;
    while (i < s.size()) {
        // Plain printable ASCII goes out in one piece.
        std::size_t plain = i;
        while (plain < s.size()) {
            const auto c = static_cast<unsigned char>(s[plain]);
            if (c < 0x20 || c >= 0x80 || c == '"' || c == '\\') break;
            ++plain;
        }
        out.append(s.data() + i, plain - i);
        i = plain;
        if (i == s.size()) break;
        const char c = s[i];
        if (static_cast<unsigned char>(c) >= 0x80) {
            if (std::size_t n = utf8SequenceLength(s, i)) {
                out.append(s.substr(i, n));
                i += n;
            } else {
                out += "\xEF\xBF\xBD";  // U+FFFD REPLACEMENT CHARACTER
                ++i;
            }
            continue;
        }
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default: {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", static_cast<unsigned char>(c));
            out += esc;
        }
        }
        ++i;
    }
    out.push_back('"');
}

namespace {

void tagged(const char* tag, const std::string& text, std::string& out) {
    out += "{\"";
    out += tag;
    out += "\":";
    Json::writeString(text, out);
    out += '}';
}

}  // namespace

void Json::write(const Value& v, std::string& out, Style style) {
    const bool tag = style == Style::Tagged;
    switch (v.kind()) {
    case Value::Kind::Nil: out += "null"; break;
    case Value::Kind::Null: out += tag ? "{\"$null\":true}" : "null"; break;
    case Value::Kind::Bool: out += *v.ifBool() ? "true" : "false"; break;
    case Value::Kind::Integer: {
        char buf[24];
        out.append(buf, std::to_chars(buf, buf + sizeof buf, *v.ifInteger()).ptr);
        break;
    }
    case Value::Kind::Double: appendDouble(*v.ifDouble(), out); break;
    case Value::Kind::String: writeString(*v.ifString(), out); break;
    case Value::Kind::Date:
        if (tag) {
            tagged("$date", IsoDate::format(*v.ifDate()), out);
        } else {
            writeString(IsoDate::format(*v.ifDate()), out);
        }
        break;
    case Value::Kind::Data:
        if (tag) {
            tagged("$data", Base64::encode(*v.ifData()), out);
        } else {
            writeString(Base64::encode(*v.ifData()), out);
        }
        break;
    case Value::Kind::Object:
        if (tag) {
            tagged("$object", v.ifObject()->className(), out);
        } else {
            out += "null";
        }
        break;
    case Value::Kind::Array: {
        out.push_back('[');
        bool first = true;
        for (const Value& e : *v.ifArray()) {
            if (!first) out.push_back(',');
            first = false;
            write(e, out, style);
        }
        out.push_back(']');
        break;
    }
    case Value::Kind::Dictionary: {
        out.push_back('{');
        bool first = true;
        for (const auto& [k, e] : *v.ifDictionary()) {
            if (!first) out.push_back(',');
            first = false;
            writeString(k, out);
            out.push_back(':');
            write(e, out, style);
        }
        out.push_back('}');
        break;
    }
    }
}

std::string Json::write(const Value& value, Style style) {
    std::string out;
    write(value, out, style);
    return out;
}

}  // namespace trc::core
