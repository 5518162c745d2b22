#include "platform/foundation/DateFormatter.h"

#include "platform/foundation/internal/KeptDateFormats.h"

namespace trc::foundation {

const char* dateFormatterStyleName(DateFormatter::Style style) {
    switch (style) {
    case DateFormatter::Style::None: return "none";
    case DateFormatter::Style::Short: return "short";
    case DateFormatter::Style::Medium: return "medium";
    case DateFormatter::Style::Long: return "long";
    case DateFormatter::Style::Full: return "full";
    }
    return "none";
}

std::string DateFormatter::string(core::Date date) const {
    std::string text;
    format(date, text);
    return text;
}

void DateFormatter::format(core::Date date, std::string& text) const {
    if (dateFormat_.empty() && dateStyle_ == Style::None && timeStyle_ == Style::None) {
        text.clear();
        return;
    }
    internal::KeptDateFormats::format(*this, date, text);
}

}  // namespace trc::foundation
