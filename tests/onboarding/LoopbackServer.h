#pragma once
// A server on 127.0.0.1 that a test starts and owns, in one of three ways:
// answering every request with one status and body, accepting requests and
// never answering them (until the test ends), or refusing connections (a
// bound port with nobody listening). It counts the requests it received.

#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace trc::onboarding::test {

class LoopbackServer {
public:
    enum class Mode { answering, hanging, refusing };

    explicit LoopbackServer(Mode mode = Mode::answering, int status = 200, std::string body = "{}") {
        if (mode == Mode::refusing) {
            refusingSocket_ = ::socket(AF_INET, SOCK_STREAM, 0);
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            socklen_t length = sizeof(address);
            ::bind(refusingSocket_, reinterpret_cast<sockaddr*>(&address), length);
            ::getsockname(refusingSocket_, reinterpret_cast<sockaddr*>(&address), &length);
            port_ = ntohs(address.sin_port);
            return;
        }
        server_.Get(".*", [this, mode, status, body](const httplib::Request&, httplib::Response& res) {
            ++hits_;
            while (mode == Mode::hanging && !released_) std::this_thread::sleep_for(std::chrono::milliseconds(5));
            res.status = status;
            res.set_content(body, "application/json");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
        while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ~LoopbackServer() {
        released_ = true;
        if (refusingSocket_ >= 0) ::close(refusingSocket_);
        if (thread_.joinable()) {
            server_.stop();
            thread_.join();
        }
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    std::string url() const { return "http://127.0.0.1:" + std::to_string(port_); }
    int hits() const { return hits_; }

private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
    int refusingSocket_ = -1;
    std::atomic<int> hits_{0};
    std::atomic<bool> released_{false};
};

}  // namespace trc::onboarding::test
