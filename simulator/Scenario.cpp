#include "simulator/Scenario.h"

#include "platform/core/Json.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/foundation/AtomicFile.h"
#include "simulator/ScenarioExtensions.h"

namespace trc::simulator {

namespace {
const core::Dictionary& dictionaryMember(const core::Dictionary& top, std::string_view key) {
    static const core::Dictionary empty;
    const core::Value* v = top.find(key);
    if (!v) return empty;
    if (const core::Dictionary* d = v->ifDictionary()) return *d;
    throw ScenarioError("\"" + std::string(key) + "\" must be a dictionary");
}
}  // namespace

Scenario Scenario::load(const std::filesystem::path& file) {
    std::string text;
    try {
        text = foundation::AtomicFile::read(file);
    } catch (const std::exception& e) {
        throw ScenarioError(std::string("cannot read the scenario: ") + e.what());
    }
    Scenario s = parse(text, file.parent_path());
    s.file = file;
    return s;
}

Scenario Scenario::parse(std::string_view text, const std::filesystem::path& dir) {
    core::Value root;
    try {
        root = core::Json::parse(text, core::Json::NullAs::Nil);
    } catch (const core::JsonError& e) {
        throw ScenarioError(e.what());
    }
    const core::Dictionary* top = root.ifDictionary();
    if (!top) throw ScenarioError("a scenario must be a JSON object");

    Scenario s;
    s.dir = dir;
    if (const core::Value* d = top->find("scenario")) {
        if (!d->isString()) throw ScenarioError("\"scenario\" must be a text");
        s.description = *d->ifString();
    }
    if (const core::Value* b = top->find("bundle")) {
        if (!b->isString() || b->ifString()->empty()) throw ScenarioError("\"bundle\" must be a folder name");
        s.bundle = dir / *b->ifString();
    }
    s.defaults = dictionaryMember(*top, "defaults");
    s.servers = dictionaryMember(*top, "servers");
    s.objects = dictionaryMember(*top, "objects");
    const core::Value* steps = top->find("steps");
    if (!steps || !steps->isArray()) throw ScenarioError("a scenario needs \"steps\", a list of steps");
    s.steps = *steps->ifArray();
    for (const auto& [key, v] : *top) {
        if (key != "scenario" && key != "bundle" && key != "defaults" && key != "servers" && key != "objects" &&
            key != "steps") {
            // Scenarios written for other tools may carry members of their own;
            // they are passed over, not refused.
            core::SharedLoggerManager::log(
                "hostsim", core::Severity::warn,
                "passing over the unknown member \"" + key + "\" at the top of the scenario");
        }
    }
    return s;
}

}  // namespace trc::simulator
