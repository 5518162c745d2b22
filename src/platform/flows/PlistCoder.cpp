#include "platform/flows/PlistCoder.h"

#include <plist/plist.h>

#include <cstdlib>
#include <limits>
#include <memory>

#include "platform/flows/CodingError.h"

namespace trc::flows {

namespace {

// Property-list dates count from 2001-01-01T00:00:00Z.
constexpr double kReferenceDate = 978307200.0;
constexpr int kMaxDepth = 256;

struct NodeFree {
    void operator()(void* node) const { plist_free(static_cast<plist_t>(node)); }
};
using Node = std::unique_ptr<void, NodeFree>;

struct CFree {
    void operator()(void* p) const { std::free(p); }
};

Node toNode(const core::Value& value, int depth) {
    if (depth > kMaxDepth) throw CodingError("nested too deep");
    using K = core::Value::Kind;
    switch (value.kind()) {
        case K::Bool: return Node(plist_new_bool(*value.ifBool() ? 1 : 0));
        case K::Integer: return Node(plist_new_uint(static_cast<std::uint64_t>(*value.ifInteger())));
        case K::Double: return Node(plist_new_real(*value.ifDouble()));
        case K::String: return Node(plist_new_string(value.ifString()->c_str()));
        case K::Date: {
            double t = value.ifDate()->secondsSince1970 - kReferenceDate;
            if (!(t > std::numeric_limits<std::int32_t>::min() && t < std::numeric_limits<std::int32_t>::max()))
                throw CodingError("date out of range");
            auto sec = static_cast<std::int32_t>(t);
            return Node(plist_new_date(sec, static_cast<std::int32_t>((t - sec) * 1e6)));
        }
        case K::Data: {
            const core::Data& d = *value.ifData();
            return Node(plist_new_data(reinterpret_cast<const char*>(d.data()), d.size()));
        }
        case K::Array: {
            Node array(plist_new_array());
            for (const auto& item : *value.ifArray()) plist_array_append_item(array.get(), toNode(item, depth + 1).release());
            return array;
        }
        case K::Dictionary: {
            Node dict(plist_new_dict());
            for (const auto& [key, item] : *value.ifDictionary())
                plist_dict_set_item(dict.get(), key.c_str(), toNode(item, depth + 1).release());
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
            return core::Value(core::Date{kReferenceDate + sec + usec / 1e6});
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
    plist_t raw = nullptr;
    plist_from_bin(reinterpret_cast<const char*>(data.data()), static_cast<std::uint32_t>(data.size()), &raw);
    if (!raw) throw CodingError("not a property list");
    Node root(raw);
    return fromNode(root.get(), 0);
}

}  // namespace trc::flows
