#include "simulator/ScenarioServers.h"

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sodium.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <set>
#include <thread>

#include "platform/core/Base64.h"
#include "platform/foundation/FormURLEncoding.h"
#include "simulator/ScenarioExtensions.h"

namespace trc::simulator {

namespace {
constexpr const char* kLoopback = "127.0.0.1";
// What the server library adds to a request's headers itself.
constexpr std::array<std::string_view, 4> kPseudoHeaders = {"REMOTE_ADDR", "REMOTE_PORT", "LOCAL_ADDR", "LOCAL_PORT"};
constexpr auto kStartLimit = std::chrono::seconds(5);

bool isPseudoHeader(const std::string& name) {
    return std::find(kPseudoHeaders.begin(), kPseudoHeaders.end(), name) != kPseudoHeaders.end();
}

std::string contentTypeOf(const std::string& body) {
    auto first = body.find_first_not_of(" \t\r\n");
    if (first != std::string::npos && (body[first] == '{' || body[first] == '[')) return "application/json";
    return "text/plain";
}

using foundation::FormURLEncoding;

std::string newCode() {
    unsigned char raw[24];
    randombytes_buf(raw, sizeof raw);
    return core::Base64::encodeURLSafe(raw, sizeof raw);
}

// RFC 7636 §4.6: BASE64URL(SHA256(verifier)).
std::string s256(const std::string& verifier) {
    unsigned char hash[crypto_hash_sha256_BYTES];
    crypto_hash_sha256(hash, reinterpret_cast<const unsigned char*>(verifier.data()), verifier.size());
    return core::Base64::encodeURLSafe(hash, sizeof hash);
}

std::string withQuery(const std::string& uri, const FormURLEncoding::Pairs& pairs) {
    return uri + (uri.find('?') == std::string::npos ? '?' : '&') + FormURLEncoding::write(pairs);
}

struct Answer {
    int status = 200;
    std::string body;
};

// {"status": 200, "body": "..."} of a server or a route; "refuse" and "hang"
// are left to the caller (name says which in errors).
Answer answerOf(const core::Dictionary& d, const std::function<ScenarioError(const std::string&)>& bad,
                const std::set<std::string>& others) {
    Answer a;
    for (const auto& [key, v] : d) {
        if (key == "status") {
            const std::int64_t* s = v.ifInteger();
            if (!s || *s < 100 || *s > 599) throw bad("\"status\" must be an HTTP status from 100 to 599");
            a.status = static_cast<int>(*s);
        } else if (key == "body") {
            if (!v.isString()) throw bad("\"body\" must be a text (write JSON bodies as a string)");
            a.body = *v.ifString();
        } else if (!others.contains(key)) {
            throw bad("unknown member \"" + key + "\"");
        }
    }
    return a;
}
}  // namespace

class ScenarioServers::Server {
public:
    enum class Mode { Answer, Refuse, Hang };
    using Routes = std::map<std::string, Answer>;

    Server(Mode mode, Answer answer, Routes routes)
        : mode_(mode), answer_(std::move(answer)), routes_(std::move(routes)) {}
    ~Server() { stop(); }

    void start() {
        if (mode_ == Mode::Refuse) {
            reserveUnlistenedPort();
            return;
        }
        http_.set_keep_alive_max_count(1);
        http_.set_read_timeout(2, 0);
        // By method, not before routing: a request's body is read only for
        // its method's handlers, and token requests are read from theirs.
        auto handler = [this](const httplib::Request& req, httplib::Response& res) { serve(req, res); };
        http_.Get(".*", handler);
        http_.Post(".*", handler);
        http_.Put(".*", handler);
        http_.Patch(".*", handler);
        http_.Delete(".*", handler);
        http_.Options(".*", handler);
        port_ = http_.bind_to_any_port(kLoopback);
        if (port_ <= 0) throw ScenarioError("cannot bind a server to 127.0.0.1");
        thread_ = std::thread([this] { http_.listen_after_bind(); });
        // Requests made before the accept loop runs would still be queued by
        // the kernel, but stop() must not race the loop's start.
        auto deadline = std::chrono::steady_clock::now() + kStartLimit;
        while (!http_.is_running() && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    }

    void stop() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        released_.notify_all();
        if (thread_.joinable()) {
            http_.stop();
            thread_.join();
        }
        if (reserved_ >= 0) {
            ::close(reserved_);
            reserved_ = -1;
        }
    }

    int port() const { return port_; }

    core::Value record() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return core::Dictionary{{"count", static_cast<long long>(requests_.size())}, {"requests", requests_}};
    }

private:
    // What the server issued a code for (RFC 6749 §4.1.2, RFC 7636 §4.4).
    struct Grant {
        std::string clientID;
        std::string redirectURI;
        std::string challenge;
    };

    void serve(const httplib::Request& req, httplib::Response& res) {
        core::Dictionary headers;
        for (const auto& [name, value] : req.headers) {
            if (isPseudoHeader(name)) continue;
            if (core::Value* existing = headers.find(name)) {
                *existing = core::Value(*existing->ifString() + ", " + value);
            } else {
                headers.set(name, value);
            }
        }
        std::unique_lock<std::mutex> lock(mutex_);
        // rawPath: as sent, escapes kept (path is decoded).
        requests_.push_back(core::Dictionary{{"method", req.method},
                                             {"path", req.path},
                                             {"rawPath", req.target.substr(0, req.target.find('?'))},
                                             {"headers", headers}});
        if (mode_ == Mode::Hang) {
            released_.wait(lock, [&] { return stopping_; });
            res.status = 503;
            return;
        }
        if (req.method == "GET" && req.get_param_value("response_type") == "code") return authorize(req, res);
        if (req.method == "POST") {
            if (auto form = FormURLEncoding::read(req.body);
                form && FormURLEncoding::value(*form, "grant_type") == "authorization_code" && !redeem(*form)) {
                res.status = 400;
                res.set_content(R"({"error": "invalid_grant"})", "application/json");
                return;
            }
        }
        auto route = routes_.find(req.method + " " + req.path);
        const Answer& answer = route == routes_.end() ? answer_ : route->second;
        res.status = answer.status;
        res.set_content(answer.body, contentTypeOf(answer.body).c_str());
    }

    // The person signs in at once: the browser is sent back to the client's
    // redirect URI with a new one-time code and the request's state.
    void authorize(const httplib::Request& req, httplib::Response& res) {
        const std::string client = req.get_param_value("client_id");
        const std::string redirect = req.get_param_value("redirect_uri");
        if (client.empty() || redirect.empty()) {
            // Nowhere safe to send the browser back to (RFC 6749 §4.1.2.1).
            res.status = 400;
            res.set_content(
                R"({"error": "invalid_request", "error_description": "client_id and redirect_uri are needed"})",
                "application/json");
            return;
        }
        FormURLEncoding::Pairs back;
        const std::string challenge = req.get_param_value("code_challenge");
        if (challenge.empty() || req.get_param_value("code_challenge_method") != "S256") {
            back = {{"error", "invalid_request"}, {"error_description", "PKCE with S256 is required"}};
        } else {
            const std::string code = newCode();
            grants_[code] = Grant{client, redirect, challenge};
            back = {{"code", code}};
        }
        if (req.has_param("state")) back.emplace_back("state", req.get_param_value("state"));
        res.status = 302;
        res.set_header("Location", withQuery(redirect, back));
    }

    // Whether a token request's code is one this server issued for that
    // client, redirect URI and verifier. A code is spent by any attempt.
    bool redeem(const FormURLEncoding::Pairs& form) {
        auto grant = grants_.find(FormURLEncoding::value(form, "code").value_or(""));
        if (grant == grants_.end()) return false;
        const Grant issued = grant->second;
        grants_.erase(grant);
        const std::optional<std::string> verifier = FormURLEncoding::value(form, "code_verifier");
        return FormURLEncoding::value(form, "client_id") == issued.clientID &&
               FormURLEncoding::value(form, "redirect_uri") == issued.redirectURI && verifier &&
               s256(*verifier) == issued.challenge;
    }

    // A bound socket that never listens: connections to its port are refused,
    // and no other program can take the port while the scenario runs.
    void reserveUnlistenedPort() {
        reserved_ = ::socket(AF_INET, SOCK_STREAM, 0);
        if (reserved_ < 0) throw ScenarioError("cannot make a socket for a refusing server");
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = 0;
        ::inet_pton(AF_INET, kLoopback, &addr.sin_addr);
        socklen_t len = sizeof addr;
        if (::bind(reserved_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
            ::getsockname(reserved_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
            throw ScenarioError("cannot reserve a port for a refusing server");
        }
        port_ = ntohs(addr.sin_port);
    }

    Mode mode_;
    Answer answer_;
    Routes routes_;
    httplib::Server http_;
    std::thread thread_;
    int port_ = 0;
    int reserved_ = -1;
    mutable std::mutex mutex_;
    std::condition_variable released_;
    bool stopping_ = false;
    core::Array requests_;
    std::map<std::string, Grant> grants_;
};

ScenarioServers::ScenarioServers() = default;
ScenarioServers::~ScenarioServers() { stop(); }

void ScenarioServers::start(const core::Dictionary& servers) {
    for (const auto& entry : servers) {
        // Named, not a structured binding: clang before 16 cannot capture one.
        const std::string& name = entry.first;
        const core::Value& spec = entry.second;
        const core::Dictionary* d = spec.ifDictionary();
        auto bad = [&](const std::string& what) { return ScenarioError("server \"" + name + "\": " + what); };
        if (!d) throw bad("must be a dictionary");
        Server::Mode mode = Server::Mode::Answer;
        for (const char* key : {"refuse", "hang"}) {
            const core::Value* v = d->find(key);
            if (!v) continue;
            if (*v != core::Value(true)) throw bad(std::string("\"") + key + "\" takes only true");
            if (mode != Server::Mode::Answer) throw bad("takes either \"refuse\" or \"hang\", not both");
            mode = std::string_view(key) == "refuse" ? Server::Mode::Refuse : Server::Mode::Hang;
        }
        const Answer answer = answerOf(*d, bad, {"refuse", "hang", "routes"});
        Server::Routes routes;
        if (const core::Value* r = d->find("routes")) {
            const core::Dictionary* rd = r->ifDictionary();
            if (!rd) throw bad("\"routes\" must be a dictionary of \"METHOD /path\": {\"status\", \"body\"}");
            for (const auto& routeEntry : *rd) {
                const std::string& route = routeEntry.first;
                const core::Value& routeSpec = routeEntry.second;
                const std::size_t space = route.find(' ');
                const std::string method = route.substr(0, space);
                const bool methodOk = !method.empty() && std::all_of(method.begin(), method.end(),
                                                                     [](char c) { return c >= 'A' && c <= 'Z'; });
                if (!methodOk || space == std::string::npos || route.compare(space + 1, 1, "/") != 0 ||
                    route.find_first_of(" ?#", space + 1) != std::string::npos)
                    throw bad("route \"" + route + "\" must be a method and a path, as \"GET /settings\"");
                const core::Dictionary* answerSpec = routeSpec.ifDictionary();
                auto badRoute = [&](const std::string& what) { return bad("route \"" + route + "\": " + what); };
                if (!answerSpec) throw badRoute("must be a dictionary");
                routes[route] = answerOf(*answerSpec, badRoute, {});
            }
        }
        if (mode != Server::Mode::Answer && (d->contains("status") || d->contains("body") || d->contains("routes"))) {
            throw bad("a refusing or hanging server takes no \"status\", \"body\" or \"routes\"");
        }
        auto server = std::make_unique<Server>(mode, answer, std::move(routes));
        server->start();
        servers_[name] = std::move(server);
    }
}

void ScenarioServers::stop() {
    for (auto& [name, server] : servers_) server->stop();
}

std::vector<std::string> ScenarioServers::names() const {
    std::vector<std::string> out;
    for (const auto& [name, server] : servers_) out.push_back(name);
    return out;
}

std::string ScenarioServers::baseUrl(const std::string& name) const {
    auto it = servers_.find(name);
    if (it == servers_.end()) return {};
    return "http://" + std::string(kLoopback) + ":" + std::to_string(it->second->port());
}

std::optional<core::Value> ScenarioServers::record(const std::string& name) const {
    auto it = servers_.find(name);
    if (it == servers_.end()) return std::nullopt;
    return it->second->record();
}

}  // namespace trc::simulator
