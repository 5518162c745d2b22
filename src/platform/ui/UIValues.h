#pragma once
// Small conversions the UI classes use to answer valueForKey: an object or
// nil, an optional text or nil, a list of objects as an array.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/Value.h"

namespace trc::ui {

template <class T>
core::Value objectOrNil(const std::shared_ptr<T>& object) {
    return object ? core::Value(object) : core::Value();
}

inline core::Value textOrNil(const std::optional<std::string>& text) {
    return text ? core::Value(*text) : core::Value();
}

template <class T>
core::Value objectArray(const std::vector<std::shared_ptr<T>>& objects) {
    core::Array a;
    a.reserve(objects.size());
    for (const auto& o : objects) a.emplace_back(o);
    return core::Value(std::move(a));
}

template <class T>
core::Value valueArray(const std::vector<T>& values) {
    core::Array a;
    a.reserve(values.size());
    for (const auto& v : values) a.emplace_back(v);
    return core::Value(std::move(a));
}

}  // namespace trc::ui
