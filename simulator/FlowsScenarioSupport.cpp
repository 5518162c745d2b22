#include "simulator/FlowsScenarioSupport.h"

#include <httplib.h>

#include "platform/flows/AuthenticationViewController.h"
#include "platform/flows/VUIEULAViewController.h"
#include "platform/flows/VUIPasscodeController.h"
#include "platform/foundation/FormURLEncoding.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/URL.h"
#include "platform/foundation/URLAuthority.h"
#include "simulator/ScenarioExtensions.h"
#include "simulator/ScreenEntries.h"
#include "testsupport/FaultInjectingFileLayer.h"

namespace trc::simulator {

namespace {

using flows::AuthenticationViewController;
using foundation::FaultInjectingFileLayer;
using foundation::FormURLEncoding;
using E = ScreenEntries;

constexpr const char* kStorageFault = "storageFault";
// How long the simulated browser waits for an authorization server.
constexpr time_t kBrowserTimeoutSeconds = 10;

// A parameter of the sign-in screen's authorization URL.
std::string authorizationParameter(const AuthenticationViewController& screen, const char* name) {
    const auto url = foundation::URL::fromString(screen.authorizationURL);
    const auto query = url ? FormURLEncoding::read(url->query().value_or("")) : std::nullopt;
    const auto value = query ? FormURLEncoding::value(*query, name) : std::nullopt;
    if (!value)
        throw ScenarioError(std::string("the sign-in screen's authorization URL has no \"") + name +
                            "\": " + screen.authorizationURL);
    return *value;
}

// What a browser does with the authorization URL: requests it (GET) and
// returns where the server sends it, without going there. Only servers on
// this machine are reached.
std::string authorizationRedirect(const std::string& url) {
    const auto authority = foundation::URLAuthority::parse(url);
    const std::string_view text(url);
    if (!authority || !text.starts_with("http://") ||
        (authority->host != "127.0.0.1" && authority->host != "localhost"))
        throw ScenarioError("the simulator signs in only at http://127.0.0.1, not at " + url);
    const std::string origin = "http://" + authority->host + ":" + std::to_string(authority->port.value_or(80));
    const std::size_t pathStart = text.find_first_of("/?#", 7);
    std::string target = pathStart == std::string::npos ? "/" : url.substr(pathStart, url.find('#') - pathStart);
    if (target.front() != '/') target.insert(target.begin(), '/');

    httplib::Client browser(origin);
    browser.set_connection_timeout(kBrowserTimeoutSeconds, 0);
    browser.set_read_timeout(kBrowserTimeoutSeconds, 0);
    browser.set_follow_location(false);
    browser.set_url_encode(false);
    const httplib::Result answer = browser.Get(target.c_str());
    if (!answer)
        throw ScenarioError("the authorization request to " + url + " failed: " + httplib::to_string(answer.error()));
    const std::string location = answer->get_header_value("Location");
    if (answer->status < 300 || answer->status > 399 || location.empty())
        throw ScenarioError("the authorization server answered " + std::to_string(answer->status) +
                            " without a redirect: " + answer->body.substr(0, 200));
    return location.front() == '/' ? origin + location : location;
}

// {"user": "authenticate", "outcome": "success" | "failure" | "cancel"} or
// {"user": "authenticate", "redirect": "<url, {state} for the state sent>"}.
void authenticate(ScenarioContext& ctx, const core::Dictionary& step) {
    auto screen = E::screenOf<AuthenticationViewController>("sign-in screen");
    if (step.contains("outcome") == step.contains("redirect"))
        throw ScenarioError("\"authenticate\" takes either \"outcome\" or \"redirect\"");
    if (step.contains("redirect")) {
        std::string url = E::text(ctx, step, "redirect");
        const std::string state = FormURLEncoding::encode(authorizationParameter(*screen, "state"));
        for (std::size_t at = url.find("{state}"); at != std::string::npos; at = url.find("{state}", at + state.size()))
            url.replace(at, 7, state);
        return E::refused(screen->navigate(url), "authenticate");
    }
    const std::string outcome = E::text(ctx, step, "outcome");
    if (outcome == "success")
        return E::refused(screen->navigate(authorizationRedirect(screen->authorizationURL)), "authenticate");
    if (outcome == "cancel") return E::refused(screen->cancel(), "authenticate");
    if (outcome != "failure") throw ScenarioError("\"outcome\" must be \"success\", \"failure\" or \"cancel\"");
    const std::string redirect = authorizationParameter(*screen, "redirect_uri");
    const FormURLEncoding::Pairs refusal{{"error", "access_denied"},
                                         {"state", authorizationParameter(*screen, "state")}};
    E::refused(screen->navigate(redirect + (redirect.find('?') == std::string::npos ? "?" : "&") +
                                FormURLEncoding::write(refusal)),
               "authenticate");
}

std::shared_ptr<FaultInjectingFileLayer> faultyFiles(bool make) {
    auto layer = std::dynamic_pointer_cast<FaultInjectingFileLayer>(foundation::FileLayer::shared());
    if (!layer && make) layer = FaultInjectingFileLayer::install();
    return layer;
}

// {"storageFault": {"operation": "write", "path": "Library/Preferences",
// "errno": "ENOSPC", "nth": 2}} or {"storageFault": "none"}.
void storageFault(ScenarioContext&, const core::Dictionary& step) {
    const core::Value& spec = *step.find(kStorageFault);
    if (spec == core::Value("none")) {
        if (auto layer = faultyFiles(false)) layer->clear();
        return;
    }
    const core::Dictionary* d = spec.ifDictionary();
    if (!d) throw ScenarioError("\"storageFault\" takes a fault (a dictionary) or \"none\"");
    FaultInjectingFileLayer::Fault fault;
    fault.path = foundation::Sandbox::root();
    bool hasError = false;
    for (const auto& [key, value] : *d) {
        const std::string* text = value.ifString();
        if (key == "errno") {
            std::optional<int> error = text ? FaultInjectingFileLayer::errorNamed(*text) : std::nullopt;
            if (!error) throw ScenarioError("\"errno\" must name an error such as \"EIO\", \"ENOSPC\" or \"EMFILE\"");
            fault.error = *error;
            hasError = true;
        } else if (key == "operation") {
            if (!text || !FaultInjectingFileLayer::operationNamed(*text, fault.operation))
                throw ScenarioError(
                    "\"operation\" must be \"any\", \"open\", \"read\", \"write\", \"sync\", "
                    "\"close\", \"rename\", \"remove\" or \"makeFolder\"");
        } else if (key == "path") {
            const std::filesystem::path relative = text ? std::filesystem::path(*text).lexically_normal() : "";
            if (!text || relative.is_absolute() || (!relative.empty() && *relative.begin() == ".."))
                throw ScenarioError("\"path\" must be a path inside the sandbox, relative to its root");
            fault.path /= relative;
        } else if (key == "nth") {
            std::optional<std::int64_t> n = value.isInteger() ? value.asInteger() : std::nullopt;
            if (!n || *n < 1) throw ScenarioError("\"nth\" must be a whole number from 1 on");
            fault.nth = static_cast<std::uint64_t>(*n);
        } else {
            throw ScenarioError("\"storageFault\" has no member \"" + key + "\"");
        }
    }
    if (!hasError) throw ScenarioError("\"storageFault\" needs \"errno\"");
    faultyFiles(true)->add(std::move(fault));
}

}  // namespace

void FlowsScenarioSupport::install() {
    ScenarioExtensions::addStep(kStorageFault, storageFault);
    ScenarioExtensions::addCheckReceiver("storage", [](ScenarioContext&, const core::Dictionary&) {
        auto layer = faultyFiles(false);
        const auto injected = static_cast<std::int64_t>(layer ? layer->injected() : 0);
        return std::optional<core::Value>(core::Dictionary{{"injected", injected}});
    });
    // The storage is the device's: its faults outlive a relaunch, and a new
    // scenario (a new sandbox) starts without any.
    ScenarioExtensions::addProcessStart(kStorageFault, [] {
        auto layer = faultyFiles(false);
        if (!layer) return;
        layer->keepOnlyInside(foundation::Sandbox::root());
        if (layer->empty()) foundation::FileLayer::setShared(nullptr);
    });
    ScenarioExtensions::addUserAction("authenticate", authenticate);
    ScenarioExtensions::addUserAction("passcode", [](ScenarioContext& ctx, const core::Dictionary& step) {
        E::refused(
            E::screenOf<flows::VUIPasscodeController>("passcode screen")->enterPasscode(E::text(ctx, step, "value")),
            "passcode");
    });
    ScenarioExtensions::addUserAction("eula", [](ScenarioContext& ctx, const core::Dictionary& step) {
        auto screen = E::screenOf<flows::VUIEULAViewController>("agreement screen");
        std::string action = E::text(ctx, step, "action");
        if (action == "agree") return E::refused(screen->accept(), "agree");
        if (action == "disagree") return E::refused(screen->reject(), "disagree");
        throw ScenarioError("\"action\" must be \"agree\" or \"disagree\"");
    });
    ScenarioExtensions::addUserAction("cancel", [](ScenarioContext&, const core::Dictionary&) {
        auto top = E::topScreen();
        if (auto s = std::dynamic_pointer_cast<AuthenticationViewController>(top))
            return E::refused(s->cancel(), "cancel");
        if (auto s = std::dynamic_pointer_cast<flows::VUIPasscodeController>(top))
            return E::refused(s->cancel(), "cancel");
        if (auto s = std::dynamic_pointer_cast<flows::VUIEULAViewController>(top))
            return E::refused(s->cancel(), "cancel");
        throw ScenarioError(std::string("no screen with a cancel button on top (on top: ") +
                            (top ? top->className() : "nothing") + ")");
    });
}

}  // namespace trc::simulator
