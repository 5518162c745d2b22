#include "platform/foundation/UUID.h"

#include <uuid/uuid.h>

#include <cstring>

namespace trc::foundation {

UUID::UUID() {
    uuid_t raw;
    uuid_generate_random(raw);
    std::memcpy(bytes_.data(), raw, bytes_.size());
}

std::optional<UUID> UUID::fromString(std::string_view text) {
    // uuid_parse wants exactly 36 characters and a terminator.
    if (text.size() != 36) return std::nullopt;
    std::string copy(text);
    uuid_t raw;
    if (uuid_parse(copy.c_str(), raw) != 0) return std::nullopt;
    UUID id{Raw{}};
    std::memcpy(id.bytes_.data(), raw, id.bytes_.size());
    return id;
}

std::string UUID::uuidString() const {
    uuid_t raw;
    std::memcpy(raw, bytes_.data(), bytes_.size());
    char text[37];
    uuid_unparse_upper(raw, text);
    return text;
}

}  // namespace trc::foundation
