#pragma once
// Bytes under keys, in memory only: the credential store of an onboarding
// that has no encrypted store yet. Gone with the object. Main thread.

#include <map>

#include "platform/flows/DataStoring.h"

namespace trc::flows {

class MemoryDataStorage : public DataStoring {
public:
    std::optional<core::Data> get(const std::string& key) const override;
    void put(const core::Data& data, const std::string& key) override { entries_[key] = data; }
    void remove(const std::string& key) override { entries_.erase(key); }
    std::vector<std::string> keys() const override;

private:
    std::map<std::string, core::Data> entries_;
};

}  // namespace trc::flows
