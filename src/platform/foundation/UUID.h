#pragma once
// A universally unique identifier (random, version 4) over libuuid. Its text
// form is the canonical upper-case one ("6F9619FF-8B86-D011-B42D-00C04FC964FF");
// parsing accepts either letter case. A plain value, any thread.

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace trc::foundation {

class UUID {
public:
    // A new random identifier.
    UUID();
    // The identifier written in text, or nothing when the text is not one.
    static std::optional<UUID> fromString(std::string_view text);

    std::string uuidString() const;
    const std::array<std::uint8_t, 16>& bytes() const { return bytes_; }

    friend bool operator==(const UUID&, const UUID&) = default;
    friend auto operator<=>(const UUID&, const UUID&) = default;

private:
    struct Raw {};
    explicit UUID(Raw) {}
    std::array<std::uint8_t, 16> bytes_{};
};

}  // namespace trc::foundation
