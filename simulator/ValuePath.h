#pragma once
// Walks a dotted path ("connectionSettings.applicationID", "0.1.Value",
// "requests.0.headers.Accept") into a host value, as check steps do: a
// dictionary key, an array index or an object's property (valueForKey;
// "class" gives the class name) per segment.
//
// Nothing there (a missing key, an index past the end, a walk on through nil
// or the null object) gives nullopt, which only {"$absent": true} matches; a
// property that holds nil gives nil. A segment that cannot apply (a property
// the object does not have, an index that is not a number, a walk into a
// text or a number) throws ScenarioError naming the segment.
//
// Stateless; main thread (properties may touch views).

#include <optional>
#include <string_view>

#include "platform/core/Value.h"

namespace trc::simulator {

class ValuePath {
public:
    static constexpr std::string_view kClassKey = "class";

    // With foldCase, dictionary keys match regardless of letter case (HTTP
    // header names).
    static std::optional<core::Value> walk(const std::optional<core::Value>& root, std::string_view path,
                                           bool foldCase = false);
    static std::optional<core::Value> step(const core::Value& from, std::string_view segment, bool foldCase = false);
};

}  // namespace trc::simulator
