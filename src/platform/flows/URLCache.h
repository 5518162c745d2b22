#pragma once
// The responses the URL sessions of the process keep: successful GET answers
// are stored, and a request that asks for cached data gets the stored answer
// without going to the network. removeAllCachedResponses forgets them all.
// Any thread; a process-state reset empties it.

#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "platform/core/Value.h"
#include "platform/flows/HTTPURLResponse.h"

namespace trc::flows {

class URLCache {
public:
    struct CachedResponse {
        HTTPURLResponse response;
        core::Data data;
    };

    static URLCache& shared();

    void storeCachedResponse(const std::string& url, CachedResponse cached);
    std::optional<CachedResponse> cachedResponse(const std::string& url) const;
    void removeAllCachedResponses();
    std::size_t count() const;

private:
    mutable std::mutex mutex_;
    std::map<std::string, CachedResponse> responses_;
};

}  // namespace trc::flows
