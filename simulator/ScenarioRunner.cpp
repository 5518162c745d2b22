#include "simulator/ScenarioRunner.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>

#include "platform/core/ClassRegistry.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/dispatch/GlobalQueue.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/UserDefaults.h"
#include "simulator/SimulatorRegistry.h"
#include "simulator/ValuePath.h"
#include "testsupport/ProcessStateReset.h"
#include "testsupport/TemporaryFolder.h"

namespace trc::simulator {

namespace {
namespace fs = std::filesystem;

constexpr const char* kLogger = "HostSimulator";
constexpr const char* kSend = "send";
constexpr const char* kNew = "new";
constexpr const char* kRelaunch = "relaunch";
constexpr const char* kAdvance = "advance";
constexpr const char* kExpect = "expect";
constexpr const char* kExpectSome = "expectSome";
constexpr const char* kCheck = "check";
constexpr const char* kUser = "user";
// Step kinds that other layers provide through ScenarioExtensions.
constexpr std::array<std::string_view, 2> kExtensionKinds = {"show", "dump"};
constexpr std::array<std::string_view, 8> kBuiltInKinds = {kSend,   kNew,        kRelaunch, kAdvance,
                                                           kExpect, kExpectSome, kCheck,    kUser};
constexpr const char* kDefaultsReceiver = "defaults";
constexpr std::string_view kServerReceiver = "server:";
constexpr const char* kSharedInstance = "sharedInstance";
// Scenarios read the library's texts in one language, whatever the machine's.
const std::vector<std::string> kScenarioLanguages = {"en"};
// Shown lines of a transcript in a message, at most.
constexpr std::size_t kLinesInMessage = 8;

const std::string& text(const core::Dictionary& step, const char* key) {
    const core::Value* v = step.find(key);
    if (!v || !v->isString() || v->ifString()->empty()) {
        throw ScenarioError("\"" + std::string(key) + "\" must be a non-empty text");
    }
    return *v->ifString();
}

std::optional<std::string> optionalText(const core::Dictionary& step, const char* key) {
    if (!step.contains(key)) return std::nullopt;
    return text(step, key);
}

std::string inQuotes(std::string_view s) { return "\"" + std::string(s) + "\""; }

std::string linesText(const std::vector<core::Value>& lines) {
    if (lines.empty()) return "none";
    std::string out;
    for (std::size_t i = 0; i < lines.size() && i < kLinesInMessage; ++i) {
        out += (i ? ", " : "") + ScenarioValues::describe(lines[i]);
    }
    if (lines.size() > kLinesInMessage) out += ", and " + std::to_string(lines.size() - kLinesInMessage) + " more";
    return out;
}
}  // namespace

ScenarioRunner::ScenarioRunner(Options options) : options_(options) { SimulatorRegistry::installAll(); }

ScenarioRunner::Result ScenarioRunner::run(const fs::path& file) {
    try {
        return run(Scenario::load(file), file.string());
    } catch (const ScenarioError& e) {
        Transcript transcript({options_.out, options_.writeAll, options_.err, file.string()});
        transcript.fail(e.what(), 0);
        return {transcript.failures(), transcript.lines()};
    }
}

ScenarioRunner::Result ScenarioRunner::run(const Scenario& scenario, const std::string& label) {
    transcript_ =
        std::make_shared<Transcript>(Transcript::Options{options_.out, options_.writeAll, options_.err, label});
    if (options_.writeAll && options_.out) {
        transcript_->note(core::Dictionary{{"scenario", scenario.description}, {"file", label}});
    }
    scenario_ = &scenario;
    try {
        play(scenario);
    } catch (const std::exception& e) {
        transcript_->fail(e.what());
    } catch (...) {
        transcript_->fail("an exception that is not a std::exception");
    }
    tearDown();
    Result result{transcript_->failures(), transcript_->lines()};
    transcript_.reset();
    scenario_ = nullptr;
    return result;
}

void ScenarioRunner::play(const Scenario& scenario) {
    sandbox_.emplace(foundation::TemporaryFolder::makeSandbox());
    values_ = std::make_shared<ScenarioValues>(transcript_);
    servers_ = std::make_unique<ScenarioServers>();
    transcript_->setStep(0);
    if (scenario.bundle) {
        std::error_code ec;
        if (!fs::is_directory(*scenario.bundle, ec)) {
            throw ScenarioError("the bundle folder " + scenario.bundle->string() + " does not exist");
        }
    }
    startProcess(0);
    servers_->start(scenario.servers);
    for (const std::string& name : servers_->names()) values_->addServer(name, servers_->baseUrl(name));
    for (const auto& [name, spec] : scenario.objects) values_->addHostObject(name, spec);
    for (const auto& [key, raw] : scenario.defaults) {
        if (!foundation::UserDefaults::shared().setObject(key, values_->resolve(raw))) {
            throw ScenarioError("the user default " + inQuotes(key) + " cannot hold an object");
        }
    }

    int n = 0;
    for (const core::Value& step : scenario.steps) {
        transcript_->setStep(++n);
        settle();
        try {
            runStep(step);
        } catch (const std::exception& e) {
            transcript_->fail(e.what());
            return;
        }
    }
    // Lets what the last step started finish before the scenario is taken down.
    settle();
}

void ScenarioRunner::startProcess(double clockStart) {
    core::ProcessStateReset::resetAll();
    dispatch::MainQueue::resetShared(std::make_unique<dispatch::VirtualClock>(clockStart));
    foundation::Bundle::setMain(scenario_ && scenario_->bundle ? *scenario_->bundle : fs::path());
    foundation::Bundle::setPreferredLanguages(kScenarioLanguages);
    // Layers put up what a fresh process shows (the host's key window).
    ScenarioExtensions::processStarted();
}

void ScenarioRunner::tearDown() noexcept {
    try {
        instances_.clear();
        if (values_) values_->dropStored();
        core::ProcessStateReset::resetAll();
        dispatch::MainQueue::resetShared(std::make_unique<dispatch::VirtualClock>());
        foundation::Bundle::setMain({});
        foundation::Bundle::setPreferredLanguages({});
    } catch (const std::exception& e) {
        if (transcript_) transcript_->fail(std::string("while ending the scenario: ") + e.what());
    } catch (...) {
        if (transcript_) transcript_->fail("while ending the scenario: an unknown exception");
    }
    servers_.reset();
    values_.reset();
    sandbox_.reset();
}

void ScenarioRunner::settle() {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::duration<double>(options_.settleSeconds);
    auto& global = dispatch::GlobalQueue::shared();
    for (;;) {
        dispatch::MainQueue::shared().runUntilIdle();
        if (global.inFlight() == 0 && !dispatch::MainQueue::shared().hasDueWork()) return;
        const double left = std::chrono::duration<double>(deadline - Clock::now()).count();
        if (left <= 0) {
            core::SharedLoggerManager::log(kLogger, core::Severity::warn,
                                           "background work still running after the wait before a step");
            return;
        }
        global.waitUntilIdle(std::min(left, 0.01));
    }
}

// ScenarioContext

core::Value ScenarioRunner::resolve(const core::Value& raw) { return values_->resolve(raw); }
fs::path ScenarioRunner::scenarioDir() const { return scenario_ ? scenario_->dir : fs::path(); }
void ScenarioRunner::writeToTranscript(const core::Value& line) { transcript_->note(line); }

// Steps

void ScenarioRunner::runStep(const core::Value& raw) {
    const core::Dictionary* step = raw.ifDictionary();
    if (!step) throw ScenarioError("a step must be a JSON object, got " + ScenarioValues::describe(raw));
    std::vector<std::string> kinds;
    for (const auto& [key, v] : *step) {
        bool builtIn = std::find(kBuiltInKinds.begin(), kBuiltInKinds.end(), key) != kBuiltInKinds.end();
        bool extension = std::find(kExtensionKinds.begin(), kExtensionKinds.end(), key) != kExtensionKinds.end() ||
                         ScenarioExtensions::step(key) != nullptr;
        if (builtIn || extension) kinds.push_back(key);
    }
    if (kinds.empty()) {
        throw ScenarioError(step->empty() ? std::string("an empty step")
                                          : "unknown step kind " + inQuotes(step->begin()->first));
    }
    if (kinds.size() > 1) throw ScenarioError("a step of more than one kind: " + kinds[0] + " and " + kinds[1]);
    const std::string& kind = kinds.front();
    if (kind == kSend) return send(*step);
    if (kind == kNew) return make(*step);
    if (kind == kRelaunch) return relaunch(*step);
    if (kind == kAdvance) return advance(*step);
    if (kind == kExpect) return expect(*step, true);
    if (kind == kExpectSome) return expect(*step, false);
    if (kind == kCheck) return check(*step);
    if (kind == kUser) return user(*step);
    extensionStep(kind, *step);
}

const core::ClassInfo& ScenarioRunner::classNamed(const std::string& name) const {
    const core::ClassInfo* cls = core::ClassRegistry::shared().find(name);
    if (!cls) throw ScenarioError("no class " + inQuotes(name));
    return *cls;
}

std::shared_ptr<core::Object> ScenarioRunner::instanceOf(const core::ClassInfo& cls) {
    auto& slot = instances_[cls.name()];
    if (!slot) slot = cls.instantiate();
    if (!slot) throw ScenarioError("class " + inQuotes(cls.name()) + " cannot make an instance");
    return slot;
}

void ScenarioRunner::send(const core::Dictionary& step) {
    const std::string& receiver = text(step, kSend);
    const std::string& selector = text(step, "selector");
    core::Array args;
    if (const core::Value* raw = step.find("args")) {
        const core::Array* list = raw->ifArray();
        if (!list) throw ScenarioError("\"args\" must be a list");
        for (const core::Value& a : *list) args.push_back(values_->resolve(a));
    }
    std::optional<std::string> as = optionalText(step, "as");
    core::Value result;
    try {
        if (receiver.starts_with('$')) {
            auto object = values_->named(std::string_view(receiver).substr(1)).ifObject();
            if (!object) throw ScenarioError(receiver + " is not an object");
            result = object->perform(selector, core::Args(args));
        } else {
            const core::ClassInfo& cls = classNamed(receiver);
            if (cls.findClassMethod(selector)) {
                result = cls.performClassMethod(selector, core::Args(args));
            } else if (cls.findMethod(selector)) {
                result = instanceOf(cls)->perform(selector, core::Args(args));
            } else {
                throw ScenarioError("class " + inQuotes(receiver) + " has no selector " + inQuotes(selector));
            }
        }
    } catch (const core::DispatchError& e) {
        throw ScenarioError(e.what());
    }
    if (as) values_->store(*as, std::move(result));
}

void ScenarioRunner::make(const core::Dictionary& step) {
    const core::ClassInfo& cls = classNamed(text(step, kNew));
    const std::string& as = text(step, "as");
    auto object = cls.instantiate();
    if (!object) throw ScenarioError("class " + inQuotes(cls.name()) + " cannot make an instance");
    values_->store(as, core::Value(std::move(object)));
}

void ScenarioRunner::relaunch(const core::Dictionary& step) {
    if (*step.find(kRelaunch) != core::Value(true)) throw ScenarioError("\"relaunch\" takes only true");
    const double now = dispatch::MainQueue::shared().now();
    values_->dropStored();
    instances_.clear();
    startProcess(now);
}

void ScenarioRunner::advance(const core::Dictionary& step) {
    auto seconds = step.find(kAdvance)->asDouble();
    if (!seconds || !std::isfinite(*seconds) || *seconds < 0) {
        throw ScenarioError("\"advance\" takes a number of seconds, zero or more");
    }
    dispatch::MainQueue::shared().advance(*seconds);
}

void ScenarioRunner::expect(const core::Dictionary& step, bool strict) {
    const char* kind = strict ? kExpect : kExpectSome;
    const core::Array* expected = step.find(kind)->ifArray();
    if (!expected) throw ScenarioError(inQuotes(kind) + " takes a list of transcript lines");
    const std::vector<core::Value> received = transcript_->takeReceived();
    std::string why;
    if (strict) {
        for (std::size_t i = 0; i < std::max(expected->size(), received.size()); ++i) {
            const std::string line = "line " + std::to_string(i + 1);
            if (i >= received.size()) {
                transcript_->fail(line + ": expected " + ScenarioValues::describe((*expected)[i]) + ", but only " +
                                  std::to_string(received.size()) + " line(s) arrived");
                return;
            }
            if (i >= expected->size()) {
                transcript_->fail(line + " was not expected: " + ScenarioValues::describe(received[i]));
                return;
            }
            if (!values_->matches((*expected)[i], received[i], why)) {
                transcript_->fail(line + ": " + why);
                return;
            }
        }
        return;
    }
    std::size_t next = 0;
    for (std::size_t i = 0; i < expected->size(); ++i) {
        while (next < received.size() && !values_->matches((*expected)[i], received[next], why)) ++next;
        if (next == received.size()) {
            transcript_->fail("expected " + ScenarioValues::describe((*expected)[i]) +
                              (i ? " after the lines before it" : std::string()) +
                              ", received: " + linesText(received));
            return;
        }
        ++next;
    }
}

std::optional<core::Value> ScenarioRunner::checkTarget(const core::Dictionary& step, std::string& path,
                                                       bool& foldCase) {
    const std::string& receiver = text(step, kCheck);
    if (receiver.starts_with('$')) return values_->named(std::string_view(receiver).substr(1));
    if (receiver == kDefaultsReceiver) {
        core::Dictionary defaults = foundation::UserDefaults::shared().dictionaryRepresentation();
        // A key may itself hold dots; a whole-path key wins over walking.
        if (const core::Value* whole = defaults.find(path)) {
            path.clear();
            return *whole;
        }
        return core::Value(std::move(defaults));
    }
    if (receiver.starts_with(kServerReceiver)) {
        const std::string name = receiver.substr(kServerReceiver.size());
        auto record = servers_->record(name);
        if (!record) throw ScenarioError("no server " + inQuotes(name));
        foldCase = true;
        return record;
    }
    if (const auto* extension = ScenarioExtensions::checkReceiver(receiver)) return (*extension)(*this, step);
    const core::ClassInfo* cls = core::ClassRegistry::shared().find(receiver);
    if (!cls) throw ScenarioError("no check receiver " + inQuotes(receiver) + " (not a class either)");
    // A class property named by the path's first segment comes first, so a
    // class with a shared instance still shows its class members.
    const std::string first = path.substr(0, path.find('.'));
    if (const auto* property = cls->findClassProperty(first)) {
        path = path.size() > first.size() ? path.substr(first.size() + 1) : std::string();
        return (*property)();
    }
    if (const auto* shared = cls->findClassMethod(kSharedInstance); shared && shared->arity == 0) {
        return cls->performClassMethod(kSharedInstance, {});
    }
    throw ScenarioError("class " + inQuotes(receiver) + " has no shared instance and no class property " +
                        inQuotes(first));
}

void ScenarioRunner::check(const core::Dictionary& step) {
    const core::Value* equals = step.find("equals");
    if (!equals) throw ScenarioError("a check needs \"equals\"");
    std::string path;
    if (const core::Value* p = step.find("path")) {
        if (!p->isString()) throw ScenarioError("\"path\" must be a text");
        path = *p->ifString();
    }
    const std::string described = inQuotes(text(step, kCheck)) + (path.empty() ? "" : " path " + inQuotes(path));
    bool foldCase = false;
    std::optional<core::Value> target;
    try {
        target = checkTarget(step, path, foldCase);
        if (auto call = optionalText(step, "call")) {
            auto object = target ? target->ifObject() : nullptr;
            if (!object) throw ScenarioError("\"call\" " + inQuotes(*call) + " needs an object to call");
            target = object->perform(*call, core::Args{});
        }
        target = ValuePath::walk(target, path, foldCase);
    } catch (const core::DispatchError& e) {
        throw ScenarioError("check " + described + ": " + e.what());
    } catch (const ScenarioError& e) {
        throw ScenarioError("check " + described + ": " + e.what());
    }
    std::string why;
    if (!values_->matches(*equals, target, why)) transcript_->fail("check " + described + ": " + why);
}

void ScenarioRunner::user(const core::Dictionary& step) {
    const std::string& name = text(step, kUser);
    const auto* action = ScenarioExtensions::userAction(name);
    if (!action) throw ScenarioError("no user action " + inQuotes(name));
    (*action)(*this, step);
}

void ScenarioRunner::extensionStep(const std::string& kind, const core::Dictionary& step) {
    const auto* handler = ScenarioExtensions::step(kind);
    if (!handler) throw ScenarioError("no step handler " + inQuotes(kind));
    (*handler)(*this, step);
}

}  // namespace trc::simulator
