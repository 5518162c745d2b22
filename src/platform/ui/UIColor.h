#pragma once
// A colour as the UI framework's views hold it: red, green, blue and alpha,
// each from 0 to 1. A plain value type, copied freely, any thread.
//
// fromHexString reads the texts hosts send in parameter dictionaries:
// "RRGGBB", "RRGGBBAA" or the short "RGB", each with or without a leading
// "#", hex digits in either case. Anything else gives no colour, so a typo in
// a host's parameters leaves a view's colour as it was instead of painting it
// black.

#include <optional>
#include <string>
#include <string_view>

namespace trc::ui {

class UIColor {
public:
    constexpr UIColor() = default;  // clear
    constexpr UIColor(double red, double green, double blue, double alpha = 1.0)
        : red_(red), green_(green), blue_(blue), alpha_(alpha) {}

    static std::optional<UIColor> fromHexString(std::string_view text);

    static constexpr UIColor clear() { return {0, 0, 0, 0}; }
    static constexpr UIColor black() { return {0, 0, 0, 1}; }
    static constexpr UIColor white() { return {1, 1, 1, 1}; }

    double red() const { return red_; }
    double green() const { return green_; }
    double blue() const { return blue_; }
    double alpha() const { return alpha_; }

    // "#RRGGBBAA", each component rounded to 8 bits.
    std::string hexString() const;

    friend bool operator==(const UIColor&, const UIColor&) = default;

private:
    double red_ = 0, green_ = 0, blue_ = 0, alpha_ = 0;
};

}  // namespace trc::ui
