#include "platform/vessa/NUISettings.h"

#include <charconv>
#include <cmath>

#include "platform/core/ProcessState.h"

namespace trc::vessa {

namespace {

using Sheet = std::map<std::string, std::map<std::string, std::string, std::less<>>, std::less<>>;

Sheet& sheet() {
    static Sheet s;
    return s;
}

[[maybe_unused]] const bool kResetRegistered = [] {
    core::ProcessState::registerReset("vessa.NUISettings", [] { sheet().clear(); });
    return true;
}();

}  // namespace

void NUISettings::setProperty(const std::string& styleClass, const std::string& property, std::string value) {
    sheet()[styleClass][property] = std::move(value);
}

void NUISettings::clear() { sheet().clear(); }

std::optional<std::string> NUISettings::get(std::string_view property, std::string_view styleClass) {
    const auto& s = sheet();
    auto cls = s.find(styleClass);
    if (cls == s.end()) return std::nullopt;
    auto prop = cls->second.find(property);
    if (prop == cls->second.end()) return std::nullopt;
    return prop->second;
}

std::optional<ui::UIColor> NUISettings::getColor(std::string_view property, std::string_view styleClass) {
    auto text = get(property, styleClass);
    return text ? ui::UIColor::fromHexString(*text) : std::nullopt;
}

std::optional<double> NUISettings::getFloat(std::string_view property, std::string_view styleClass) {
    auto text = get(property, styleClass);
    if (!text) return std::nullopt;
    double value = 0;
    const char* end = text->data() + text->size();
    auto [ptr, ec] = std::from_chars(text->data(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace trc::vessa
