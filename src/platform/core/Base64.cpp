#include "platform/core/Base64.h"

#include <sodium.h>

namespace trc::core {

std::string Base64::encode(const Data& data) { return encode(data.data(), data.size()); }

namespace {

std::string encoded(const std::uint8_t* bytes, std::size_t size, int variant) {
    std::string out(sodium_base64_ENCODED_LEN(size, variant), '\0');
    sodium_bin2base64(out.data(), out.size(), bytes, size, variant);
    out.resize(out.size() - 1);  // the terminating NUL
    return out;
}

}  // namespace

std::string Base64::encode(const std::uint8_t* bytes, std::size_t size) {
    return encoded(bytes, size, sodium_base64_VARIANT_ORIGINAL);
}

std::string Base64::encodeURLSafe(const std::uint8_t* bytes, std::size_t size) {
    return encoded(bytes, size, sodium_base64_VARIANT_URLSAFE_NO_PADDING);
}

std::optional<Data> Base64::decode(std::string_view text) {
    Data out(text.size() / 4 * 3 + 3);
    std::size_t len = 0;
    const char* end = nullptr;
    if (sodium_base642bin(out.data(), out.size(), text.data(), text.size(), nullptr, &len, &end,
                          sodium_base64_VARIANT_ORIGINAL) != 0) {
        return std::nullopt;
    }
    if (end != text.data() + text.size()) return std::nullopt;
    out.resize(len);
    return out;
}

}  // namespace trc::core
