#pragma once
// How layers that own what is on screen plug into the host simulator without
// the runner knowing them: user actions ({"user": "<name>", ...}), check
// receivers ({"check": "<name>", ...}), and step kinds the runner leaves to
// others ("show"). The runner looks handlers up by name; an unknown name is a
// clear scenario failure naming the step.
//
// Handlers run on the main thread between steps. They report a failure by
// throwing ScenarioError with a message; the runner adds the step number.

#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/core/Value.h"

namespace trc::simulator {

class ScenarioError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What a handler may ask of the running scenario.
class ScenarioContext {
public:
    virtual ~ScenarioContext() = default;
    // The step's value with "$name" references, special forms and "{{server}}"
    // texts resolved, as for send arguments.
    virtual core::Value resolve(const core::Value& raw) = 0;
    // The folder of the scenario file, for files a step names.
    virtual std::filesystem::path scenarioDir() const = 0;
    // Writes a line for people into the transcript ("dump"); scenarios never
    // expect such lines. Contexts without a transcript (test fakes) drop it.
    virtual void writeToTranscript(const core::Value& /*line*/) {}
};

class ScenarioExtensions {
public:
    // {"user": name, ...}: acts as the person; the step dictionary is passed raw.
    using UserAction = std::function<void(ScenarioContext&, const core::Dictionary& step)>;
    // {"check": name, ...}: the value the check's path starts from; nullopt
    // when the thing is not there (matches {"$absent": true}). Objects are
    // walked with valueForKey ("class" gives the class name).
    using CheckReceiver = std::function<std::optional<core::Value>(ScenarioContext&, const core::Dictionary& step)>;
    // A whole step kind, keyed by the step's kind key ("show", "dump").
    // A handler writes lines for people with ScenarioContext::writeToTranscript.
    using StepHandler = std::function<void(ScenarioContext&, const core::Dictionary& step)>;

    // Runs at each scenario start and at each relaunch, after the process
    // state was reset and the main queue renewed (the UI layer puts up the
    // host's key window there). Registering a name again replaces it.
    using ProcessStart = std::function<void()>;

    static void addUserAction(const std::string& name, UserAction action);
    static void addCheckReceiver(const std::string& name, CheckReceiver receiver);
    static void addStep(const std::string& key, StepHandler handler);
    static void addProcessStart(const std::string& name, ProcessStart start);
    // Called by the runner once a (re)started process is set up.
    static void processStarted();

    static const UserAction* userAction(const std::string& name);
    static const CheckReceiver* checkReceiver(const std::string& name);
    static const StepHandler* step(const std::string& key);
};

}  // namespace trc::simulator
