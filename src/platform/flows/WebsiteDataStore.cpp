#include "platform/flows/WebsiteDataStore.h"

#include <algorithm>

#include "platform/core/ProcessState.h"
#include "platform/dispatch/MainQueue.h"

namespace trc::flows {

WebsiteDataStore& WebsiteDataStore::defaultStore() {
    static WebsiteDataStore& store = []() -> WebsiteDataStore& {
        static WebsiteDataStore s;
        core::ProcessState::registerReset("flows.WebsiteDataStore", [] { s.removeAll(); });
        return s;
    }();
    return store;
}

std::set<std::string> WebsiteDataStore::allWebsiteDataTypes() {
    return {"Cookies", "DiskCache", "MemoryCache", "LocalStorage", "SessionStorage", "IndexedDBDatabases"};
}

void WebsiteDataStore::addRecord(const std::string& displayName, const std::set<std::string>& dataTypes) {
    for (auto& r : records_)
        if (r.displayName == displayName) {
            r.dataTypes.insert(dataTypes.begin(), dataTypes.end());
            return;
        }
    records_.push_back({displayName, dataTypes});
}

void WebsiteDataStore::fetchDataRecords(const std::set<std::string>& ofTypes,
                                        std::function<void(std::vector<Record>)> completion) {
    std::vector<Record> found;
    for (const auto& r : records_)
        if (std::any_of(r.dataTypes.begin(), r.dataTypes.end(), [&](const auto& t) { return ofTypes.count(t) > 0; }))
            found.push_back(r);
    dispatch::MainQueue::shared().async([completion = std::move(completion), found = std::move(found)] {
        if (completion) completion(found);
    });
}

void WebsiteDataStore::removeData(const std::set<std::string>& ofTypes, const std::vector<Record>& forRecords,
                                  std::function<void()> completion) {
    for (auto& r : records_) {
        bool named = std::any_of(forRecords.begin(), forRecords.end(),
                                 [&](const Record& f) { return f.displayName == r.displayName; });
        if (named) std::erase_if(r.dataTypes, [&](const std::string& t) { return ofTypes.count(t) > 0; });
    }
    std::erase_if(records_, [](const Record& r) { return r.dataTypes.empty(); });
    dispatch::MainQueue::shared().async([completion = std::move(completion)] {
        if (completion) completion();
    });
}

}  // namespace trc::flows
