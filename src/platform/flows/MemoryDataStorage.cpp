#include "platform/flows/MemoryDataStorage.h"

namespace trc::flows {

std::optional<core::Data> MemoryDataStorage::get(const std::string& key) const {
    auto it = entries_.find(key);
    if (it == entries_.end()) return std::nullopt;
    return it->second;
}

std::vector<std::string> MemoryDataStorage::keys() const {
    std::vector<std::string> out;
    out.reserve(entries_.size());
    for (const auto& [k, v] : entries_) out.push_back(k);
    return out;
}

}  // namespace trc::flows
