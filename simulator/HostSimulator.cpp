#include "simulator/HostSimulator.h"

#include <algorithm>

#include "simulator/ScenarioRunner.h"
#include "simulator/Transcript.h"

namespace trc::simulator {

namespace fs = std::filesystem;

std::vector<fs::path> HostSimulator::scenarioFiles(const fs::path& path) {
    std::error_code ec;
    if (!fs::is_directory(path, ec))
        return fs::exists(path, ec) ? std::vector<fs::path>{path} : std::vector<fs::path>{};
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(path, ec)) {
        if (entry.is_regular_file(ec) && entry.path().extension() == ".json") files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

int HostSimulator::run(const std::vector<fs::path>& paths, const Options& options, std::ostream& out,
                       std::ostream& err) {
    ScenarioRunner runner({&out, options.transcript, &err, options.settleSeconds});
    int passed = 0;
    int failed = 0;
    for (const fs::path& path : paths) {
        std::vector<fs::path> files = scenarioFiles(path);
        if (files.empty()) {
            // Nothing to run is a failure, so that a mistyped path never passes.
            Transcript transcript({&out, options.transcript, &err, path.string()});
            transcript.fail("no scenario here (not a file, nor a folder holding *.json files)", 0);
            ++failed;
            continue;
        }
        for (const fs::path& file : files) {
            ScenarioRunner::Result result = runner.run(file);
            ++(result.passed() ? passed : failed);
        }
    }
    out << passed << " passed, " << failed << " failed" << std::endl;
    return failed == 0 ? 0 : 1;
}

}  // namespace trc::simulator
