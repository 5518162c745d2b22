// hostsim: plays the host against the library from scenario files.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "simulator/HostSimulator.h"

int main(int argc, char** argv) {
    CLI::App app{"Plays the host against the library from scenario files and prints what the host receives."};
    bool transcript = false;
    std::vector<std::string> paths;
    app.add_flag("--transcript", transcript, "print the whole transcript, not only the failures");
    app.add_option("PATH", paths, "a scenario file, or a folder of *.json scenario files")->required();
    CLI11_PARSE(app, argc, argv);

    try {
        std::vector<std::filesystem::path> files(paths.begin(), paths.end());
        return trc::simulator::HostSimulator::run(files, {transcript}, std::cout, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "hostsim: " << e.what() << '\n';
        return 2;
    }
}
