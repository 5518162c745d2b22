#include "services/BaseSection.h"

#include "platform/ui/UITableViewCell.h"
#include "services/SectionedTableViewController.h"

namespace trc::services {

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

std::shared_ptr<ui::UITableViewCell> BaseSection::cellForRow(ui::UITableView& /*tableView*/,
                                                             const ui::IndexPath& /*indexPath*/,
                                                             const std::shared_ptr<SectionedTableViewController>& /*page*/) {
    return nullptr;
}

}  // namespace trc::services
