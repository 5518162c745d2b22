#pragma once
// The mobile-services settings of an onboarding: the server's backend URL,
// the application identifier, the authentication path and the device
// identifier. Made by the discovery transformer, read by the session
// configuration, settings download, network check and user-roles steps.
// Its description is safe to log: it never holds a token or a passcode.

#include <optional>
#include <string>

namespace trc::flows {

class ZELvornSettingsParameters {
public:
    std::string backendURL;
    std::string applicationID;
    std::optional<std::string> authenticationPath;
    std::optional<std::string> deviceID;

    // The device identifier of the process, set by the session configuration
    // step when the settings name one; none at start.
    static std::optional<std::string> defaultDeviceID;

    // backendURL joined with a relative path, one slash between.
    std::string url(const std::string& path) const;
    // The URL of rest under the application's own path on the server:
    // <backend>/mobileservices/application/<id>/<rest>, the identifier
    // always one path segment whatever it holds.
    std::string applicationURL(const std::string& rest) const;
    std::string description() const;
};

}  // namespace trc::flows
