#include "host/SectionBridge.h"

#include "formcells/FormCellItemDelegate.h"
#include "formcells/FormCellSection.h"
#include "host/SectionDelegate.h"
#include "platform/core/SharedLoggerManager.h"
#include "services/SearchTimer.h"
#include "services/SectionFactory.h"
#include "services/SectionedTableViewController.h"

namespace trc::host {

namespace {

void logError(const std::string& message) {
    core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::error, message);
}

// Host selectors and the section selectors they forward to.
constexpr const char* kCreate = "create:callback:";
constexpr const char* kSetFormCellSectionItem = "setFormCellSectionItem:callback:";
constexpr const char* kUpdateCell = "updateCell:row:";
constexpr const char* kUpdateCells = "updateCells:";
constexpr const char* kSetFocus = "setFocus:";
constexpr const char* kHideLazyLoadingIndicator = "hideLazyLoadingIndicator:";
constexpr const char* kRedraw = "redraw:";

}  // namespace

const core::ClassInfo& SectionBridge::classInfo() {
    using formcells::FormCellSection;
    using services::BaseSection;
    static const core::ClassInfo& info =
        core::ClassBuilder<SectionBridge>("SectionBridge", core::Object::classInfo())
            .constructible()
            .method(kCreate, [](SectionBridge& self, core::Args args) { return self.create(args[0], args[1]); })
            .method(kSetFormCellSectionItem,
                    [](SectionBridge& self, core::Args args) {
                        self.setFormCellSectionItem(args[0], args[1]);
                        return core::Value();
                    })
            .method(kUpdateCell,
                    [](SectionBridge& self, core::Args args) {
                        self.forward(BaseSection::kUpdateFormCell, args);
                        return core::Value();
                    })
            .method(kUpdateCells,
                    [](SectionBridge& self, core::Args args) {
                        self.forward(BaseSection::kUpdateFormCells, args);
                        return core::Value();
                    })
            .method(kSetFocus,
                    [](SectionBridge& self, core::Args args) {
                        self.forward(FormCellSection::kSetFocusWithRow, args);
                        return core::Value();
                    })
            .method(kHideLazyLoadingIndicator,
                    [](SectionBridge& self, core::Args args) {
                        self.hideLazyLoadingIndicator(args[0]);
                        return core::Value();
                    })
            .method(kRedraw,
                    [](SectionBridge& self, core::Args args) {
                        self.forward(BaseSection::kRedraw, args);
                        return core::Value();
                    })
            .property(
                "section",
                [](const SectionBridge& self) { return self.section_ ? core::Value(self.section_) : core::Value(); })
            .build();
    return info;
}

void SectionBridge::install() {
    SectionDelegate::classInfo();
    SectionBridge::classInfo();
    services::BaseSection::classInfo();
    services::SearchTimer::classInfo();
    services::SectionedTableViewController::classInfo();
    formcells::FormCellItemDelegate::classInfo();
    formcells::FormCellSection::classInfo();
    formcells::FormCellSection::registerSectionType();
}

core::Value SectionBridge::create(const core::Value& params, const core::Value& callback) {
    const core::Dictionary* dict = params.ifDictionary();
    if (!dict) {
        logError(std::string(kCreate) + ": the section parameters must be a dictionary");
        return {};
    }
    std::shared_ptr<core::Object> delegate = callback.ifObject();
    if (!delegate) delegate = std::make_shared<SectionDelegate>();
    auto section = services::SectionFactory::createSection(*dict, std::move(delegate));
    if (!section) return {};
    section_ = section;
    return core::Value(section_);
}

void SectionBridge::setFormCellSectionItem(const core::Value& params, const core::Value& callback) {
    std::shared_ptr<core::Object> delegate = callback.ifObject();
    if (!delegate) delegate = std::make_shared<formcells::FormCellItemDelegate>();
    std::vector<core::Value> args{params, core::Value(delegate)};
    forward(services::BaseSection::kSetFormCellSectionItem, core::Args(args));
}

void SectionBridge::forward(const char* selector, core::Args args) {
    if (!section_) {
        logError(std::string(selector) + ": no section yet (create:callback: makes it)");
        return;
    }
    if (!section_->respondsToSelector(selector)) {
        logError(std::string(selector) + ": a " + section_->className() + " has no such operation");
        return;
    }
    try {
        section_->perform(selector, args);
    } catch (const std::exception& e) {
        logError(std::string(selector) + " failed: " + e.what());
    }
}

void SectionBridge::hideLazyLoadingIndicator(const core::Value& row) {
    if (section_ && !section_->respondsToSelector(formcells::FormCellSection::kHideLazyLoadingIndicatorWithRow)) {
        section_->hideLazyLoadingIndicator();
        return;
    }
    forward(formcells::FormCellSection::kHideLazyLoadingIndicatorWithRow, core::Args(&row, 1));
}

}  // namespace trc::host
