#pragma once
// A colour as four components from 0 to 1. A plain value: views hold it in
// std::optional, where "no colour" is the default look.
//
// fromHexString() reads "#RRGGBB", "RRGGBB", "#RRGGBBAA" and "RRGGBBAA"
// (either case); anything else gives no colour, never a made-up one.

#include <optional>
#include <string>
#include <string_view>

namespace trc::ui {

struct UIColor {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;

    static UIColor clear() { return {0, 0, 0, 0}; }
    static UIColor black() { return {0, 0, 0, 1}; }
    static UIColor white() { return {1, 1, 1, 1}; }
    static std::optional<UIColor> fromHexString(std::string_view text);
    // "#RRGGBB", or "#RRGGBBAA" when not opaque.
    std::string hexString() const;

    friend bool operator==(const UIColor&, const UIColor&) = default;
};

}  // namespace trc::ui
