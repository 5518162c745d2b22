#include "onboarding/QRCodeScanValidator.h"

#include "services/AppConfig.h"

namespace trc::onboarding {

namespace {

using services::AppConfig;

std::string valueOrPlaceholder(std::string value) { return value.empty() ? AppConfig::kDefaultData : value; }

void take(const core::Dictionary& from, const char* member, QRCodeScanValidator::QRParams& into, const char* key) {
    if (const core::Value* v = from.find(member); v && v->ifString()) into[key] = valueOrPlaceholder(*v->ifString());
}

}  // namespace

const std::vector<std::string>& QRCodeScanValidator::allowedSettings() {
    static const std::vector<std::string> keys{kServerUrl, kZelCloudPlatformEndpoint, kAuthorizationEndpointUrl,
                                               kRedirectUrl, kTokenUrl};
    return keys;
}

bool QRCodeScanValidator::isScanResultValid(const std::string& scanResult, const std::vector<std::string>& urlSchemes) {
    if (scanResult.empty() || urlSchemes.empty()) return false;
    bool schemeMatches = false;
    for (const std::string& scheme : urlSchemes) {
        if (scanResult.starts_with(scheme)) {
            schemeMatches = true;
            break;
        }
    }
    if (!schemeMatches) return false;
    auto has = [&](const char* key) { return scanResult.find(key) != std::string::npos; };
    return has(kAppId) && has(kClientId) && (has(kServerUrl) || has(kZelCloudPlatformEndpoint)) &&
           has(kAuthorizationEndpointUrl) && has(kRedirectUrl) && has(kTokenUrl);
}

QRCodeScanValidator::QRParams QRCodeScanValidator::parseJsonQRResult(const core::Dictionary& jsonObj) {
    QRParams out;
    if (jsonObj.empty()) return out;
    take(jsonObj, "appID", out, kAppId);
    const core::Value* auth = jsonObj.find("auth");
    if (!auth || !auth->ifArray()) return out;
    for (const core::Value& entry : *auth->ifArray()) {
        const core::Dictionary* e = entry.ifDictionary();
        if (!e) continue;
        const core::Value* config = e->find("config");
        if (!config || !config->ifDictionary()) continue;
        const core::Dictionary& c = *config->ifDictionary();
        take(c, "oauth2.tokenEndpoint", out, kTokenUrl);
        take(c, "oauth2.authorizationEndpoint", out, kAuthorizationEndpointUrl);
        take(c, "oauth2.endUserUI", out, kServerUrl);
        const core::Value* clients = c.find("oauth2.clients");
        if (!clients || !clients->ifArray()) continue;
        for (const core::Value& client : *clients->ifArray()) {
            const core::Dictionary* cl = client.ifDictionary();
            if (!cl) continue;
            take(*cl, "clientID", out, kClientId);
            take(*cl, "redirectURL", out, kRedirectUrl);
        }
    }
    return out;
}

std::optional<QRCodeScanValidator::QRParams> QRCodeScanValidator::parseStringQRResult(const std::string& scanResult) {
    const std::size_t question = scanResult.find('?');
    if (question == std::string::npos) return std::nullopt;
    const std::string query = scanResult.substr(question + 1);
    if (query.empty()) return std::nullopt;
    QRParams out;
    std::size_t start = 0;
    while (start <= query.size()) {
        std::size_t end = query.find('&', start);
        if (end == std::string::npos) end = query.size();
        const std::string pair = query.substr(start, end - start);
        if (const std::size_t eq = pair.find('='); eq != std::string::npos && eq > 0)
            out[pair.substr(0, eq)] = valueOrPlaceholder(pair.substr(eq + 1));
        start = end + 1;
    }
    return out;
}

bool QRCodeScanValidator::isAllConnectionParamsAvailable(const QRParams& params) {
    if (params.empty()) return false;
    auto has = [&](const char* key) { return params.contains(key); };
    return has(kAppId) && has(kClientId) && (has(kServerUrl) || has(kZelCloudPlatformEndpoint)) &&
           has(kAuthorizationEndpointUrl) && has(kRedirectUrl) && has(kTokenUrl);
}

std::vector<std::pair<std::string, std::optional<std::string>>> QRCodeScanValidator::connectionSettings(
    const QRParams& params) {
    auto value = [&](const char* key) -> std::optional<std::string> {
        auto it = params.find(key);
        return it == params.end() ? std::nullopt : std::optional<std::string>(it->second);
    };
    std::optional<std::string> server = value(kServerUrl);
    if (!server) server = value(kZelCloudPlatformEndpoint);
    return {{AppConfig::kApplicationID, value(kAppId)},
            {AppConfig::kClientId, value(kClientId)},
            {AppConfig::kVornURL, server},
            {AppConfig::kAuthorizationEndpointURL, value(kAuthorizationEndpointUrl)},
            {AppConfig::kRedirectURL, value(kRedirectUrl)},
            {AppConfig::kTokenEndpointURL, value(kTokenUrl)}};
}

}  // namespace trc::onboarding
