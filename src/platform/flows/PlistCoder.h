#pragma once
// Codes host values as binary property lists (libplist): data, strings,
// booleans, integers, doubles, dates, arrays and dictionaries. Nil, the null
// object and object references have no property-list form and are refused.
// Decoding checks what it reads: bytes that are not a property list, and
// lists holding what has no value here (a text with a NUL, a date that is
// not a finite number of seconds within the 32-bit range from 2001), throw a
// CodingError, never crash. Any thread; no state.

#include "platform/core/Value.h"

namespace trc::flows {

class PlistCoder {
public:
    // Throws CodingError for a value without a property-list form.
    core::Data encode(const core::Value& value) const;
    // Throws CodingError for bytes that are not a property list.
    core::Value decode(const core::Data& data) const;
};

}  // namespace trc::flows
