#include "platform/core/ClassRegistry.h"

#include <algorithm>

namespace trc::core {

ClassRegistry& ClassRegistry::shared() {
    static ClassRegistry registry;
    return registry;
}

const ClassInfo* ClassRegistry::find(std::string_view name) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& c : classes_) {
        if (c->name() == name) return c.get();
    }
    return nullptr;
}

std::vector<std::string> ClassRegistry::names() const {
    std::vector<std::string> out;
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& c : classes_) out.push_back(c->name());
    std::sort(out.begin(), out.end());
    return out;
}

const ClassInfo& ClassRegistry::add(std::unique_ptr<ClassInfo> info) {
    std::lock_guard<std::mutex> lock(mutex_);
    classes_.push_back(std::move(info));
    return *classes_.back();
}

const ClassInfo& registerClassInfo(std::unique_ptr<ClassInfo> info) {
    return ClassRegistry::shared().add(std::move(info));
}

}  // namespace trc::core
