#include "services/SectionFactory.h"

#include <map>
#include <mutex>

#include "platform/core/SharedLoggerManager.h"

namespace trc::services {

namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, SectionFactory::Maker, std::less<>> makers;
};

Registry& registry() {
    static Registry r;
    return r;
}

}  // namespace

void SectionFactory::registerSectionType(const std::string& type, Maker maker) {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    r.makers[type] = std::move(maker);
}

bool SectionFactory::isRegistered(const std::string& type) {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    return r.makers.count(type) > 0;
}

std::shared_ptr<BaseSection> SectionFactory::createSection(const core::Dictionary& params,
                                                           std::shared_ptr<core::Object> callback) {
    const core::Value* type = params.find(kType);
    if (!type || !type->isString()) {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::error,
                                       "createSection: the section has no text \"type\"; no section made");
        return nullptr;
    }
    Maker maker;
    {
        auto& r = registry();
        std::lock_guard lock(r.mutex);
        auto it = r.makers.find(*type->ifString());
        if (it != r.makers.end()) maker = it->second;
    }
    if (!maker) {
        core::SharedLoggerManager::log(
            core::SharedLoggerManager::kTRCLogger, core::Severity::error,
            "createSection: no section of type \"" + *type->ifString() + "\"; no section made");
        return nullptr;
    }
    return maker(params, std::move(callback));
}

}  // namespace trc::services
