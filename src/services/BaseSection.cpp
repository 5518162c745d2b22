#include "services/BaseSection.h"

#include "platform/core/SharedLoggerManager.h"
#include "platform/ui/UITableViewCell.h"
#include "services/HostNumber.h"
#include "services/SectionedTableViewController.h"

namespace trc::services {

namespace {}  // namespace

std::optional<int> BaseSection::rowArgument(const core::Value& value, const char* selector) {
    return HostNumber::rowOrSection(value, selector, "row");
}

const core::Dictionary* BaseSection::dictionaryArgument(const core::Value& value, const char* selector) {
    if (const core::Dictionary* d = value.ifDictionary()) return d;
    core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::error,
                                   std::string(selector) + ": expected a dictionary, not " + value.description());
    return nullptr;
}

const core::ClassInfo& BaseSection::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<BaseSection>("BaseSection", core::Object::classInfo())
            .property("maxItemCount", [](const BaseSection& s) { return core::Value(s.maxItemCount); })
            .property("sectionIndex", [](const BaseSection& s) { return core::Value(s.sectionIndex); })
            .property("parentTable",
                      [](const BaseSection& s) {
                          auto page = s.parentTable();
                          return page ? core::Value(page) : core::Value();
                      })
            .method(kSetFormCellSectionItem,
                    [](BaseSection& self, core::Args args) {
                        if (auto* params = dictionaryArgument(args[0], kSetFormCellSectionItem)) {
                            self.setFormCellSectionItem(*params, args[1].ifObject());
                        }
                        return core::Value();
                    })
            .method(kUpdateFormCell,
                    [](BaseSection& self, core::Args args) {
                        auto* params = dictionaryArgument(args[0], kUpdateFormCell);
                        auto row = rowArgument(args[1], kUpdateFormCell);
                        if (params && row) self.updateFormCell(*params, *row);
                        return core::Value();
                    })
            .method(kUpdateFormCells,
                    [](BaseSection& self, core::Args args) {
                        if (const core::Array* cells = args[0].ifArray()) {
                            self.updateFormCells(*cells);
                        } else {
                            core::SharedLoggerManager::log(
                                core::SharedLoggerManager::kTRCLogger, core::Severity::error,
                                std::string(kUpdateFormCells) + ": expected a list of cells");
                        }
                        return core::Value();
                    })
            .method(kRedraw,
                    [](BaseSection& self, core::Args args) {
                        if (auto* data = dictionaryArgument(args[0], kRedraw)) self.redraw(*data);
                        return core::Value();
                    })
            .build();
    return info;
}

void BaseSection::init(const core::Dictionary& params, std::shared_ptr<core::Object> callback) {
    maxItemCount = kDefaultMaxItemCount;
    sectionIndex = kUnplacedSectionIndex;
    parentTable_.reset();
    callback_ = std::move(callback);
    setData(params);
}

// The page core reads no section key that the sections built here rely on.
void BaseSection::setData(const core::Dictionary& /*params*/) {}

void BaseSection::redraw(const core::Dictionary& /*data*/) {}

void BaseSection::setFormCellSectionItem(const core::Dictionary& /*params*/,
                                         const std::shared_ptr<core::Object>& /*delegate*/) {}

void BaseSection::updateFormCell(const core::Dictionary& /*params*/, int /*row*/) {}

void BaseSection::updateFormCells(const core::Array& /*params*/) {}

void BaseSection::hideLazyLoadingIndicator() {}

std::shared_ptr<ui::UITableViewCell> BaseSection::cellForRow(
    ui::UITableView& /*tableView*/, const ui::IndexPath& /*indexPath*/,
    const std::shared_ptr<SectionedTableViewController>& /*page*/) {
    return nullptr;
}

}  // namespace trc::services
