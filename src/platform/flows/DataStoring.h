#pragma once
// Bytes under string keys: what a credential store keeps, before coding.
// Implementations throw an Error (a StoreManagerError for stores on disk)
// when they cannot read or write. Main thread.

#include <optional>
#include <string>
#include <vector>

#include "platform/core/Value.h"

namespace trc::flows {

class DataStoring {
public:
    virtual ~DataStoring() = default;

    virtual std::optional<core::Data> get(const std::string& key) const = 0;
    virtual void put(const core::Data& data, const std::string& key) = 0;
    virtual void remove(const std::string& key) = 0;
    virtual std::vector<std::string> keys() const = 0;
};

}  // namespace trc::flows
