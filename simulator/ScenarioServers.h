#pragma once
// The HTTP servers a scenario asks for ("servers"), each on 127.0.0.1 at a
// port the system picks:
//   {"status": 200, "body": "{}"}  answers every request so (defaults 200, "");
//   {"refuse": true}               a port with nothing listening;
//   {"hang": true}                 accepts and never answers.
// Every request is recorded (method, path, headers) for checks on
// "server:<name>": "count", "requests.N.method", "requests.N.path",
// "requests.N.headers.<Name>".
//
// Owned by the scenario runner for the whole scenario (a relaunch keeps
// them). Requests are served on the servers' own threads; stop() (and the
// destructor) releases hanging requests first, so shutting down never waits
// on a client.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/Value.h"

namespace trc::simulator {

class ScenarioServers {
public:
    ScenarioServers();
    ~ScenarioServers();
    ScenarioServers(const ScenarioServers&) = delete;
    ScenarioServers& operator=(const ScenarioServers&) = delete;

    // Starts the servers of a scenario's "servers" dictionary; throws
    // ScenarioError for a malformed entry or a server that cannot start.
    void start(const core::Dictionary& servers);
    void stop();

    std::vector<std::string> names() const;
    // "http://127.0.0.1:<port>"; empty for an unknown name.
    std::string baseUrl(const std::string& name) const;
    // {"count": N, "requests": [{"method", "path", "headers": {...}}]}, or
    // nullopt for an unknown name.
    std::optional<core::Value> record(const std::string& name) const;

private:
    class Server;
    std::map<std::string, std::unique_ptr<Server>> servers_;
};

}  // namespace trc::simulator
