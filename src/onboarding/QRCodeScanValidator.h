#pragma once
// Reads the connection settings out of a scanned QR code, in either of its
// two formats, into one flat dictionary of QR keys ("AppId", "ClientId",
// "ServerUrl" or "ZelCloudPlatformEndpoint", "AuthorizationEndpointUrl",
// "RedirectUrl", "TokenUrl"; case matters):
// - a discovery-style JSON object: "appID", and "auth" entries whose
//   "config" holds "oauth2.tokenEndpoint", "oauth2.authorizationEndpoint",
//   "oauth2.endUserUI" and "oauth2.clients" ({"clientID", "redirectURL"});
//   later entries win, members of other kinds are ignored;
// - a URL of one of the application's own schemes whose query holds
//   key=value pairs joined by "&": the value is everything after the first
//   "=" (a second "=" stays in it), nothing is percent-decoded, a pair
//   without "=" or with an empty key is skipped, a repeated key keeps its
//   last value.
// An empty value, in either format, becomes the placeholder text
// (AppConfig::kDefaultData), so such a code is never taken as complete
// settings. Stateless; any thread; never throws for any input.

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/Value.h"

namespace trc::onboarding {

class QRCodeScanValidator {
public:
    using QRParams = std::map<std::string, std::string, std::less<>>;

    static constexpr const char* kAppId = "AppId";
    static constexpr const char* kClientId = "ClientId";
    static constexpr const char* kServerUrl = "ServerUrl";
    static constexpr const char* kZelCloudPlatformEndpoint = "ZelCloudPlatformEndpoint";
    static constexpr const char* kAuthorizationEndpointUrl = "AuthorizationEndpointUrl";
    static constexpr const char* kRedirectUrl = "RedirectUrl";
    static constexpr const char* kTokenUrl = "TokenUrl";

    // The QR keys whose values are URLs that must lie in an allowed domain.
    static const std::vector<std::string>& allowedSettings();

    // The plain-text pre-check: a non-empty text starting with one of the
    // schemes (exactly, in order) and naming every key somewhere.
    static bool isScanResultValid(const std::string& scanResult, const std::vector<std::string>& urlSchemes);
    static QRParams parseJsonQRResult(const core::Dictionary& jsonObj);
    // Nothing when the text has no "?" or nothing after it.
    static std::optional<QRParams> parseStringQRResult(const std::string& scanResult);
    static bool isAllConnectionParamsAvailable(const QRParams& params);

    // The six connection settings (AppConfig keys) a complete code gives:
    // each the QR value, or nothing when the code lacks it.
    static std::vector<std::pair<std::string, std::optional<std::string>>> connectionSettings(const QRParams& params);
};

}  // namespace trc::onboarding
