#pragma once
// One stylesheet class in a view's style class path. Equal when the class
// names are equal. A plain value.

#include <string>
#include <vector>

#include "platform/core/Value.h"

namespace trc::vessa {

struct VessaStyle {
    std::string styleClass;
    friend bool operator==(const VessaStyle&, const VessaStyle&) = default;
};

// The class names of a style class path, for valueForKey.
inline core::Value styleClassNames(const std::vector<VessaStyle>& path) {
    core::Array names;
    for (const auto& s : path) names.emplace_back(s.styleClass);
    return core::Value(std::move(names));
}

}  // namespace trc::vessa
