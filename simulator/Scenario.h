#pragma once
// A host scenario file, read and checked for its shape: the one-line
// description, the bundle folder (relative to the file), the user defaults
// before the first step, the servers, the host objects and the steps. The
// values inside stay raw JSON (null read as nil); the runner resolves them
// when they are used.
//
// A plain value; any thread. load()/parse() throw ScenarioError with a
// message that says what is wrong (malformed JSON with its position, a member
// of the wrong kind, a missing "steps").

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/Value.h"

namespace trc::simulator {

class Scenario {
public:
    static Scenario load(const std::filesystem::path& file);
    // dir: the folder that relative paths in the scenario start from.
    static Scenario parse(std::string_view text, const std::filesystem::path& dir);

    std::filesystem::path file;
    std::filesystem::path dir;
    std::string description;
    std::optional<std::filesystem::path> bundle;
    core::Dictionary defaults;
    core::Dictionary servers;
    core::Dictionary objects;
    core::Array steps;
};

}  // namespace trc::simulator
