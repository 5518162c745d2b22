#include "simulator/HostSimulator.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "testsupport/TemporaryFolder.h"

namespace trc::simulator {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

class HostSimulatorTest : public ::testing::Test {
protected:
    foundation::TemporaryFolder folder{"trc-hostsim-test-"};
    std::ostringstream out;
    std::ostringstream err;

    void write(const std::string& name, const std::string& text) {
        fs::create_directories((folder.path() / name).parent_path());
        std::ofstream(folder.path() / name) << text;
    }
    int run(std::vector<fs::path> paths, bool transcript = false) {
        return HostSimulator::run(paths, {transcript, 5}, out, err);
    }
};

TEST_F(HostSimulatorTest, AFolderRunsItsJsonFilesInOrderAndEndsWithTheCount) {
    write("b-fails.json", R"({"steps": [{"check": "defaults", "path": "x", "equals": 1}]})");
    write("a-passes.json", R"({"scenario": "first", "steps": [{"expect": []}]})");
    write("notes.txt", "not a scenario");
    write("bundle/Info.json", "{");  // a bundle folder beside the scenarios is not run
    EXPECT_EQ(HostSimulator::scenarioFiles(folder.path()),
              (std::vector<fs::path>{folder.path() / "a-passes.json", folder.path() / "b-fails.json"}));

    EXPECT_EQ(run({folder.path()}), 1);
    EXPECT_EQ(out.str(),
              "{\"failed\":\"check \\\"defaults\\\" path \\\"x\\\": expected 1, got nothing (absent)\",\"step\":1}\n"
              "1 passed, 1 failed\n");
    EXPECT_EQ(err.str(), (folder.path() / "b-fails.json").string() +
                             ": step 1: check \"defaults\" path \"x\": expected 1, got nothing (absent)\n");
}

TEST_F(HostSimulatorTest, TheTranscriptFlagWritesEveryLineUnderAHeaderPerScenario) {
    write("a.json", R"({"scenario": "first", "steps": [{"expect": []}]})");
    EXPECT_EQ(run({folder.path() / "a.json"}, true), 0);
    EXPECT_EQ(out.str(), "{\"scenario\":\"first\",\"file\":\"" + (folder.path() / "a.json").string() +
                             "\"}\n1 passed, 0 failed\n");
}

TEST_F(HostSimulatorTest, APathWithNothingToRunFails) {
    write("empty/readme.txt", "");
    EXPECT_EQ(run({folder.path() / "missing.json", folder.path() / "empty"}), 1);
    EXPECT_THAT(out.str(), HasSubstr("0 passed, 2 failed\n"));
    EXPECT_THAT(err.str(), HasSubstr("missing.json: step 0: no scenario here"));
}

}  // namespace
}  // namespace trc::simulator
