#include "services/AppConfig.h"

#include <arpa/inet.h>
#include <curl/curl.h>
#include <sodium.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/core/ClassInfo.h"
#include "platform/core/ProcessState.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/foundation/AtomicFile.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/URL.h"
#include "platform/foundation/URLAuthority.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIView.h"
#include "platform/ui/UIWindow.h"
#include "services/EULAFileLocator.h"

namespace trc::services {

namespace fs = std::filesystem;
using core::Value;

namespace {

constexpr const char* kVendorIdentifierFile = "DeviceVendorIdentifier";

std::shared_ptr<AppConfig>& sharedSlot() {
    static std::shared_ptr<AppConfig> instance;
    return instance;
}

std::string asciiCase(std::string_view s, bool upper) {
    std::string out(s);
    for (char& c : out) {
        const auto u = static_cast<unsigned char>(c);
        c = static_cast<char>(upper ? std::toupper(u) : std::tolower(u));
    }
    return out;
}

// A domain or host as compared: lower case, without a trailing dot; a domain
// also without a leading "*." or ".", which mean the same as the bare domain.
std::string normalizedHost(std::string_view host) {
    while (!host.empty() && host.back() == '.') host.remove_suffix(1);
    return asciiCase(host, false);
}

std::string normalizedDomain(std::string_view domain) {
    while (!domain.empty() && std::isspace(static_cast<unsigned char>(domain.front()))) domain.remove_prefix(1);
    while (!domain.empty() && std::isspace(static_cast<unsigned char>(domain.back()))) domain.remove_suffix(1);
    if (domain.starts_with("*.")) domain.remove_prefix(2);
    while (!domain.empty() && domain.front() == '.') domain.remove_prefix(1);
    return normalizedHost(domain);
}

struct UrlHost {
    std::string host;  // as the network layer reads it, normalised
    foundation::URLAuthority::HostKind kind = foundation::URLAuthority::HostKind::name;
    long port = 0;  // explicit or the scheme's default; 0 when neither
};

std::optional<in6_addr> ipv6Address(std::string_view text) {
    if (text.size() >= 2 && text.front() == '[' && text.back() == ']') text = text.substr(1, text.size() - 2);
    in6_addr address{};
    if (inet_pton(AF_INET6, std::string(text).c_str(), &address) != 1) return std::nullopt;
    return address;
}

bool sameIPv6(std::string_view a, std::string_view b) {
    const std::optional<in6_addr> x = ipv6Address(a);
    const std::optional<in6_addr> y = ipv6Address(b);
    return x && y && std::memcmp(x->s6_addr, y->s6_addr, sizeof x->s6_addr) == 0;
}

// A host name lies in a domain when it is the domain or below it at a dot
// boundary; an address is in no domain but its own.
bool hostInDomain(const UrlHost& url, const std::string& domain) {
    using Kind = foundation::URLAuthority::HostKind;
    if (domain.empty()) return false;
    if (url.kind == Kind::ipv6) return sameIPv6(url.host, domain);
    const std::string& host = url.host;
    if (host == domain) return true;
    if (url.kind == Kind::ipv4) return false;
    return host.size() > domain.size() && host.ends_with(domain) && host[host.size() - domain.size() - 1] == '.';
}

// The host of a URL text, only when its authority reads the same to every
// common reader of URLs (URLAuthority) and libcurl's parser, which a
// transfer uses, finds that very host; nothing otherwise.
std::optional<UrlHost> parseUrlHost(std::string_view text) {
    const std::optional<foundation::URLAuthority> authority = foundation::URLAuthority::parse(text);
    if (!authority) return std::nullopt;
    std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> url(curl_url(), curl_url_cleanup);
    if (!url) return std::nullopt;
    const std::string owned(text);
    if (curl_url_set(url.get(), CURLUPART_URL, owned.c_str(), CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK) {
        return std::nullopt;
    }
    char* host = nullptr;
    if (curl_url_get(url.get(), CURLUPART_HOST, &host, 0) != CURLUE_OK || !host) return std::nullopt;
    UrlHost out;
    out.kind = authority->hostKind;
    out.host = normalizedHost(authority->host);
    const std::string curlHost = normalizedHost(host);
    curl_free(host);
    const bool agree =
        out.kind == foundation::URLAuthority::HostKind::ipv6 ? sameIPv6(curlHost, out.host) : curlHost == out.host;
    if (!agree) {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                                       "two readings of a URL's host differ; the URL is refused");
        return std::nullopt;
    }
    char* port = nullptr;
    if (curl_url_get(url.get(), CURLUPART_PORT, &port, CURLU_DEFAULT_PORT) == CURLUE_OK && port) {
        out.port = std::strtol(port, nullptr, 10);
        curl_free(port);
    }
    if (out.host.empty()) return std::nullopt;
    return out;
}

// The strings of the list under key; any other element is skipped and logged.
std::vector<std::string> stringList(const core::Dictionary& params, const char* key) {
    std::vector<std::string> out;
    const Value* v = params.find(key);
    if (!v || v->isNothing()) return out;
    const core::Array* list = v->ifArray();
    if (!list) {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                                       std::string("\"") + key + "\" is not a list; ignored");
        return out;
    }
    for (const Value& e : *list) {
        if (const std::string* s = e.ifString()) {
            out.push_back(*s);
        } else {
            core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                                           std::string("an entry of \"") + key + "\" is not a string; skipped");
        }
    }
    return out;
}

bool isUuidText(std::string_view s) {
    if (s.size() != 36) return false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const bool dash = i == 8 || i == 13 || i == 18 || i == 23;
        if (dash ? s[i] != '-' : !std::isxdigit(static_cast<unsigned char>(s[i]))) return false;
    }
    return true;
}

std::optional<std::string> newUuidText() {
    if (sodium_init() < 0) return std::nullopt;
    std::array<std::uint8_t, 16> b{};
    randombytes_buf(b.data(), b.size());
    b[6] = static_cast<std::uint8_t>((b[6] & 0x0F) | 0x40);  // version 4: random
    b[8] = static_cast<std::uint8_t>((b[8] & 0x3F) | 0x80);  // RFC 4122 variant
    char text[37];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X", b[0], b[1],
                  b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
    return std::string(text);
}

const std::string* stringSetting(const core::Dictionary& settings, const char* key) {
    const Value* v = settings.find(key);
    return v ? v->ifString() : nullptr;
}

}  // namespace

const core::ClassInfo& AppConfig::classInfo() {
    auto text = [](const std::optional<std::string>& t) { return t ? Value(*t) : Value(); };
    static const core::ClassInfo& info =
        core::ClassBuilder<AppConfig>("AppConfig", core::Object::classInfo())
            .classMethod("sharedInstance", [](core::Args) { return Value(sharedInstance()); })
            .property("connectionSettings", [](const AppConfig& c) { return Value(c.connectionSettings_); })
            .property("data", [](const AppConfig& c) { return Value(c.data_); })
            .property("isOnboarding", [](const AppConfig& c) { return Value(c.isOnboarding_); })
            .property("encryptDatabase", [](const AppConfig& c) { return Value(c.encryptDatabase_); })
            .property("passcodeSource",
                      [](const AppConfig& c) { return Value(static_cast<long long>(c.passcodeSource_)); })
            .property("isDemoAvailable",
                      [](const AppConfig& c) { return c.isDemoAvailable_ ? Value(*c.isDemoAvailable_) : Value(); })
            .property("appLabel", [text](const AppConfig& c) { return text(c.appLabel_); })
            .property("detailLabel", [text](const AppConfig& c) { return text(c.detailLabel_); })
            .property("welcomeDetailLabel", [text](const AppConfig& c) { return text(c.welcomeDetailLabel_); })
            .property("signinButtonText", [text](const AppConfig& c) { return text(c.signinButtonText_); })
            .property("demoButtonText", [text](const AppConfig& c) { return text(c.demoButtonText_); })
            .property("credentialStore",
                      [](const AppConfig& c) { return c.credentialStore_ ? Value(c.credentialStore_) : Value(); })
            .property("zelURLSession",
                      [](const AppConfig& c) { return c.zelURLSession_ ? Value(c.zelURLSession_) : Value(); })
            .property("blurView", [](const AppConfig& c) { return c.blurView_ ? Value(c.blurView_) : Value(); })
            .build();
    return info;
}

std::shared_ptr<AppConfig> AppConfig::sharedInstance() {
    auto& slot = sharedSlot();
    if (!slot) {
        core::ProcessState::registerReset("services.AppConfig", [] { sharedSlot().reset(); });
        slot = std::make_shared<AppConfig>();
    }
    return slot;
}

std::shared_ptr<ui::UIViewController> AppConfig::getRootViewController() const {
    auto window = ui::UIApplication::shared()->keyWindow();
    if (!window) return nullptr;
    auto root = window->rootViewController();
    if (!root || std::dynamic_pointer_cast<ui::UINavigationController>(root)) return root;
    for (const auto& child : root->children()) {
        if (std::dynamic_pointer_cast<ui::UINavigationController>(child)) return child;
    }
    return root;
}

const std::vector<std::string>& AppConfig::requiredConnectionKeys() {
    static const std::vector<std::string> keys{kApplicationID, kClientId,        kVornURL, kAuthorizationEndpointURL,
                                               kRedirectURL,   kTokenEndpointURL};
    return keys;
}

const std::vector<std::string>& AppConfig::builtInAllowedDomains() {
    static const std::vector<std::string> none;
    return none;
}

void AppConfig::setAllowedDomains(const core::Dictionary& params) {
    allowedDomains_ = stringList(params, kAllowedDomainsKey);
}

void AppConfig::setAppSchemeAllowedDomains(const core::Dictionary& params) {
    appSchemeAllowedDomains_ = stringList(params, kAppSchemeAllowedDomainsKey);
}

void AppConfig::setCacheSettings(const core::Dictionary& params) {
    const Value* v = params.find(kCacheSettingsKey);
    const core::Dictionary* d = v ? v->ifDictionary() : nullptr;
    if (v && !v->isNothing() && !d) {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                                       std::string("\"") + kCacheSettingsKey + "\" is not a dictionary; ignored");
    }
    cacheSettings_ = d ? *d : core::Dictionary{};
}

bool AppConfig::isAllowedDomain(std::string_view key, std::string_view value) const {
    const std::optional<UrlHost> url = parseUrlHost(value);
    if (!url) return false;
    auto inAny = [&](const std::vector<std::string>& domains) {
        return std::any_of(domains.begin(), domains.end(),
                           [&](const std::string& d) { return hostInDomain(*url, normalizedDomain(d)); });
    };
    if (inAny(builtInAllowedDomains()) || inAny(allowedDomains_)) return true;
    return key == kRedirectUrlKey && inAny(appSchemeAllowedDomains_);
}

void AppConfig::takeScannedConnectionSettings() {
    // A scanned code's connection values win over the host's; the host's other
    // values ("connectionInfoToastMessage", "allowCerts", "enableOverrides")
    // are never replaced by a stale copy.
    if (std::optional<core::Dictionary> scanned =
            foundation::UserDefaults::shared().dictionaryForKey(kScannedConnectionSettingsKey)) {
        for (const std::string& key : requiredConnectionKeys()) {
            if (const Value* v = scanned->find(key)) connectionSettings_.set(key, *v);
        }
    }
}

bool AppConfig::isAppConnectionSettingsValidForOnboarding() {
    takeScannedConnectionSettings();
    return areConnectionSettingsValid(connectionSettings_);
}

bool AppConfig::areConnectionSettingsValid(const core::Dictionary& settings) {
    for (const std::string& key : requiredConnectionKeys()) {
        const Value* v = settings.find(key);
        if (!v) continue;
        if (v->isNothing()) return false;
        if (const std::string* s = v->ifString(); s && *s == kDefaultData) return false;
    }
    return true;
}

std::string AppConfig::getAuthenticationPath(const Value& appID) {
    const std::string* text = appID.ifString();
    if (!text && !appID.isNothing()) {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                                       "the application id is not a string; an empty one is used");
    }
    // An identifier from a scanned code may hold anything; it never leaves its segment.
    const std::string id = foundation::URL::pathSegment(text ? *text : std::string());
    return "mobileservices/application/" + id + "/Storage/v1/runtime/application/" + id + "/device/" +
           deviceVendorIdentifier().value_or(kNoVendorIdentifier);
}

core::Dictionary AppConfig::getAppConnectionSettings() const {
    core::Dictionary out;
    const std::string* vorn = stringSetting(connectionSettings_, kVornURL);
    std::string protocol = "https";
    if (vorn) {
        if (std::optional<UrlHost> url = parseUrlHost(*vorn)) {
            out.set("host", url->host);
            out.set("port", url->port > 0 ? url->port : 443L);
            // A server the host names with plain http is spoken to so, not
            // silently over another scheme.
            if (asciiCase(vorn->substr(0, 7), false) == "http://") protocol = "http";
        }
    }
    out.set("protocol", protocol);

    core::Dictionary client;
    if (const std::string* s = stringSetting(connectionSettings_, kClientId)) client.set("clientID", *s);
    if (const std::string* s = stringSetting(connectionSettings_, kRedirectURL)) client.set("redirectURL", *s);
    core::Dictionary config;
    if (const std::string* s = stringSetting(connectionSettings_, kAuthorizationEndpointURL)) {
        config.set("oauth2.authorizationEndpoint", *s);
    }
    if (const std::string* s = stringSetting(connectionSettings_, kTokenEndpointURL)) {
        config.set("oauth2.tokenEndpoint", *s);
    }
    if (vorn) config.set("oauth2.endUserUI", *vorn);
    config.set("oauth2.clients", core::Array{std::move(client)});
    out.set("auth", core::Array{core::Dictionary{{"type", "oauth2"}, {"config", std::move(config)}}});
    return out;
}

std::optional<std::string> AppConfig::deviceVendorIdentifier() {
    if (vendorIdentifier_) return vendorIdentifier_;
    const fs::path file = foundation::Sandbox::root() / "Library" / kVendorIdentifierFile;
    std::error_code ec;
    std::optional<std::string> stored = foundation::AtomicFile::read(file, ec);
    if (stored && isUuidText(*stored)) {
        vendorIdentifier_ = asciiCase(*stored, true);
        return vendorIdentifier_;
    }
    if (ec) {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::error,
                                       "cannot read the device identifier: " + ec.message());
        return std::nullopt;  // unreadable is not absent: keep what may be there
    }
    std::optional<std::string> made = newUuidText();
    if (!made) return std::nullopt;
    if (!foundation::AtomicFile::write(file, *made, fs::perms::owner_read | fs::perms::owner_write, ec)) {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::error,
                                       "cannot keep the device identifier: " + ec.message());
        return std::nullopt;
    }
    vendorIdentifier_ = made;
    return vendorIdentifier_;
}

void AppConfig::addBlurScreen(bool modalFlag) {
    auto window = ui::UIApplication::shared()->keyWindow();
    if (!window) return;
    std::shared_ptr<ui::UIView> over = window;
    if (auto root = window->rootViewController()) {
        auto shown = root;
        if (modalFlag)
            while (shown->presentedViewController()) shown = shown->presentedViewController();
        over = shown->view();
    }
    if (!blurView_) {
        blurView_ = std::make_shared<ui::UIView>(window->bounds());
        blurView_->nuiClass = "BlurView";
    }
    over->addSubview(blurView_);
}

void AppConfig::removeBlur() {
    if (!blurView_) return;
    blurView_->removeFromSuperview();
    blurView_.reset();
}

bool AppConfig::getEULA() {
    std::optional<EULAFileLocator::File> found = EULAFileLocator::find(*foundation::Bundle::main());
    eulaFile_ = found ? std::optional<std::string>(found->path.string()) : std::nullopt;
    eulaIsHTML_ = found && found->isHTML;
    return found.has_value();
}

std::string AppConfig::getEULAContent() {
    if (!eulaFile_ && !getEULA()) return kEULALoadFailedText;
    std::optional<std::string> text = EULAFileLocator::read({*eulaFile_, eulaIsHTML_});
    return text ? *text : std::string(kEULALoadFailedText);
}

}  // namespace trc::services
