#include "platform/flows/HTTPCookieStorage.h"

#include <chrono>
#include <sstream>

#include "platform/core/ProcessState.h"

namespace trc::flows {

namespace {

double nowSince1970() {
    using namespace std::chrono;
    return duration<double>(system_clock::now().time_since_epoch()).count();
}

std::vector<std::string> fields(const std::string& line) {
    std::vector<std::string> out;
    std::stringstream in(line);
    std::string f;
    while (std::getline(in, f, '\t')) out.push_back(f);
    return out;
}

}  // namespace

HTTPCookieStorage& HTTPCookieStorage::shared() {
    static HTTPCookieStorage& storage = []() -> HTTPCookieStorage& {
        static HTTPCookieStorage s;
        core::ProcessState::registerReset("flows.HTTPCookieStorage", [] { s.removeCookies(distantPast()); });
        return s;
    }();
    return storage;
}

std::vector<HTTPCookieStorage::Cookie> HTTPCookieStorage::cookies() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return cookies_;
}

std::vector<std::string> HTTPCookieStorage::cookieLines() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> out;
    for (const auto& c : cookies_) out.push_back(c.line);
    return out;
}

void HTTPCookieStorage::storeCookieLines(const std::vector<std::string>& lines) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<Cookie> next;
    double now = nowSince1970();
    for (const auto& line : lines) {
        auto f = fields(line);
        // domain, subdomains, path, secure, expiry, name, value
        if (f.size() < 7) continue;
        Cookie c{f[0], f[2], f[5], line, now};
        for (const auto& old : cookies_)
            if (old.domain == c.domain && old.path == c.path && old.name == c.name) c.createdAt = old.createdAt;
        next.push_back(std::move(c));
    }
    cookies_ = std::move(next);
}

void HTTPCookieStorage::removeCookies(core::Date since) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::erase_if(cookies_, [&](const Cookie& c) { return c.createdAt >= since.secondsSince1970; });
}

}  // namespace trc::flows
