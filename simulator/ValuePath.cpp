#include "simulator/ValuePath.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "platform/core/Object.h"
#include "simulator/ScenarioExtensions.h"

namespace trc::simulator {

namespace {
bool sameFolded(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}
}  // namespace

std::optional<core::Value> ValuePath::step(const core::Value& from, std::string_view segment, bool foldCase) {
    const std::string seg(segment);
    if (from.isNothing()) return std::nullopt;
    if (const core::Dictionary* d = from.ifDictionary()) {
        if (const core::Value* v = d->find(segment)) return *v;
        if (foldCase) {
            for (const auto& [k, v] : *d) {
                if (sameFolded(k, segment)) return v;
            }
        }
        return std::nullopt;
    }
    if (const core::Array* a = from.ifArray()) {
        std::size_t index = 0;
        auto [end, ec] = std::from_chars(seg.data(), seg.data() + seg.size(), index);
        if (ec != std::errc() || end != seg.data() + seg.size() || seg.empty()) {
            throw ScenarioError("\"" + seg + "\" is not an index into a list");
        }
        if (index >= a->size()) return std::nullopt;
        return (*a)[index];
    }
    if (auto object = from.ifObject()) {
        if (segment == kClassKey) return core::Value(object->className());
        if (!object->hasValueForKey(segment)) {
            throw ScenarioError("an object of class " + object->className() + " has no property \"" + seg + "\"");
        }
        return object->valueForKey(segment);
    }
    throw ScenarioError("cannot walk into a " + std::string(core::Value::kindName(from.kind())) + " with \"" + seg +
                        "\"");
}

std::optional<core::Value> ValuePath::walk(const std::optional<core::Value>& root, std::string_view path,
                                           bool foldCase) {
    std::optional<core::Value> current = root;
    while (!path.empty() && current) {
        auto dot = path.find('.');
        current = step(*current, path.substr(0, dot), foldCase);
        path = dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
    }
    return current;
}

}  // namespace trc::simulator
