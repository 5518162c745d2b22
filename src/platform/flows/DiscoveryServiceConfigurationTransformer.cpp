#include "platform/flows/DiscoveryServiceConfigurationTransformer.h"

#include "platform/flows/ConfigurationError.h"
#include "platform/flows/OAuth2AuthenticationParameters.h"
#include "platform/flows/ZELvornSettingsParameters.h"

namespace trc::flows {

namespace {

using CE = ConfigurationError;

const core::Dictionary& dictionary(const core::Value* v, const std::string& key) {
    if (!v) throw CE(CE::Case::missingValue, key);
    if (!v->ifDictionary()) throw CE(CE::Case::invalidValue, key);
    return *v->ifDictionary();
}

std::string text(const core::Dictionary& d, const std::string& key) {
    const core::Value* v = d.find(key);
    if (!v || v->isNothing()) throw CE(CE::Case::missingValue, key);
    if (!v->ifString() || v->ifString()->empty()) throw CE(CE::Case::invalidValue, key);
    return *v->ifString();
}

const core::Dictionary& oauthEntry(const core::Dictionary& root) {
    if (const core::Value* auth = root.find("auth"); auth && auth->ifArray()) {
        for (const auto& entry : *auth->ifArray()) {
            const core::Dictionary* e = entry.ifDictionary();
            if (!e) continue;
            const core::Value* type = e->find("type");
            if (type && type->ifString() && *type->ifString() != "oauth2") continue;
            if (const core::Value* config = e->find("config"); config && config->ifDictionary())
                return *config->ifDictionary();
        }
    }
    return dictionary(root.find("config"), "config");
}

}  // namespace

DiscoveryServiceConfigurationTransformer::DiscoveryServiceConfigurationTransformer(
    std::string applicationID, std::optional<std::string> applicationVersion, std::optional<std::string> deviceID,
    std::optional<std::string> authenticationPath, CustomTransformer customTransformer)
    : applicationID(std::move(applicationID)),
      applicationVersion(std::move(applicationVersion)),
      deviceID(std::move(deviceID)),
      authenticationPath(std::move(authenticationPath)),
      customTransformer(std::move(customTransformer)) {}

OnboardingContext::Info DiscoveryServiceConfigurationTransformer::transform(const core::Value& config) {
    const core::Dictionary& root = dictionary(&config, "configuration");
    std::string protocol = "https";
    if (const core::Value* p = root.find("protocol"); p && p->ifString() && !p->ifString()->empty())
        protocol = *p->ifString();
    if (protocol != "https" && protocol != "http") throw CE(CE::Case::invalidValue, "protocol");
    std::string host = text(root, "host");
    if (host.find_first_of("/?#@ \t\r\n") != std::string::npos) throw CE(CE::Case::invalidValue, "host");
    std::string port;
    if (const core::Value* p = root.find("port"); p && !p->isNothing()) {
        if (auto n = p->ifInteger(); n && *n > 0 && *n < 65536)
            port = std::to_string(*n);
        else if (auto s = p->ifString(); s && !s->empty() && s->find_first_not_of("0123456789") == std::string::npos)
            port = *s;
        else
            throw CE(CE::Case::invalidValue, "port");
    }

    ZELvornSettingsParameters settings;
    settings.backendURL = protocol + "://" + host + (port.empty() ? "" : ":" + port);
    settings.applicationID = applicationID;
    settings.authenticationPath = authenticationPath;
    settings.deviceID = deviceID;

    const core::Dictionary& oauth = oauthEntry(root);
    OAuth2AuthenticationParameters params;
    params.authorizationEndpointURL = text(oauth, "oauth2.authorizationEndpoint");
    params.tokenEndpointURL = text(oauth, "oauth2.tokenEndpoint");
    if (const core::Value* ui = oauth.find("oauth2.endUserUI"); ui && ui->ifString())
        params.endUserUI = *ui->ifString();
    const core::Value* clients = oauth.find("oauth2.clients");
    if (!clients) throw CE(CE::Case::missingValue, "oauth2.clients");
    if (!clients->ifArray() || clients->ifArray()->empty() || !clients->ifArray()->front().ifDictionary())
        throw CE(CE::Case::invalidValue, "oauth2.clients");
    const core::Dictionary& client = *clients->ifArray()->front().ifDictionary();
    params.clientID = text(client, "clientID");
    params.redirectURL = text(client, "redirectURL");

    OnboardingContext::Info info;
    info[OnboardingInfoKey::zelvornSettingsParameters] = settings;
    info[OnboardingInfoKey::oauth2AuthenticationParameters] = params;
    if (customTransformer) customTransformer(config, info);
    return info;
}

}  // namespace trc::flows
