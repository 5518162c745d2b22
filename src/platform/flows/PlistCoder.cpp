#include "platform/flows/PlistCoder.h"

#include <plist/plist.h>
#include <unicode/utf8.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

#include "platform/flows/CodingError.h"

namespace trc::flows {

namespace {

// Property-list dates count from 2001-01-01T00:00:00Z.
constexpr double kReferenceDate = 978307200.0;
constexpr int kMaxDepth = 256;

// Whether a date's seconds since the reference date fit what libplist and
// the encoder take: a finite number strictly inside the 32-bit range.
// libplist turns a date into 32-bit seconds and microseconds by plain
// conversion, which for NaN or 1e300 is undefined and gives garbage.
bool dateFits(double seconds) {
    return seconds > std::numeric_limits<std::int32_t>::min() && seconds < std::numeric_limits<std::int32_t>::max();
}

struct NodeFree {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using Node = std::unique_ptr<void, NodeFree>;

struct CFree {
    void operator()(void* p) const { std::free(p); }
};

// libplist takes texts as C strings in UTF-8: anything else would be cut or
// changed on the way, so it is refused instead.
const char* plainText(const std::string& text) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    if (text.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
        throw CodingError("a text too long for a property list");
    for (std::int32_t i = 0; i < length;) {
        UChar32 c = 0;
        U8_NEXT(bytes, i, length, c);
        if (c <= 0) throw CodingError("a text that is not UTF-8 without NUL characters has no property-list form");
    }
    return text.c_str();
}

Node toNode(const core::Value& value, int depth) {
    if (depth > kMaxDepth) throw CodingError("nested too deep");
    using K = core::Value::Kind;
    switch (value.kind()) {
    case K::Bool: return Node(plist_new_bool(*value.ifBool() ? 1 : 0));
    case K::Integer: return Node(plist_new_uint(static_cast<std::uint64_t>(*value.ifInteger())));
    case K::Double: return Node(plist_new_real(*value.ifDouble()));
    case K::String: return Node(plist_new_string(plainText(*value.ifString())));
    case K::Date: {
        double t = value.ifDate()->secondsSince1970 - kReferenceDate;
        if (!dateFits(t)) throw CodingError("date out of range");
        // To the nearest microsecond, which is all a property-list date keeps.
        const long long micros = std::llround(t * 1e6);
        long long sec = micros / 1000000;
        long long usec = micros % 1000000;
        if (usec < 0) {
            usec += 1000000;
            sec -= 1;
        }
        if (sec < std::numeric_limits<std::int32_t>::min() || sec > std::numeric_limits<std::int32_t>::max())
            throw CodingError("date out of range");
        return Node(plist_new_date(static_cast<std::int32_t>(sec), static_cast<std::int32_t>(usec)));
    }
    case K::Data: {
        const core::Data& d = *value.ifData();
        return Node(plist_new_data(reinterpret_cast<const char*>(d.data()), d.size()));
    }
    case K::Array: {
        Node array(plist_new_array());
        for (const auto& item : *value.ifArray())
            plist_array_append_item(array.get(), toNode(item, depth + 1).release());
        return array;
    }
    case K::Dictionary: {
        Node dict(plist_new_dict());
        for (const auto& [key, item] : *value.ifDictionary()) {
            // The key is checked before the item's node exists, so a refused
            // key leaves nothing behind.
            const char* text = plainText(key);
            plist_dict_set_item(dict.get(), text, toNode(item, depth + 1).release());
        }
        return dict;
    }
    default: throw CodingError(std::string("no property-list form for ") + core::Value::kindName(value.kind()));
    }
}

core::Value fromNode(plist_t node, int depth) {
    if (!node || depth > kMaxDepth) throw CodingError("malformed property list");
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        std::uint8_t b = 0;
        plist_get_bool_val(node, &b);
        return core::Value(b != 0);
    }
    case PLIST_UINT: {
        std::uint64_t u = 0;
        plist_get_uint_val(node, &u);
        return core::Value(static_cast<long long>(u));
    }
    case PLIST_REAL: {
        double d = 0;
        plist_get_real_val(node, &d);
        return core::Value(d);
    }
    case PLIST_STRING: {
        char* s = nullptr;
        plist_get_string_val(node, &s);
        std::unique_ptr<char, CFree> owned(s);
        return core::Value(std::string(s ? s : ""));
    }
    case PLIST_DATE: {
        std::int32_t sec = 0, usec = 0;
        plist_get_date_val(node, &sec, &usec);
        // The decoder refused dates that do not fit; this holds whatever
        // libplist makes of a date on another machine.
        if (usec < 0 || usec >= 1000000) throw CodingError("a date that does not fit");
        // libplist gives the microseconds without their sign: before the
        // reference date they count back from the seconds. (Within the
        // second before it, where the seconds are 0, the sign is lost.)
        return core::Value(core::Date{kReferenceDate + sec + (sec < 0 ? -usec : usec) / 1e6});
    }
    case PLIST_DATA: {
        char* bytes = nullptr;
        std::uint64_t length = 0;
        plist_get_data_val(node, &bytes, &length);
        std::unique_ptr<char, CFree> owned(bytes);
        auto* p = reinterpret_cast<const std::uint8_t*>(bytes);
        return core::Value(core::Data(p, p + (bytes ? length : 0)));
    }
    case PLIST_ARRAY: {
        core::Array out;
        std::uint32_t n = plist_array_get_size(node);
        for (std::uint32_t i = 0; i < n; ++i) out.push_back(fromNode(plist_array_get_item(node, i), depth + 1));
        return core::Value(std::move(out));
    }
    case PLIST_DICT: {
        core::Dictionary out;
        plist_dict_iter it = nullptr;
        plist_dict_new_iter(node, &it);
        std::unique_ptr<void, CFree> ownedIter(it);
        for (;;) {
            char* key = nullptr;
            plist_t item = nullptr;
            plist_dict_next_item(node, it, &key, &item);
            std::unique_ptr<char, CFree> ownedKey(key);
            if (!item) break;
            out.set(key ? key : "", fromNode(item, depth + 1));
        }
        return core::Value(std::move(out));
    }
    default: throw CodingError("unsupported property-list node");
    }
}

std::uint64_t bigEndian(const core::Data& data, std::size_t at, std::size_t size) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < size; ++i) v = (v << 8) | data[at + i];
    return v;
}

// Whether a binary property list holds what libplist cannot read safely: a
// text (or key) with a NUL character, which it reads and then aborts the
// process on (an assertion), or a date that does not fit. These lists are
// refused before libplist reads them. A list whose objects cannot all be
// found is refused too.
bool holdsWhatLibplistCannotRead(const core::Data& data) {
    constexpr std::size_t kTrailer = 32;
    if (data.size() < 8 + kTrailer) return true;
    const std::size_t trailer = data.size() - kTrailer;
    const std::size_t offsetSize = data[trailer + 6];
    const std::uint64_t objects = bigEndian(data, trailer + 8, 8);
    const std::uint64_t table = bigEndian(data, trailer + 24, 8);
    if (offsetSize < 1 || offsetSize > 8 || objects > data.size() || table > trailer ||
        objects * offsetSize > trailer - table)
        return true;
    for (std::uint64_t i = 0; i < objects; ++i) {
        const std::uint64_t at = bigEndian(data, static_cast<std::size_t>(table + i * offsetSize), offsetSize);
        if (at >= trailer) return true;
        const unsigned type = data[at] >> 4;
        if (data[at] == 0x33) {  // a date: a big-endian double
            if (at + 9 > trailer) return true;
            const std::uint64_t bits = bigEndian(data, static_cast<std::size_t>(at + 1), 8);
            double seconds = 0;
            std::memcpy(&seconds, &bits, sizeof seconds);
            if (!dateFits(seconds)) return true;
            continue;
        }
        if (type != 0x5 && type != 0x6) continue;  // ASCII and UTF-16 texts
        std::uint64_t count = data[at] & 0x0f;
        std::uint64_t start = at + 1;
        if (count == 0x0f) {  // the count follows as an integer object
            if (start >= trailer || (data[start] >> 4) != 0x1) return true;
            const std::size_t size = std::size_t{1} << (data[start] & 0x0f);
            if (size > 8 || start + 1 + size > trailer) return true;
            count = bigEndian(data, static_cast<std::size_t>(start + 1), size);
            start += 1 + size;
        }
        const std::uint64_t unit = type == 0x5 ? 1 : 2;
        if (count > trailer || count * unit > trailer - start) return true;
        for (std::uint64_t k = 0; k < count; ++k) {
            const std::size_t p = static_cast<std::size_t>(start + k * unit);
            if (data[p] == 0 && (unit == 1 || data[p + 1] == 0)) return true;
        }
    }
    return false;
}

}  // namespace

core::Data PlistCoder::encode(const core::Value& value) const {
    Node root = toNode(value, 0);
    char* bytes = nullptr;
    std::uint32_t length = 0;
    plist_to_bin(root.get(), &bytes, &length);
    if (!bytes) throw CodingError("cannot write property list");
    core::Data out(reinterpret_cast<std::uint8_t*>(bytes), reinterpret_cast<std::uint8_t*>(bytes) + length);
    plist_to_bin_free(bytes);
    return out;
}

core::Value PlistCoder::decode(const core::Data& data) const {
    if (data.size() < 8 || data.size() > std::numeric_limits<std::uint32_t>::max())
        throw CodingError("not a property list");
    if (holdsWhatLibplistCannotRead(data)) throw CodingError("a property list with a text or date it cannot hold");
    plist_t raw = nullptr;
    plist_from_bin(reinterpret_cast<const char*>(data.data()), static_cast<std::uint32_t>(data.size()), &raw);
    if (!raw) throw CodingError("not a property list");
    Node root(raw);
    return fromNode(root.get(), 0);
}

}  // namespace trc::flows
