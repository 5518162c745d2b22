#pragma once
// The HTTP servers a scenario asks for ("servers"), each on 127.0.0.1 at a
// port the system picks:
//   {"status": 200, "body": "{}"}  answers every request so (defaults 200, "");
//   {"refuse": true}               a port with nothing listening;
//   {"hang": true}                 accepts and never answers.
// An answering server may answer some requests otherwise, by method and path
// (query ignored): "routes": {"GET /settings": {"status": 200, "body": "{}"}}.
// Every answering server is also an OAuth 2.0 authorization server for the
// code grant with PKCE, whatever its paths: a GET with response_type=code
// redirects (302) to its redirect_uri with a new one-time code and the
// request's state (the person signs in at once); a POST with
// grant_type=authorization_code whose code, client_id, redirect_uri or S256
// code_verifier does not match what the code was issued for is answered
// 400 {"error": "invalid_grant"}, and otherwise as any other request.
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
