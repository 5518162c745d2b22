#include "platform/ui/UIColor.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace trc::ui {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

int toByte(double component) {
    return static_cast<int>(std::lround(std::clamp(component, 0.0, 1.0) * 255.0));
}

}  // namespace

std::optional<UIColor> UIColor::fromHexString(std::string_view text) {
    if (!text.empty() && text.front() == '#') text.remove_prefix(1);
    if (text.size() != 3 && text.size() != 6 && text.size() != 8) return std::nullopt;
    int digits[8];
    for (std::size_t i = 0; i < text.size(); ++i) {
        digits[i] = hexDigit(text[i]);
        if (digits[i] < 0) return std::nullopt;
    }
    // The short form repeats each digit: "F80" is "FF8800".
    auto component = [&](std::size_t i) {
        int v = text.size() == 3 ? digits[i] * 17 : digits[2 * i] * 16 + digits[2 * i + 1];
        return v / 255.0;
    };
    return UIColor(component(0), component(1), component(2), text.size() == 8 ? component(3) : 1.0);
}

std::string UIColor::hexString() const {
    char buf[10];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X%02X", toByte(red_), toByte(green_), toByte(blue_), toByte(alpha_));
    return buf;
}

}  // namespace trc::ui
