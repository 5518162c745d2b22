#include "platform/flows/URLCache.h"

#include "platform/core/ProcessState.h"

namespace trc::flows {

URLCache& URLCache::shared() {
    static URLCache& cache = []() -> URLCache& {
        static URLCache c;
        core::ProcessState::registerReset("flows.URLCache", [] { c.removeAllCachedResponses(); });
        return c;
    }();
    return cache;
}

void URLCache::storeCachedResponse(const std::string& url, CachedResponse cached) {
    std::lock_guard<std::mutex> lock(mutex_);
    responses_[url] = std::move(cached);
}

std::optional<URLCache::CachedResponse> URLCache::cachedResponse(const std::string& url) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = responses_.find(url);
    if (it == responses_.end()) return std::nullopt;
    return it->second;
}

void URLCache::removeAllCachedResponses() {
    std::lock_guard<std::mutex> lock(mutex_);
    responses_.clear();
}

std::size_t URLCache::count() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return responses_.size();
}

}  // namespace trc::flows
