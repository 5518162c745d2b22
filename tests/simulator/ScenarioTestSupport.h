#pragma once
// Runs scenario texts in a temporary folder for the host tests, and the
// test-only classes they send to (registered in this test binary only).

#include <filesystem>
#include <sstream>
#include <string>

#include "simulator/ScenarioRunner.h"
#include "testsupport/TemporaryFolder.h"

namespace trc::simulator::test {

// Registers TestBridge, TestSingleton and TestSettings once.
void registerTestClasses();

class ScenarioHarness {
public:
    ScenarioHarness();

    // Writes text as scenario.json (and any extra files first) and runs it.
    ScenarioRunner::Result run(const std::string& text);
    void writeFile(const std::filesystem::path& relative, const std::string& content) const;

    // "step N: message" lines of the failures, one per line.
    static std::string failures(const ScenarioRunner::Result& result);
    const std::filesystem::path& dir() const { return folder_.path(); }
    std::string out() const { return out_.str(); }
    std::string err() const { return err_.str(); }

private:
    foundation::TemporaryFolder folder_{"trc-scenario-test-"};
    std::ostringstream out_;
    std::ostringstream err_;
};

}  // namespace trc::simulator::test
