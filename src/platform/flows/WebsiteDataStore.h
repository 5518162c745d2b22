#pragma once
// What web pages left behind (cookies, local storage, caches), as records per
// site. The sign-in screen adds a record for the site it visited; fetching
// and removing records complete later, on the main queue, as the platform's
// store does. Main thread; a process-state reset empties the default store.

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace trc::flows {

class WebsiteDataStore {
public:
    struct Record {
        std::string displayName;
        std::set<std::string> dataTypes;
        friend bool operator==(const Record&, const Record&) = default;
    };

    static WebsiteDataStore& defaultStore();
    static std::set<std::string> allWebsiteDataTypes();

    // Adds types to the record of a site (made when missing).
    void addRecord(const std::string& displayName, const std::set<std::string>& dataTypes);
    // The records holding any of the types.
    void fetchDataRecords(const std::set<std::string>& ofTypes, std::function<void(std::vector<Record>)> completion);
    // Removes the types from the given records; records left without types go.
    void removeData(const std::set<std::string>& ofTypes, const std::vector<Record>& forRecords,
                    std::function<void()> completion);

    const std::vector<Record>& records() const { return records_; }
    void removeAll() { records_.clear(); }

private:
    std::vector<Record> records_;
};

}  // namespace trc::flows
