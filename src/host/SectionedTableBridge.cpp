#include "host/SectionedTableBridge.h"

#include "host/SectionBridge.h"
#include "platform/core/SharedLoggerManager.h"
#include "services/SectionedTableViewController.h"

namespace trc::host {

namespace {
constexpr const char* kCreate = "create:";
constexpr const char* kInitialize = "initialize:";
}  // namespace

const core::ClassInfo& SectionedTableBridge::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<SectionedTableBridge>("SectionedTableBridge", core::Object::classInfo())
            .constructible()
            .method(kCreate, [](SectionedTableBridge& self, core::Args args) { return self.create(args[0]); })
            .build();
    return info;
}

void SectionedTableBridge::install() {
    SectionedTableBridge::classInfo();
    services::SectionedTableViewController::classInfo();
}

core::Value SectionedTableBridge::create(const core::Value& sections) {
    core::Array placed;
    if (const core::Array* items = sections.ifArray()) {
        for (const auto& item : *items) {
            auto bridge = item.ifObjectOf<SectionBridge>();
            placed.push_back(bridge && bridge->section() ? core::Value(bridge->section()) : item);
        }
    } else {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::error,
                                       std::string(kCreate) + ": the sections must be a list; the page is empty");
    }
    auto page = std::make_shared<services::SectionedTableViewController>();
    page->perform(kInitialize, core::Value(std::move(placed)));
    return core::Value(page);
}

}  // namespace trc::host
