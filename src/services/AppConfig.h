#pragma once
// The application's configuration as onboarding fills it in and the form
// cells and onboarding read it: the welcome texts, the connection settings,
// the allowed domains of connection URLs, the onboarding results handed to
// the host, and the pieces of the authenticated session.
//
// One instance per process (sharedInstance(), made on first use); a
// ProcessState reset drops it, as a relaunch would. Its values are read and
// set through accessors, on the main thread only; nothing here locks.
// It also finds the application's root navigation, puts the blur screen over
// what is shown, and finds the application's licence agreement file.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Dictionary.h"
#include "platform/core/Object.h"
#include "platform/core/Value.h"
#include "platform/flows/ZELWKNavigationDelegate.h"

namespace trc::ui {
class UIView;
class UIViewController;
}  // namespace trc::ui

namespace trc::services {

// It is also the navigation delegate of the sign-in web view (every page
// allowed), and an Object registered as "AppConfig" so that a host (and the
// host simulator's checks) can read its values by name.
class AppConfig : public core::Object, public flows::ZELWKNavigationDelegate {
    TRC_OBJECT(AppConfig)
public:
    // Keys of connectionSettings.
    static constexpr const char* kApplicationID = "applicationID";
    static constexpr const char* kClientId = "clientId";
    static constexpr const char* kVornURL = "vornURL";
    static constexpr const char* kAuthorizationEndpointURL = "authorizationEndpointURL";
    static constexpr const char* kRedirectURL = "redirectURL";
    static constexpr const char* kTokenEndpointURL = "tokenEndpointURL";
    static constexpr const char* kAllowCerts = "allowCerts";
    static constexpr const char* kConnectionInfoToastMessage = "connectionInfoToastMessage";
    static constexpr const char* kEnableOverrides = "enableOverrides";
    // The six connection values onboarding needs; the other keys are optional.
    static const std::vector<std::string>& requiredConnectionKeys();

    // Keys of the host's parameter dictionary read here.
    static constexpr const char* kAllowedDomainsKey = "AllowedDomains";
    static constexpr const char* kAppSchemeAllowedDomainsKey = "AppSchemeAllowedDomains";
    static constexpr const char* kCacheSettingsKey = "CacheSettings";
    // The user default holding the last scanned connection settings.
    static constexpr const char* kScannedConnectionSettingsKey = "ScannedConnectionSettings";
    // The connection-setting key whose URL may also lie in an app-scheme domain.
    static constexpr const char* kRedirectUrlKey = "RedirectUrl";
    // The placeholder of a connection value not yet filled in.
    static constexpr const char* kDefaultData = "safe.default.data";
    // A device without a vendor identifier has this in its authentication path.
    static constexpr const char* kNoVendorIdentifier = "empty";

    // What the licence agreement reads when its file cannot be.
    static constexpr const char* kEULALoadFailedText = "Failed to load content of EULA file.";

    static std::shared_ptr<AppConfig> sharedInstance();

    // Where presentations start: none without a key window or its root;
    // the root when it is a navigation controller; else the root's first
    // child that is one; else the root itself.
    std::shared_ptr<ui::UIViewController> getRootViewController() const;

    // The welcome texts; nothing until the host gives them.
    const std::optional<std::string>& appLabel() const { return appLabel_; }
    void setAppLabel(std::optional<std::string> text) { appLabel_ = std::move(text); }
    const std::optional<std::string>& detailLabel() const { return detailLabel_; }
    void setDetailLabel(std::optional<std::string> text) { detailLabel_ = std::move(text); }
    const std::optional<std::string>& welcomeDetailLabel() const { return welcomeDetailLabel_; }
    void setWelcomeDetailLabel(std::optional<std::string> text) { welcomeDetailLabel_ = std::move(text); }
    const std::optional<std::string>& signinButtonText() const { return signinButtonText_; }
    void setSigninButtonText(std::optional<std::string> text) { signinButtonText_ = std::move(text); }
    const std::optional<std::string>& demoButtonText() const { return demoButtonText_; }
    void setDemoButtonText(std::optional<std::string> text) { demoButtonText_ = std::move(text); }

    // Connection values by the k* keys above; a key may be present holding nil.
    const core::Dictionary& connectionSettings() const { return connectionSettings_; }
    void setConnectionSettings(core::Dictionary settings) { connectionSettings_ = std::move(settings); }
    void setConnectionSetting(std::string key, core::Value value) {
        connectionSettings_.set(std::move(key), std::move(value));
    }
    // The flow framework's credential store and URL session of the
    // authenticated client; onboarding sets them after a successful
    // onboarding or restore and clears them on reset.
    const std::shared_ptr<core::Object>& credentialStore() const { return credentialStore_; }
    void setCredentialStore(std::shared_ptr<core::Object> store) { credentialStore_ = std::move(store); }
    const std::shared_ptr<core::Object>& zelURLSession() const { return zelURLSession_; }
    void setZelURLSession(std::shared_ptr<core::Object> session) { zelURLSession_ = std::move(session); }
    // What is handed to the host after onboarding ("OfflineKey", "PasscodeSource").
    const core::Dictionary& data() const { return data_; }
    void setData(core::Dictionary data) { data_ = std::move(data); }
    const std::string& defaultData() const { return defaultData_; }
    bool encryptDatabase() const { return encryptDatabase_; }
    void setEncryptDatabase(bool encrypt) { encryptDatabase_ = encrypt; }
    // Nothing: the welcome screen keeps its own demo setting.
    std::optional<bool> isDemoAvailable() const { return isDemoAvailable_; }
    void setIsDemoAvailable(std::optional<bool> available) { isDemoAvailable_ = available; }
    bool isOnboarding() const { return isOnboarding_; }
    void setIsOnboarding(bool onboarding) { isOnboarding_ = onboarding; }
    // 0 none, 1 passcode, 2 passcode with biometrics.
    std::int64_t passcodeSource() const { return passcodeSource_; }
    void setPasscodeSource(std::int64_t source) { passcodeSource_ = source; }

    // Store the host dictionary's "AllowedDomains" / "AppSchemeAllowedDomains"
    // lists (their strings; nothing when absent or not a list) and its
    // "CacheSettings" dictionary (empty when absent or not a dictionary).
    void setAllowedDomains(const core::Dictionary& params);
    void setAppSchemeAllowedDomains(const core::Dictionary& params);
    void setCacheSettings(const core::Dictionary& params);
    const std::vector<std::string>& allowedDomains() const { return allowedDomains_; }
    const std::vector<std::string>& appSchemeAllowedDomains() const { return appSchemeAllowedDomains_; }
    const core::Dictionary& cacheSettings() const { return cacheSettings_; }
    // The domains allowed before the host adds any: none, so only what the
    // host lists is reachable.
    static const std::vector<std::string>& builtInAllowedDomains();

    // Whether the URL text's host lies in an allowed domain: equal to one, or
    // below one at a dot boundary ("a.example.com" is in "example.com",
    // "evil-example.com" is not), compared without case or a trailing dot.
    // The host is the one the network layer would connect to (userinfo and
    // port aside), and only a URL whose authority every common reader reads
    // the same way is allowed at all (foundation::URLAuthority: no backslash,
    // whitespace, control or raw non-ASCII character, one "@" at most, a
    // well-formed port); an IP address matches only itself. A URL without
    // "scheme://" and a host is not allowed. For key "RedirectUrl" the
    // app-scheme allowed domains count too.
    bool isAllowedDomain(std::string_view key, std::string_view value) const;

    // Takes the six connection values of the last scanned settings (the user
    // default "ScannedConnectionSettings") into connectionSettings when there
    // are any: a client onboarded from a code keeps the code's values, its
    // application ID among them, whatever the host passes later.
    void takeScannedConnectionSettings();
    // Takes the last scanned settings (the user default) into
    // connectionSettings when there are any, then answers whether the six
    // connection values are usable: false when one of them is present holding
    // nil, the null object or the placeholder text; values of other kinds and
    // absent keys do not count against it.
    bool isAppConnectionSettingsValidForOnboarding();
    // The same answer for a given set of settings, without taking in the
    // scanned settings first.
    static bool areConnectionSettingsValid(const core::Dictionary& settings);

    // "mobileservices/application/<id>/Storage/v1/runtime/application/<id>/device/<vendor id>",
    // the id percent-encoded as one path segment (foundation::URL::pathSegment).
    // A non-string id counts as the empty text.
    std::string getAuthenticationPath(const core::Value& appID);

    // The discovery-style configuration built from the connection settings:
    // {"host", "port", "protocol" ("http" when "vornURL" is an http URL, else
    // "https"), "auth": [{"type": "oauth2",
    // "config": {"oauth2.authorizationEndpoint", "oauth2.tokenEndpoint",
    // "oauth2.endUserUI", "oauth2.clients": [{"clientID", "redirectURL"}]}}]}
    // where "host" and "port" come from "vornURL" (443 when it names none);
    // an entry whose setting is missing or not a string is left out.
    core::Dictionary getAppConnectionSettings() const;

    // The device's vendor identifier: a UUID (upper-case text) made once and
    // kept in the sandbox; nothing when it can be neither read nor made.
    std::optional<std::string> deviceVendorIdentifier();

    // The view that hides the application's content while it is not to be
    // seen; made by addBlurScreen, nothing until then.
    const std::shared_ptr<ui::UIView>& blurView() const { return blurView_; }
    // Puts the blur view (made once) over the application: over the screen
    // presented on top when modalFlag, else over the key window's root
    // screen. Nothing happens without a key window.
    void addBlurScreen(bool modalFlag);
    // Takes the blur view away and forgets it; nothing when there is none.
    void removeBlur();
    // Whether the main bundle holds a licence agreement file (found by
    // EULAFileLocator); remembers the file found.
    bool getEULA();
    // The text of the file getEULA found (looking for it when not done
    // yet), or kEULALoadFailedText when there is none or it cannot be read.
    std::string getEULAContent();

private:
    std::optional<std::string> appLabel_;
    std::optional<std::string> detailLabel_;
    std::optional<std::string> welcomeDetailLabel_;
    std::optional<std::string> signinButtonText_;
    std::optional<std::string> demoButtonText_;
    core::Dictionary connectionSettings_;
    std::shared_ptr<core::Object> credentialStore_;
    std::shared_ptr<core::Object> zelURLSession_;
    core::Dictionary data_;
    std::string defaultData_ = kDefaultData;
    bool encryptDatabase_ = true;
    std::optional<bool> isDemoAvailable_;
    bool isOnboarding_ = false;
    std::int64_t passcodeSource_ = 0;
    std::shared_ptr<ui::UIView> blurView_;
    std::vector<std::string> allowedDomains_;
    std::vector<std::string> appSchemeAllowedDomains_;
    core::Dictionary cacheSettings_;
    std::optional<std::string> vendorIdentifier_;
    std::optional<std::string> eulaFile_;
    bool eulaIsHTML_ = false;
};

}  // namespace trc::services
