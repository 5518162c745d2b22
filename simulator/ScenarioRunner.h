#pragma once
// Runs one host scenario: starts it as a fresh process (a new sandbox, the
// scenario's user defaults, bundle, servers and host objects), plays its
// steps in order and collects the transcript and the failures.
//
// Before each step, work in flight on background queues is let finish and
// the main queue run until both are quiet (at most settleSeconds of real
// time; the virtual clock stands still). A failed expect or check is
// reported and the scenario goes on, so one run shows every difference; any
// other failure (a malformed step, an unknown class, selector, user action or
// check receiver, a wrong argument count, an exception out of the library)
// stops the scenario at that step. Nothing thrown escapes run().
//
// Owns everything a run makes and lets it all go when the run ends (process
// state reset, servers stopped, sandbox folder removed). Main thread; one run
// at a time.

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/core/ClassInfo.h"
#include "simulator/Scenario.h"
#include "simulator/ScenarioExtensions.h"
#include "simulator/ScenarioServers.h"
#include "simulator/ScenarioValues.h"
#include "simulator/Transcript.h"
#include "testsupport/TemporaryFolder.h"

namespace trc::simulator {

class ScenarioRunner : private ScenarioContext {
public:
    struct Options {
        std::ostream* out = nullptr;  // transcript lines (JSON Lines)
        bool writeAll = false;        // the whole transcript; else only failures
        std::ostream* err = nullptr;  // readable failure lines
        double settleSeconds = 30;    // real-time limit of the wait before a step
    };
    struct Result {
        std::vector<Transcript::Failure> failures;
        std::vector<core::Value> lines;
        bool passed() const { return failures.empty(); }
    };

    ScenarioRunner() : ScenarioRunner(Options()) {}
    explicit ScenarioRunner(Options options);

    Result run(const std::filesystem::path& file);
    // label names the scenario in failure lines on err.
    Result run(const Scenario& scenario, const std::string& label);

private:
    // ScenarioContext
    core::Value resolve(const core::Value& raw) override;
    std::filesystem::path scenarioDir() const override;
    void writeToTranscript(const core::Value& line) override;

    void play(const Scenario& scenario);
    void startProcess(double clockStart);
    void tearDown() noexcept;
    void settle();

    void runStep(const core::Value& step);
    void send(const core::Dictionary& step);
    void make(const core::Dictionary& step);
    void relaunch(const core::Dictionary& step);
    void advance(const core::Dictionary& step);
    void expect(const core::Dictionary& step, bool strict);
    void check(const core::Dictionary& step);
    void user(const core::Dictionary& step);
    void extensionStep(const std::string& kind, const core::Dictionary& step);

    std::optional<core::Value> checkTarget(const core::Dictionary& step, std::string& path, bool& foldCase);
    std::shared_ptr<core::Object> instanceOf(const core::ClassInfo& cls);
    const core::ClassInfo& classNamed(const std::string& name) const;

    Options options_;
    const Scenario* scenario_ = nullptr;
    std::shared_ptr<Transcript> transcript_;
    std::shared_ptr<ScenarioValues> values_;
    std::unique_ptr<ScenarioServers> servers_;
    std::map<std::string, std::shared_ptr<core::Object>> instances_;
    std::optional<foundation::TemporaryFolder> sandbox_;
};

}  // namespace trc::simulator
