#include "host/FormCellContainerBridge.h"

#include "formcells/FormCellContainerViewController.h"
#include "formcells/FormCellFactory.h"
#include "formcells/FormCellItemDelegate.h"
#include "formcells/ListPickerDataSource.h"
#include "platform/core/ClassInfo.h"
#include "platform/core/SharedLoggerManager.h"

namespace trc::host {

namespace {

using formcells::FormCellContainerViewController;
using Controller = std::shared_ptr<FormCellContainerViewController>;

constexpr const char* kCreate = "createWithParams:";
constexpr const char* kNumberOfSections = "numberOfSections";
constexpr const char* kNumberOfRowsInSection = "numberOfRowsInSection";
constexpr const char* kSectionNames = "sectionNames";
constexpr const char* kIsInPopover = "isInPopover";
constexpr const char* kLocale = "locale";

void refuse(const std::string& selector, const std::string& why) {
    core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                                   "FormCellContainerBridge " + selector + ": " + why);
}

bool boolIn(const core::Value& v) {
    if (const auto* b = v.ifBool()) return *b;
    return v.asInteger().value_or(0) != 0;
}

core::Value create(const core::Value& arg) {
    const auto* params = arg.ifDictionary();
    if (!params) {
        refuse(kCreate, "the parameters are no dictionary; the form starts empty");
    }
    auto controller = std::make_shared<FormCellContainerViewController>(ui::UITableView::Style::Grouped);
    if (!params) return core::Value(controller);
    if (const auto* count = params->find(kNumberOfSections)) controller->announceNumberOfSections(*count, kCreate);
    if (const auto* counts = params->find(kNumberOfRowsInSection)) {
        controller->announceNumberOfRowsInSection(*counts, kCreate);
    }
    if (const auto* names = params->find(kSectionNames); names && names->ifArray()) {
        for (const auto& n : *names->ifArray()) {
            const auto* s = n.ifString();
            controller->sectionNames.push_back(s ? *s : std::string());
        }
    }
    if (const auto* popover = params->find(kIsInPopover)) controller->isInPopover = boolIn(*popover);
    const auto* locale = params->find(kLocale);
    const auto* identifier = locale ? locale->ifString() : nullptr;
    controller->setLocale(identifier ? *identifier : std::string(), kCreate);
    return core::Value(controller);
}

// Sends the form in the first argument its own selector with the other
// arguments; nothing when the first argument is no form.
core::Value forward(const char* selector, const char* controllerSelector, core::Args a) {
    auto controller = a[0].ifObjectOf<FormCellContainerViewController>();
    if (!controller) {
        refuse(selector, "the first argument is no form");
        return {};
    }
    return controller->perform(controllerSelector, a.subspan(1));
}

constexpr const char* kPopulate = "populateController:withParams:andBridge:";
constexpr const char* kUpdateCell = "updateCell:withParams:row:section:";
constexpr const char* kUpdateCells = "updateCells:withParams:andStyle:";
constexpr const char* kSetFocus = "setFocus:withRow:andSection:";
constexpr const char* kHideLazyLoadingIndicator = "hideLazyLoadingIndicator:withRow:andSection:";

}  // namespace

const core::ClassInfo& FormCellContainerBridge::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<FormCellContainerBridge>("FormCellContainerBridge", core::Object::classInfo())
            .constructible()
            .method(kCreate, [](FormCellContainerBridge&, core::Args a) { return create(a[0]); })
            .method(kPopulate,
                    [](FormCellContainerBridge&, core::Args a) {
                        return forward(kPopulate, FormCellContainerViewController::kAddFormCell, a);
                    })
            .method(kUpdateCell,
                    [](FormCellContainerBridge&, core::Args a) {
                        return forward(kUpdateCell, FormCellContainerViewController::kUpdateFormCell, a);
                    })
            .method(kUpdateCells,
                    [](FormCellContainerBridge&, core::Args a) {
                        return forward(kUpdateCells, FormCellContainerViewController::kUpdateFormCells, a);
                    })
            .method(kSetFocus,
                    [](FormCellContainerBridge&, core::Args a) {
                        return forward(kSetFocus, FormCellContainerViewController::kSetFocus, a);
                    })
            .method(kHideLazyLoadingIndicator,
                    [](FormCellContainerBridge&, core::Args a) {
                        return forward(kHideLazyLoadingIndicator,
                                       FormCellContainerViewController::kHideLazyLoadingIndicator, a);
                    })
            .build();
    return info;
}

void FormCellContainerBridge::install() {
    classInfo();
    FormCellContainerViewController::classInfo();
    formcells::FormCellItemDelegate::classInfo();
    formcells::ListPickerDataSource::classInfo();
}

}  // namespace trc::host
