#include "platform/flows/ZELvornSettingsParameters.h"

#include "platform/foundation/URL.h"

namespace trc::flows {

std::optional<std::string> ZELvornSettingsParameters::defaultDeviceID;

std::string ZELvornSettingsParameters::url(const std::string& path) const {
    std::string base = backendURL;
    while (!base.empty() && base.back() == '/') base.pop_back();
    std::size_t start = 0;
    while (start < path.size() && path[start] == '/') ++start;
    return base + "/" + path.substr(start);
}

std::string ZELvornSettingsParameters::applicationURL(const std::string& rest) const {
    return url("mobileservices/application/" + foundation::URL::pathSegment(applicationID) + "/" + rest);
}

std::string ZELvornSettingsParameters::description() const {
    return "ZELvornSettingsParameters(backendURL: " + backendURL + ", applicationID: " + applicationID +
           ", authenticationPath: " + authenticationPath.value_or("nil") + ", deviceID: " + deviceID.value_or("nil") +
           ")";
}

}  // namespace trc::flows
