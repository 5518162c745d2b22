#pragma once
// A URL request: the URL text, the method (GET unless set), header fields
// (names compared without regard to case; setting one replaces it), a body,
// a timeout in seconds for the whole request (60 unless set) and a cache
// policy. A plain value; observers of a session change it before it is sent.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/core/Value.h"

namespace trc::flows {

class URLRequest {
public:
    enum class CachePolicy { useProtocolCachePolicy, reloadIgnoringLocalCacheData, returnCacheDataElseLoad };

    static constexpr double kDefaultTimeout = 60.0;

    URLRequest() = default;
    explicit URLRequest(std::string url, double timeoutInterval = kDefaultTimeout,
                        CachePolicy cachePolicy = CachePolicy::useProtocolCachePolicy)
        : url(std::move(url)), timeoutInterval(timeoutInterval), cachePolicy(cachePolicy) {}

    std::string url;
    std::string httpMethod = "GET";
    core::Data httpBody;
    double timeoutInterval = kDefaultTimeout;
    CachePolicy cachePolicy = CachePolicy::useProtocolCachePolicy;

    std::optional<std::string> value(std::string_view headerField) const;
    void setValue(std::string value, std::string_view headerField);
    void removeValue(std::string_view headerField);
    const std::vector<std::pair<std::string, std::string>>& allHTTPHeaderFields() const { return headers_; }

    // Compares header names as HTTP does.
    static bool sameHeaderName(std::string_view a, std::string_view b);

private:
    std::vector<std::pair<std::string, std::string>> headers_;
};

}  // namespace trc::flows
