#pragma once
// A credential store as steps use it: get and put a Data value under a key
// (the store codes it on the way in and decodes it on the way out). Reads of
// an absent key give nothing; failures throw an Error. Main thread.

#include <optional>
#include <string>

#include "platform/core/Value.h"

namespace trc::flows {

class CodableStoring {
public:
    virtual ~CodableStoring() = default;

    virtual std::optional<core::Data> get(const std::string& key) const = 0;
    virtual void put(const core::Data& data, const std::string& key) = 0;
    virtual void remove(const std::string& key) = 0;
};

}  // namespace trc::flows
