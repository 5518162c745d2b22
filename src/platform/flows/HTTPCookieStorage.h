#pragma once
// The cookies the URL sessions of the process share. Every request sends the
// cookies that match it and keeps what the server sets (libcurl's cookie
// engine does the matching; this store holds the jar between requests).
// removeCookies(since:) forgets the cookies stored at or after a date (the
// distant past: all). Any thread (workers read and write it); a process-state
// reset empties it.

#include <mutex>
#include <string>
#include <vector>

#include "platform/core/Value.h"

namespace trc::flows {

class HTTPCookieStorage {
public:
    struct Cookie {
        std::string domain;
        std::string path;
        std::string name;
        // The cookie as a libcurl cookie-list line (Netscape format).
        std::string line;
        double createdAt = 0;
    };

    static HTTPCookieStorage& shared();
    static constexpr core::Date distantPast() { return core::Date{-62135769600.0}; }

    std::vector<Cookie> cookies() const;
    // Replaces the jar with what a request ended with: cookies with the same
    // domain, path and name keep their creation date.
    void storeCookieLines(const std::vector<std::string>& lines);
    std::vector<std::string> cookieLines() const;
    void removeCookies(core::Date since);

private:
    mutable std::mutex mutex_;
    std::vector<Cookie> cookies_;
};

}  // namespace trc::flows
