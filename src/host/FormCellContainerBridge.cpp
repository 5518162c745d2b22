#include "host/FormCellContainerBridge.h"

#include "formcells/FormCellContainerViewController.h"
#include "formcells/FormCellFactory.h"
#include "formcells/FormCellItemDelegate.h"
#include "formcells/ListPickerDataSource.h"
#include "platform/core/ClassInfo.h"
#include "services/SharedLoggerManager.h"

namespace trc::host {

namespace {

using formcells::FormCellContainerViewController;
using Controller = std::shared_ptr<FormCellContainerViewController>;

constexpr const char* kNumberOfSections = "numberOfSections";
constexpr const char* kNumberOfRowsInSection = "numberOfRowsInSection";
constexpr const char* kSectionNames = "sectionNames";
constexpr const char* kIsInPopover = "isInPopover";
constexpr const char* kLocale = "locale";

void refuse(const std::string& selector, const std::string& why) {
    services::SharedLoggerManager::log(formcells::FormCellFactory::kLoggerName, "warn",
                                       "FormCellContainerBridge " + selector + ": " + why);
}

Controller controllerIn(const core::Value& v, const char* selector) {
    auto controller = v.ifObjectOf<FormCellContainerViewController>();
    if (!controller) refuse(selector, "the first argument is no form");
    return controller;
}

std::optional<int> intIn(const core::Value& v) {
    if (auto n = v.asInteger()) return static_cast<int>(*n);
    if (const auto* b = v.ifBool()) return *b ? 1 : 0;
    return std::nullopt;
}

bool boolIn(const core::Value& v) {
    if (const auto* b = v.ifBool()) return *b;
    return v.asInteger().value_or(0) != 0;
}

core::Value create(const core::Value& arg) {
    const auto* params = arg.ifDictionary();
    if (!params) {
        refuse("createWithParams:", "the parameters are no dictionary; the form starts empty");
    }
    auto controller = std::make_shared<FormCellContainerViewController>(ui::UITableView::Style::Grouped);
    if (!params) return core::Value(controller);
    const core::Value nil;
    auto entry = [&](const char* key) -> const core::Value& {
        const auto* v = params->find(key);
        return v ? *v : nil;
    };
    controller->announcedNumberOfSections = intIn(entry(kNumberOfSections)).value_or(0);
    if (const auto* counts = entry(kNumberOfRowsInSection).ifArray()) {
        for (const auto& c : *counts) controller->announcedNumberOfRowsInSection.push_back(intIn(c).value_or(0));
    }
    if (const auto* names = entry(kSectionNames).ifArray()) {
        for (const auto& n : *names) {
            const auto* s = n.ifString();
            controller->sectionNames.push_back(s ? *s : std::string());
        }
    }
    controller->isInPopover = boolIn(entry(kIsInPopover));
    const auto* locale = entry(kLocale).ifString();
    controller->setLocale(locale ? *locale : std::string());
    return core::Value(controller);
}

// Runs fn with the form and the row numbers, or logs why not.
template <class F>
core::Value withRow(const char* selector, core::Args a, std::size_t rowArg, F fn) {
    auto controller = controllerIn(a[0], selector);
    if (!controller) return {};
    auto row = a[rowArg].asInteger();
    auto section = a[rowArg + 1].asInteger();
    if (!row || !section) {
        refuse(selector, "row and section must be numbers");
        return {};
    }
    fn(*controller, static_cast<int>(*row), static_cast<int>(*section));
    return {};
}

}  // namespace

const core::ClassInfo& FormCellContainerBridge::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<FormCellContainerBridge>("FormCellContainerBridge", core::Object::classInfo())
            .constructible()
            .method("createWithParams:", [](FormCellContainerBridge&, core::Args a) { return create(a[0]); })
            .method("populateController:withParams:andBridge:",
                    [](FormCellContainerBridge&, core::Args a) {
                        const char* selector = "populateController:withParams:andBridge:";
                        auto controller = controllerIn(a[0], selector);
                        if (!controller) return core::Value();
                        const auto* params = a[1].ifDictionary();
                        if (!params) {
                            refuse(selector, "the cell parameters are no dictionary");
                            return core::Value();
                        }
                        auto delegate = a[2].ifObject();
                        if (!delegate) delegate = std::make_shared<formcells::FormCellItemDelegate>();
                        controller->addFormCell(*params, delegate);
                        return core::Value();
                    })
            .method("updateCell:withParams:row:section:",
                    [](FormCellContainerBridge&, core::Args a) {
                        const char* selector = "updateCell:withParams:row:section:";
                        const auto* params = a[1].ifDictionary();
                        if (!params) {
                            refuse(selector, "the update is no dictionary");
                            return core::Value();
                        }
                        return withRow(selector, a, 2, [&](FormCellContainerViewController& c, int row, int section) {
                            c.updateFormCell(*params, row, section);
                        });
                    })
            .method("updateCells:withParams:andStyle:",
                    [](FormCellContainerBridge&, core::Args a) {
                        const char* selector = "updateCells:withParams:andStyle:";
                        auto controller = controllerIn(a[0], selector);
                        if (!controller) return core::Value();
                        const auto* cells = a[1].ifArray();
                        if (!cells) {
                            refuse(selector, "the cells are no array");
                            return core::Value();
                        }
                        const auto* style = a[2].ifString();
                        controller->updateFormCells(*cells, style ? std::optional<std::string>(*style) : std::nullopt);
                        return core::Value();
                    })
            .method("setFocus:withRow:andSection:",
                    [](FormCellContainerBridge&, core::Args a) {
                        return withRow("setFocus:withRow:andSection:", a, 1,
                                       [](FormCellContainerViewController& c, int row, int section) {
                                           c.setFocus(row, section);
                                       });
                    })
            .method("hideLazyLoadingIndicator:withRow:andSection:",
                    [](FormCellContainerBridge&, core::Args a) {
                        return withRow("hideLazyLoadingIndicator:withRow:andSection:", a, 1,
                                       [](FormCellContainerViewController& c, int row, int section) {
                                           c.hideLazyLoadingIndicator(row, section);
                                       });
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
