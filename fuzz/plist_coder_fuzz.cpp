// Feeds arbitrary bytes to the property-list coder the credential store's
// entries go through. Bytes that are not a property list must end in a
// CodingError; a value that was read must encode and decode to itself (a
// date to within two microseconds: property lists count from 2001, the
// library from 1970, and libplist cuts a date's microseconds off; within the
// second before 2001 it loses the sign of the fraction).

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/flows/CodingError.h"
#include "platform/flows/PlistCoder.h"

namespace {

using trc::core::Value;
constexpr double kReferenceDate = 978307200.0;  // 2001-01-01T00:00:00Z

bool same(const Value& a, const Value& b) {
    if (a.kind() != b.kind()) return false;
    if (const auto* d = a.ifDate()) {
        const double x = d->secondsSince1970 - kReferenceDate, y = b.ifDate()->secondsSince1970 - kReferenceDate;
        return std::fabs(x - y) < 2e-6 || (std::fabs(x) < 1 && std::fabs(std::fabs(x) - std::fabs(y)) < 2e-6);
    }
    if (const auto* list = a.ifArray()) {
        const auto& other = *b.ifArray();
        if (list->size() != other.size()) return false;
        for (std::size_t i = 0; i < list->size(); ++i)
            if (!same((*list)[i], other[i])) return false;
        return true;
    }
    if (const auto* dict = a.ifDictionary()) {
        const auto& other = *b.ifDictionary();
        if (dict->size() != other.size()) return false;
        for (const auto& [key, value] : *dict) {
            const Value* there = other.find(key);
            if (!there || !same(value, *there)) return false;
        }
        return true;
    }
    return a == b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const trc::flows::PlistCoder coder;
    trc::core::Value value;
    try {
        value = coder.decode(trc::core::Data(data, data + size));
    } catch (const trc::flows::CodingError&) {
        return 0;
    }
    trc::core::Data encoded;
    try {
        encoded = coder.encode(value);
    } catch (const trc::flows::CodingError&) {
        return 0;  // a value without a property-list form (nil inside)
    }
    if (!same(coder.decode(encoded), value)) std::abort();
    return 0;
}
