#include "simulator/ScenarioServers.h"

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

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
}  // namespace

class ScenarioServers::Server {
public:
    enum class Mode { Answer, Refuse, Hang };

    Server(Mode mode, int status, std::string body) : mode_(mode), status_(status), body_(std::move(body)) {}
    ~Server() { stop(); }

    void start() {
        if (mode_ == Mode::Refuse) {
            reserveUnlistenedPort();
            return;
        }
        http_.set_keep_alive_max_count(1);
        http_.set_read_timeout(2, 0);
        http_.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
            serve(req, res);
            return httplib::Server::HandlerResponse::Handled;
        });
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
        res.status = status_;
        res.set_content(body_, contentTypeOf(body_).c_str());
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
    int status_;
    std::string body_;
    httplib::Server http_;
    std::thread thread_;
    int port_ = 0;
    int reserved_ = -1;
    mutable std::mutex mutex_;
    std::condition_variable released_;
    bool stopping_ = false;
    core::Array requests_;
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
        int status = 200;
        std::string body;
        for (const auto& [key, v] : *d) {
            if (key == "refuse" || key == "hang") {
                if (v != core::Value(true)) throw bad("\"" + key + "\" takes only true");
                if (mode != Server::Mode::Answer) throw bad("takes either \"refuse\" or \"hang\", not both");
                mode = key == "refuse" ? Server::Mode::Refuse : Server::Mode::Hang;
            } else if (key == "status") {
                const std::int64_t* s = v.ifInteger();
                if (!s || *s < 100 || *s > 599) throw bad("\"status\" must be an HTTP status from 100 to 599");
                status = static_cast<int>(*s);
            } else if (key == "body") {
                if (!v.isString()) throw bad("\"body\" must be a text (write JSON bodies as a string)");
                body = *v.ifString();
            } else {
                throw bad("unknown member \"" + key + "\"");
            }
        }
        if (mode != Server::Mode::Answer && (d->contains("status") || d->contains("body"))) {
            throw bad("a refusing or hanging server takes no \"status\" or \"body\"");
        }
        auto server = std::make_unique<Server>(mode, status, std::move(body));
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
