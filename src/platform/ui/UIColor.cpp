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

int component(double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255)); }

}  // namespace

std::optional<UIColor> UIColor::fromHexString(std::string_view text) {
    if (!text.empty() && text.front() == '#') text.remove_prefix(1);
    if (text.size() != 6 && text.size() != 8) return std::nullopt;
    double parts[4] = {0, 0, 0, 1};
    for (std::size_t i = 0; i < text.size() / 2; ++i) {
        int hi = hexDigit(text[2 * i]);
        int lo = hexDigit(text[2 * i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        parts[i] = (hi * 16 + lo) / 255.0;
    }
    return UIColor{parts[0], parts[1], parts[2], parts[3]};
}

std::string UIColor::hexString() const {
    char buf[10];
    if (component(alpha) == 255) {
        std::snprintf(buf, sizeof buf, "#%02X%02X%02X", component(red), component(green), component(blue));
    } else {
        std::snprintf(buf, sizeof buf, "#%02X%02X%02X%02X", component(red), component(green), component(blue),
                      component(alpha));
    }
    return buf;
}

}  // namespace trc::ui
