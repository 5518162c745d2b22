#pragma once
// The host simulator's command: runs every scenario named on the command line
// (a file, or a folder: each *.json directly in it, sorted by name), writes
// the transcript (or only the failures) as JSON Lines to out, readable
// failure lines to err, and ends with the line "N passed, M failed".
//
// main() only parses the arguments and calls run(). Main thread.

#include <filesystem>
#include <ostream>
#include <vector>

namespace trc::simulator {

class HostSimulator {
public:
    struct Options {
        bool transcript = false;
        double settleSeconds = 30;
    };

    // The exit status: 0 when every scenario passed, 1 otherwise (also when
    // a path names nothing to run).
    static int run(const std::vector<std::filesystem::path>& paths, const Options& options, std::ostream& out,
                   std::ostream& err);
    // The scenario files a path stands for; empty when it names none.
    static std::vector<std::filesystem::path> scenarioFiles(const std::filesystem::path& path);
};

}  // namespace trc::simulator
