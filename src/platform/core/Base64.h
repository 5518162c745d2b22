#pragma once
// Base64 (standard alphabet, padded) over libsodium. Decoding is strict: no
// white space, no missing padding; a malformed text gives no data. Also the
// URL-safe alphabet without padding (RFC 4648 §5), as PKCE writes its code
// challenges.

#include <optional>
#include <string>
#include <string_view>

#include "platform/core/Value.h"

namespace trc::core {

class Base64 {
public:
    static std::string encode(const Data& data);
    static std::string encode(const std::uint8_t* bytes, std::size_t size);
    static std::string encodeURLSafe(const std::uint8_t* bytes, std::size_t size);
    static std::optional<Data> decode(std::string_view text);
};

}  // namespace trc::core
