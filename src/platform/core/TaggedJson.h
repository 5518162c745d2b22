#pragma once
// Reads back what Json::write(..., Style::Tagged) writes: the one-key objects
// {"$date": "<ISO-8601>"}, {"$data": "<Base64>"} and {"$null": true} become a
// date, binary data and the null object again, and JSON null becomes nil.
// Persisted stores (user defaults) and the host simulator use it so dates and
// data survive a round trip through text.
//
// Caveat: a plain dictionary whose only key is one of these tags reads back as
// the tagged kind; {"$object": ...} cannot be made into an object and stays a
// dictionary. Stateless; any thread.

#include <optional>
#include <string_view>

#include "platform/core/Json.h"
#include "platform/core/Value.h"

namespace trc::core {

class TaggedJson {
public:
    // Throws JsonError for malformed JSON or a tag with a malformed content.
    static Value read(std::string_view text);
    // The tagged kind a one-key dictionary stands for, or nullopt when it is
    // not one of the tags. Throws JsonError when the tag's content is malformed.
    static std::optional<Value> fromTag(const Dictionary& dictionary);
    // Replaces every tag inside value, at any depth.
    static Value untag(const Value& value);
};

}  // namespace trc::core
