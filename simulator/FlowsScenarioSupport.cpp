#include "simulator/FlowsScenarioSupport.h"

#include "simulator/ScenarioExtensions.h"
#include "simulator/ScreenEntries.h"
#include "platform/flows/AuthenticationViewController.h"
#include "platform/flows/VUIEULAViewController.h"
#include "platform/flows/VUIPasscodeController.h"
#include "testsupport/FaultInjectingFileLayer.h"
#include "platform/foundation/Sandbox.h"

namespace trc::simulator {

namespace {

using flows::AuthenticationViewController;
using foundation::FaultInjectingFileLayer;
using E = ScreenEntries;

constexpr const char* kStorageFault = "storageFault";

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
                throw ScenarioError("\"operation\" must be \"any\", \"open\", \"read\", \"write\", \"sync\", "
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
    ScenarioExtensions::addUserAction("authenticate", [](ScenarioContext& ctx, const core::Dictionary& step) {
        auto outcome = AuthenticationViewController::outcomeNamed(E::text(ctx, step, "outcome"));
        if (!outcome) throw ScenarioError("\"outcome\" must be \"success\", \"failure\" or \"cancel\"");
        E::refused(E::screenOf<AuthenticationViewController>("sign-in screen")->finish(*outcome), "authenticate");
    });
    ScenarioExtensions::addUserAction("passcode", [](ScenarioContext& ctx, const core::Dictionary& step) {
        E::refused(E::screenOf<flows::VUIPasscodeController>("passcode screen")->enterPasscode(E::text(ctx, step, "value")),
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
            return E::refused(s->finish(AuthenticationViewController::Outcome::cancel), "cancel");
        if (auto s = std::dynamic_pointer_cast<flows::VUIPasscodeController>(top)) return E::refused(s->cancel(), "cancel");
        if (auto s = std::dynamic_pointer_cast<flows::VUIEULAViewController>(top)) return E::refused(s->cancel(), "cancel");
        throw ScenarioError(std::string("no screen with a cancel button on top (on top: ") +
                            (top ? top->className() : "nothing") + ")");
    });
}

}  // namespace trc::simulator
