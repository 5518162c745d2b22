#pragma once
// The UI framework's stylesheet: per style class, named properties ("stroke",
// "background-color", "stroke-width"...) with their text values, and the
// typed reads views use. A class or property the stylesheet does not define
// reads as none, as does a colour or number that does not parse.
//
// One stylesheet per process, empty at start and reset with the process
// state; the application (or a test) loads its classes. Main thread only.

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/UIColor.h"

namespace trc::vessa {

class NUISettings {
public:
    static void setProperty(const std::string& styleClass, const std::string& property, std::string value);
    static void clear();

    static std::optional<std::string> get(std::string_view property, std::string_view styleClass);
    // A colour written "#RRGGBB" or "#RRGGBBAA".
    static std::optional<ui::UIColor> getColor(std::string_view property, std::string_view styleClass);
    static std::optional<double> getFloat(std::string_view property, std::string_view styleClass);
};

}  // namespace trc::vessa
