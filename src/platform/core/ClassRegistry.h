#pragma once
// Looks classes up by the name they are registered under, as the host does.
// Classes register when their ClassInfo is first built; the host layer
// builds every class it exposes at start-up. Lives for the process. Safe to
// use from any thread: a class may first be built on a background thread.
// When two classes share a name, the first registered is the one found.

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/ClassInfo.h"

namespace trc::core {

class ClassRegistry {
public:
    static ClassRegistry& shared();

    const ClassInfo* find(std::string_view name) const;
    std::vector<std::string> names() const;

    const ClassInfo& add(std::unique_ptr<ClassInfo> info);

private:
    mutable std::mutex mutex_;
    std::vector<std::unique_ptr<ClassInfo>> classes_;
};

}  // namespace trc::core
