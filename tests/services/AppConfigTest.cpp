#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "FreshSandboxTest.h"
#include "platform/core/Json.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/UserDefaults.h"
#include "platform/ui/UIView.h"
#include "platform/ui/UIViewController.h"
#include "platform/ui/UIWindow.h"
#include "services/AppConfig.h"

using namespace trc;
using core::Value;
using services::AppConfig;
namespace fs = std::filesystem;

class AppConfigState : public trc::testing::FreshSandboxTest {
protected:
    std::shared_ptr<AppConfig> config() { return AppConfig::sharedInstance(); }
};

TEST_F(AppConfigState, StartsEmptyAndResetsWithTheProcess) {
    auto c = config();
    EXPECT_EQ(c, AppConfig::sharedInstance());
    EXPECT_FALSE(c->appLabel());
    EXPECT_TRUE(c->connectionSettings().empty());
    EXPECT_TRUE(c->data().empty());
    EXPECT_EQ(c->defaultData(), "safe.default.data");
    EXPECT_TRUE(c->encryptDatabase());
    EXPECT_FALSE(c->isDemoAvailable());
    EXPECT_FALSE(c->isOnboarding());
    EXPECT_EQ(c->passcodeSource(), 0);
    EXPECT_EQ(c->credentialStore(), nullptr);
    EXPECT_EQ(c->zelURLSession(), nullptr);
    EXPECT_TRUE(AppConfig::builtInAllowedDomains().empty());

    c->setIsOnboarding(true);
    c->setConnectionSetting(AppConfig::kVornURL, Value());
    relaunch();
    EXPECT_NE(AppConfig::sharedInstance(), c);
    EXPECT_FALSE(AppConfig::sharedInstance()->isOnboarding());
    EXPECT_TRUE(AppConfig::sharedInstance()->connectionSettings().empty());
}

TEST_F(AppConfigState, HostListsAndCacheSettingsAreStoredAsGiven) {
    auto c = config();
    core::Dictionary params{{"AllowedDomains", core::Array{"example.com", 5, "other.org"}},
                            {"AppSchemeAllowedDomains", core::Array{"callback"}},
                            {"CacheSettings", core::Dictionary{{"MaxAge", 60}}}};
    c->setAllowedDomains(params);
    c->setAppSchemeAllowedDomains(params);
    c->setCacheSettings(params);
    EXPECT_EQ(c->allowedDomains(), (std::vector<std::string>{"example.com", "other.org"}));
    EXPECT_EQ(c->appSchemeAllowedDomains(), std::vector<std::string>{"callback"});
    EXPECT_EQ(core::Json::write(Value(c->cacheSettings())), R"({"MaxAge":60})");
    // A new dictionary replaces them; wrong kinds leave nothing, and say so.
    core::Dictionary wrong{{"AllowedDomains", "example.com"}, {"CacheSettings", core::Array{}}};
    c->setAllowedDomains(wrong);
    c->setAppSchemeAllowedDomains(wrong);
    c->setCacheSettings(wrong);
    EXPECT_TRUE(c->allowedDomains().empty());
    EXPECT_TRUE(c->appSchemeAllowedDomains().empty());
    EXPECT_TRUE(c->cacheSettings().empty());
    EXPECT_EQ(core::internal::Logging::captured().size(), 3u);  // the skipped 5, the text list, the array
}

// Domain checks: which URL hosts lie in "example.com" (and, for the redirect
// key only, the app-scheme domain "callback").
class AllowedDomainCheck : public AppConfigState {
protected:
    void SetUp() override {
        AppConfigState::SetUp();
        core::Dictionary params{{"AllowedDomains", core::Array{"Example.COM", " *.wild.net ", ".dotted.org", ""}},
                                {"AppSchemeAllowedDomains", core::Array{"callback"}}};
        config()->setAllowedDomains(params);
        config()->setAppSchemeAllowedDomains(params);
    }
    bool allowed(std::string_view url, std::string_view key = "ServerUrl") {
        return config()->isAllowedDomain(key, url);
    }
};

TEST_F(AllowedDomainCheck, ExactOrBelowAtADotBoundary) {
    EXPECT_TRUE(allowed("https://example.com"));
    EXPECT_TRUE(allowed("https://example.com/path?q=1#f"));
    EXPECT_TRUE(allowed("https://auth.eu.example.com/oauth2"));
    EXPECT_TRUE(allowed("https://wild.net/"));
    EXPECT_TRUE(allowed("https://a.wild.net/"));
    EXPECT_TRUE(allowed("https://dotted.org/"));
    EXPECT_FALSE(allowed("https://evil-example.com"));
    EXPECT_FALSE(allowed("https://example.com.evil.net"));
    EXPECT_FALSE(allowed("https://notexample.com"));
    EXPECT_FALSE(allowed("https://com"));
}

TEST_F(AllowedDomainCheck, CaseTrailingDotPortAndUserinfo) {
    EXPECT_TRUE(allowed("HTTPS://EXAMPLE.COM/X"));
    EXPECT_TRUE(allowed("https://example.com./"));
    EXPECT_TRUE(allowed("https://example.com:8443/x"));
    EXPECT_TRUE(allowed("https://user:pw@example.com/"));
    // The host is what follows the userinfo, as a transfer would connect.
    EXPECT_FALSE(allowed("https://example.com@evil.net/"));
    EXPECT_FALSE(allowed("https://example.com:pw@evil.net/"));
    EXPECT_FALSE(allowed("https://example.com\\@evil.net/"));
    EXPECT_FALSE(allowed("https://evil.net#@example.com"));
}

TEST_F(AllowedDomainCheck, NoHostNoEntry) {
    for (const char* bad :
         {"", "example.com", "example.com/path", "/relative", "https://", "https:///example.com", "https:/example.com",
          "javascript:alert('example.com')", "file:///example.com", " https://example.com", "https://example.com /x",
          "https://exa mple.com", "mailto:someone@example.com"}) {
        EXPECT_FALSE(allowed(bad)) << bad;
    }
}

// Texts that URL readers disagree on: a network library and a browser would
// connect to different hosts, so none may pass, whichever host it names.
TEST_F(AllowedDomainCheck, TextsThatParsersReadDifferentlyAreRefused) {
    struct Case {
        const char* url;
        bool allowed;
        const char* why;
    };
    const Case cases[] = {
        {"https://evil.net\\@auth.example.com/oauth2/authorize", false, "backslash before the @"},
        {"https://auth.example.com\\@evil.net/", false, "backslash after the @"},
        {"https://auth.example.com\\.evil.net/", false, "backslash inside the host"},
        {"https://auth.example.com/\\evil.net", false, "backslash in the path"},
        {"https://evil.net%5C@auth.example.com/", true, "an escaped backslash is plain userinfo"},
        {"https://auth.exam\tple.com/", false, "tab inside the host"},
        {"https://auth.example.com\n.evil.net/", false, "newline inside the host"},
        {"https://auth.example.com\r/", false, "carriage return"},
        {"https://auth.example.com\x7f/", false, "delete character"},
        {"https://auth.ex\xC3\xA4mple.com/", false, "raw non-ASCII in the host"},
        {"https://\xD0\xB5xample.com/", false, "a look-alike letter"},
        {"https://auth%2Eexample.com/", false, "percent-encoded dot"},
        {"https://evil.net%2F.example.com/", false, "percent-encoded slash"},
        {"https://auth.example.com%40evil.net/", false, "percent-encoded @ in the host"},
        {"https://evil.net%40@auth.example.com/", true, "percent-encoded @ in the userinfo"},
        {"https://a@b@auth.example.com/", false, "two @"},
        {"https://evil.net@@auth.example.com/", false, "two @ in a row"},
        {"https://@auth.example.com/", true, "empty userinfo"},
        {"https://user:pw@auth.example.com/", true, "userinfo with a password"},
        {"https://us[er@auth.example.com/", false, "a bracket in the userinfo"},
        {"https://auth.example.com:/", false, "empty port"},
        {"https://auth.example.com:0/", false, "port zero"},
        {"https://auth.example.com:65536/", false, "port out of range"},
        {"https://auth.example.com:99999999999999999999/", false, "port beyond any integer"},
        {"https://auth.example.com:8443:1/", false, "two ports"},
        {"https://auth.example.com:8x/", false, "port with a letter"},
        {"https://auth.example.com:+80/", false, "port with a sign"},
        {"https://auth.example.com:08443/x", true, "port with a leading zero"},
        {"https://auth.example.com./", true, "trailing dot"},
        {"https://auth.example.com../", false, "two trailing dots"},
        {"https://auth..example.com/", false, "an empty label"},
        {"https://.example.com/", false, "a leading dot"},
        {"https://AUTH.EXAMPLE.COM/", true, "upper case"},
        {"https://auth.Example.Com:443/", true, "mixed case with the default port"},
        {"https://auth.example.com#@evil.net", true, "the fragment holds the @"},
        {"https://evil.net#@auth.example.com", false, "the host is before the fragment"},
        {"https://evil.net?@auth.example.com", false, "the host is before the query"},
        {"https://evil.net/@auth.example.com", false, "the host is before the path"},
        {"https://evil.net;.example.com/", false, "a sub-delimiter in the host"},
        {"https://evil.net&.example.com/", false, "an ampersand in the host"},
        {"https://auth.example.com /", false, "space after the host"},
        {"https://127.0.0.1/", true, "dotted-decimal IPv4"},
        {"https://127.0.0.1:8080/", true, "IPv4 with a port"},
        {"https://127.1/", false, "short IPv4"},
        {"https://0x7f.0.0.1/", false, "hexadecimal IPv4 part"},
        {"https://0177.0.0.1/", false, "octal IPv4 part"},
        {"https://2130706433/", false, "IPv4 as one number"},
        {"https://127.000.0.1/", false, "IPv4 part with leading zeros"},
        {"https://127.0.0.256/", false, "IPv4 part out of range"},
        {"https://127.0.0.1.example.com/", true, "a name that starts with digits"},
        {"https://1.127.0.0.1/", false, "five numeric labels"},
        {"https://evil.example.com.1/", false, "a name whose last label is a number"},
        {"https://[::1]/", true, "IPv6 loopback"},
        {"https://[0:0:0:0:0:0:0:1]:8443/", true, "IPv6 loopback written out"},
        {"https://[::FFFF:7F00:1]/", false, "another IPv6 address"},
        {"https://[::1%25eth0]/", false, "IPv6 with a zone"},
        {"https://[v1.fe]/", false, "a future IP literal"},
        {"https://[127.0.0.1]/", false, "IPv4 in brackets"},
        {"https://[::1/", false, "unclosed bracket"},
        {"https://[::1]x/", false, "text after the bracket"},
        {"https://::1/", false, "IPv6 without brackets"},
        {"https://0.0.1/", false, "a numeric domain is no IPv4 address"},
    };
    config()->setAllowedDomains({{"AllowedDomains", core::Array{"example.com", "127.0.0.1", "::1", "0.0.1"}}});
    for (const Case& c : cases) EXPECT_EQ(allowed(c.url), c.allowed) << c.why << ": " << c.url;
    // An address matches its own entry only, never as a subdomain.
    config()->setAllowedDomains({{"AllowedDomains", core::Array{"0.0.1"}}});
    EXPECT_FALSE(allowed("https://10.0.0.1/"));
}

TEST_F(AllowedDomainCheck, AppSchemeDomainsCountForTheRedirectKeyOnly) {
    EXPECT_TRUE(allowed("myapp://callback", "RedirectUrl"));
    EXPECT_TRUE(allowed("myapp://callback/path?x=1", "RedirectUrl"));
    EXPECT_FALSE(allowed("myapp://callback", "TokenUrl"));
    EXPECT_FALSE(allowed("myapp://callback", "redirectURL"));  // exact key
    EXPECT_TRUE(allowed("https://example.com/redirect", "RedirectUrl"));
    EXPECT_FALSE(allowed("myapp:/callback", "RedirectUrl"));
}

TEST_F(AllowedDomainCheck, NothingIsAllowedBeforeTheHostListsDomains) {
    relaunch();
    EXPECT_FALSE(allowed("https://example.com"));
}

class OnboardingValidity : public AppConfigState {
protected:
    core::Dictionary complete() {
        return core::Dictionary{
            {"applicationID", "app"},
            {"clientId", "client"},
            {"vornURL", "https://example.com"},
            {"authorizationEndpointURL", "https://example.com/auth"},
            {"redirectURL", "myapp://callback"},
            {"tokenEndpointURL", "https://example.com/token"},
        };
    }
};

TEST_F(OnboardingValidity, SixUsableValuesAreValid) {
    config()->setConnectionSettings(complete());
    EXPECT_TRUE(config()->isAppConnectionSettingsValidForOnboarding());
    config()->setConnectionSettings({});
    EXPECT_TRUE(config()->isAppConnectionSettingsValidForOnboarding());
}

TEST_F(OnboardingValidity, NilNullOrPlaceholderInAConnectionValueIsNotValid) {
    for (const std::string& key : AppConfig::requiredConnectionKeys()) {
        for (const Value& bad : {Value(), Value::null(), Value("safe.default.data")}) {
            core::Dictionary settings = complete();
            settings.set(key, bad);
            config()->setConnectionSettings(settings);
            EXPECT_FALSE(config()->isAppConnectionSettingsValidForOnboarding()) << key << " " << bad.description();
        }
    }
    // Other kinds are not examined.
    core::Dictionary settings = complete();
    settings.set("clientId", 5);
    config()->setConnectionSettings(settings);
    EXPECT_TRUE(config()->isAppConnectionSettingsValidForOnboarding());
}

// A host that leaves out an optional key gets it stored holding nil; that
// must not lock it out of onboarding.
TEST_F(OnboardingValidity, OptionalKeysLeftOutNeverLockTheHostOut) {
    core::Dictionary settings = complete();
    settings.set("connectionInfoToastMessage", Value());
    settings.set("allowCerts", Value());
    settings.set("enableOverrides", Value::null());
    settings.set("anythingElse", "safe.default.data");
    config()->setConnectionSettings(settings);
    EXPECT_TRUE(config()->isAppConnectionSettingsValidForOnboarding());
}

TEST_F(OnboardingValidity, ScannedConnectionValuesWinOverTheHostsFirst) {
    core::Dictionary host = complete();
    host.set("connectionInfoToastMessage", "from the host");
    config()->setConnectionSettings(host);
    core::Dictionary scanned = complete();
    scanned.set("vornURL", "safe.default.data");
    scanned.set("connectionInfoToastMessage", "stale");
    foundation::UserDefaults::shared().setObject("ScannedConnectionSettings", Value(scanned));
    EXPECT_FALSE(config()->isAppConnectionSettingsValidForOnboarding());
    EXPECT_EQ(config()->connectionSettings().get("vornURL"), Value("safe.default.data"));
    EXPECT_EQ(config()->connectionSettings().get("connectionInfoToastMessage"), Value("from the host"));
}

TEST_F(OnboardingValidity, NoOrUnusableScannedSettingsLeaveThemAlone) {
    config()->setConnectionSettings(complete());
    EXPECT_TRUE(config()->isAppConnectionSettingsValidForOnboarding());
    foundation::UserDefaults::shared().setObject("ScannedConnectionSettings", Value("not a dictionary"));
    EXPECT_TRUE(config()->isAppConnectionSettingsValidForOnboarding());
    EXPECT_EQ(config()->connectionSettings(), complete());
}

TEST_F(AppConfigState, AuthenticationPathEndsInAVendorIdentifierKeptInTheSandbox) {
    const std::string path = config()->getAuthenticationPath(Value("app-1"));
    const std::regex form(
        "mobileservices/application/app-1/Storage/v1/runtime/application/app-1/device/"
        "[0-9A-F]{8}-[0-9A-F]{4}-4[0-9A-F]{3}-[89AB][0-9A-F]{3}-[0-9A-F]{12}");
    EXPECT_TRUE(std::regex_match(path, form)) << path;
    const std::string id = path.substr(path.rfind('/') + 1);
    relaunch();
    EXPECT_EQ(config()->deviceVendorIdentifier(), id);
    EXPECT_EQ(config()->getAuthenticationPath(Value(7)),
              "mobileservices/application//Storage/v1/runtime/application//device/" + id);
    // A scanned identifier never steps out of its segment.
    EXPECT_EQ(
        config()->getAuthenticationPath(Value("../x?y#%")),
        "mobileservices/application/..%2Fx%3Fy%23%25/Storage/v1/runtime/application/..%2Fx%3Fy%23%25/device/" + id);
}

TEST_F(AppConfigState, VendorIdentifierIsRemadeOnlyWhenItIsNotAnIdentifier) {
    const fs::path file = root / "Library" / "DeviceVendorIdentifier";
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "0a1b2c3d-0000-4000-8000-00000000000f";
    EXPECT_EQ(config()->deviceVendorIdentifier(), "0A1B2C3D-0000-4000-8000-00000000000F");
    relaunch();
    std::ofstream(file, std::ios::trunc) << "garbage";
    auto made = config()->deviceVendorIdentifier();
    ASSERT_TRUE(made);
    EXPECT_EQ(made->size(), 36u);
}

TEST_F(AppConfigState, NoVendorIdentifierGivesEmpty) {
    // A folder where the file should be: it can be neither read nor written.
    fs::create_directories(root / "Library" / "DeviceVendorIdentifier");
    EXPECT_EQ(config()->deviceVendorIdentifier(), std::nullopt);
    EXPECT_EQ(config()->getAuthenticationPath(Value("a")),
              "mobileservices/application/a/Storage/v1/runtime/application/a/device/empty");
}

TEST_F(AppConfigState, ConnectionSettingsBuildTheDiscoveryConfiguration) {
    config()->setConnectionSettings(core::Dictionary{
        {"applicationID", "app"},
        {"clientId", "client-1"},
        {"vornURL", "https://Mobile.Example.com:8443/ui"},
        {"authorizationEndpointURL", "https://example.com/auth"},
        {"redirectURL", "myapp://callback"},
        {"tokenEndpointURL", "https://example.com/token"},
        {"allowCerts", true},
    });
    EXPECT_EQ(
        core::Json::write(Value(config()->getAppConnectionSettings())),
        R"({"auth":[{"config":{"oauth2.authorizationEndpoint":"https://example.com/auth",)"
        R"("oauth2.clients":[{"clientID":"client-1","redirectURL":"myapp://callback"}],)"
        R"("oauth2.endUserUI":"https://Mobile.Example.com:8443/ui","oauth2.tokenEndpoint":"https://example.com/token"},)"
        R"("type":"oauth2"}],"host":"mobile.example.com","port":8443,"protocol":"https"})");
}

TEST_F(AppConfigState, DiscoveryConfigurationLeavesOutWhatIsMissing) {
    config()->setConnectionSettings(
        core::Dictionary{{"vornURL", "https://example.com"}, {"clientId", Value()}, {"tokenEndpointURL", 5}});
    EXPECT_EQ(core::Json::write(Value(config()->getAppConnectionSettings())),
              R"({"auth":[{"config":{"oauth2.clients":[{}],"oauth2.endUserUI":"https://example.com"},)"
              R"("type":"oauth2"}],"host":"example.com","port":443,"protocol":"https"})");
    config()->setConnectionSettings({});
    EXPECT_EQ(core::Json::write(Value(config()->getAppConnectionSettings())),
              R"({"auth":[{"config":{"oauth2.clients":[{}]},"type":"oauth2"}],"protocol":"https"})");
}

TEST_F(AppConfigState, AServerNamedWithPlainHttpIsSpokenToSo) {
    config()->setConnectionSettings(core::Dictionary{{"vornURL", "HTTP://127.0.0.1:8080"}});
    Value discovery(config()->getAppConnectionSettings());
    EXPECT_EQ(*discovery.find("protocol"), Value("http"));
    EXPECT_EQ(*discovery.find("port"), Value(8080));
    config()->setConnectionSettings(core::Dictionary{{"vornURL", "http:/127.0.0.1"}});
    EXPECT_EQ(*Value(config()->getAppConnectionSettings()).find("protocol"), Value("https"));
}

TEST_F(AppConfigState, TheBlurCoversTheRootOrWhatIsPresentedAndGoesAway) {
    auto window = std::make_shared<ui::UIWindow>();
    auto root = std::make_shared<ui::UIViewController>();
    window->setRootViewController(root);
    window->makeKeyAndVisible();
    auto shown = std::make_shared<ui::UIViewController>();
    root->present(shown, false);
    dispatch::MainQueue::shared().runUntilIdle();

    config()->addBlurScreen(false);
    ASSERT_TRUE(config()->blurView());
    EXPECT_EQ(config()->blurView()->superview(), root->view());
    auto blur = config()->blurView();
    config()->addBlurScreen(true);
    EXPECT_EQ(config()->blurView(), blur);  // made once
    EXPECT_EQ(blur->superview(), shown->view());
    config()->removeBlur();
    EXPECT_FALSE(config()->blurView());
    EXPECT_FALSE(blur->superview());
    config()->removeBlur();  // nothing left: nothing happens
}

TEST_F(AppConfigState, TheAgreementFileIsFoundAndReadOrTheFallbackText) {
    EXPECT_FALSE(config()->getEULA());
    EXPECT_EQ(config()->getEULAContent(), AppConfig::kEULALoadFailedText);
    fs::path bundle = root / "bundle";
    fs::create_directories(bundle);
    std::ofstream(bundle / "EULAText_en.txt") << "Be kind.";
    foundation::Bundle::setMain(bundle);
    EXPECT_TRUE(config()->getEULA());
    EXPECT_EQ(config()->getEULAContent(), "Be kind.");
    // HTML is chosen before text, and shown as its text.
    std::ofstream(bundle / "EULAText_en.html") << "<html><body><p>Use this app <b>well</b>.</p></body></html>";
    EXPECT_TRUE(config()->getEULA());
    EXPECT_EQ(config()->getEULAContent(), "Use this app well.");
    fs::remove(bundle / "EULAText_en.html");
    fs::create_directory(bundle / "EULAText_en.html");
    EXPECT_EQ(config()->getEULAContent(), AppConfig::kEULALoadFailedText) << "found, then unreadable";
    foundation::Bundle::setMain({});
}
