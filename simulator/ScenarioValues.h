#pragma once
// The values of one scenario: turns the scenario's JSON into host values,
// keeps the objects it names, and compares what the library produced with
// what the scenario expects.
//
// Resolving (send arguments, "returns", "defaults", step values handed to
// extensions): "$name" is the host object or stored value of that name,
// "$$text" the literal "$text", {"$date": ISO}, {"$data": Base64} and
// {"$null": true} the tagged kinds, "$resolve"/"$reject" new blocks that write
// {"resolve"/"reject": ..., "step": N} lines (N: the step whose values made
// the block), and "{{server}}" in any string or key the server's base URL.
//
// Matching (expect lines, check's equals): the same forms, plus
// {"$match": regex} (ECMAScript, whole string), {"$any": true} (any value
// that is there), {"$absent": true} (nothing there) and {"$object": "Class"}
// (an object of that class). Kinds are exact: a bool is not a number, an
// integer not a double, nil not the null object; dictionaries must have the
// same keys (entries expected absent aside).
//
// Owned by the scenario runner (std::shared_ptr; host objects and blocks
// reach it weakly). Main thread. Malformed input throws ScenarioError.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/Value.h"
#include "simulator/HostObject.h"
#include "simulator/ScenarioExtensions.h"
#include "simulator/Transcript.h"

namespace trc::simulator {

class ScenarioValues : public std::enable_shared_from_this<ScenarioValues> {
public:
    explicit ScenarioValues(std::shared_ptr<Transcript> transcript);

    // {"answers": [...], "returns": {...}} under name.
    void addHostObject(const std::string& name, const core::Value& spec);
    void addServer(const std::string& name, const std::string& baseUrl);
    // Stores value for "$name"; a host object's name cannot be reused.
    void store(const std::string& name, core::Value value);
    // Forgets every stored value (host objects stay).
    void dropStored();
    // The value "$name" stands for; throws ScenarioError for an unknown name.
    core::Value named(std::string_view name) const;

    core::Value resolve(const core::Value& raw) const;
    std::string substitute(std::string_view text) const;

    // Whether actual (nullopt: nothing there) matches expected; when not, why
    // holds what differed and where.
    bool matches(const core::Value& expected, const std::optional<core::Value>& actual, std::string& why) const;

    // A value as the transcript writes it, for messages.
    static std::string describe(const core::Value& value);
    static std::string describe(const std::optional<core::Value>& value);

private:
    bool matchAt(const core::Value& expected, const std::optional<core::Value>& actual, const std::string& path,
                 std::string& why) const;
    core::Value makeBlock(bool resolving) const;

    std::shared_ptr<Transcript> transcript_;
    std::map<std::string, std::shared_ptr<HostObject>, std::less<>> hostObjects_;
    std::map<std::string, core::Value, std::less<>> stored_;
    std::map<std::string, std::string, std::less<>> servers_;
};

}  // namespace trc::simulator
