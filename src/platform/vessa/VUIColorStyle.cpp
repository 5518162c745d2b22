#include "platform/vessa/VUIColorStyle.h"

namespace trc::vessa {

ui::UIColor preferredVessaColor(VUIColorStyle style) {
    const char* hex = "#0A6ED1";
    switch (style) {
    case VUIColorStyle::TintColor: hex = "#0A6ED1"; break;
    case VUIColorStyle::TintColorDark: hex = "#0854A0"; break;
    case VUIColorStyle::TintColorLight: hex = "#D1E8FF"; break;
    case VUIColorStyle::PrimaryText: hex = "#32363A"; break;
    case VUIColorStyle::SecondaryText: hex = "#6A6D70"; break;
    case VUIColorStyle::Background: hex = "#F7F7F7"; break;
    case VUIColorStyle::Negative: hex = "#BB0000"; break;
    }
    return *ui::UIColor::fromHexString(hex);
}

}  // namespace trc::vessa
