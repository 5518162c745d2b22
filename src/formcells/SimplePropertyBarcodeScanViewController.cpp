#include "formcells/SimplePropertyBarcodeScanViewController.h"

#include "formcells/FormCellFactory.h"
#include "formcells/FormCellOwner.h"
#include "platform/core/ClassInfo.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIValues.h"
#include "platform/vessa/VUIBarcodeScanViewController.h"
#include "platform/vessa/VUITextFieldFormCell.h"

namespace trc::formcells {

const core::ClassInfo& SimplePropertyBarcodeScanViewController::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<SimplePropertyBarcodeScanViewController>("SimplePropertyBarcodeScanViewController",
                                                                    ui::UIViewController::classInfo())
            .constructible()
            .property("cell",
                      [](const SimplePropertyBarcodeScanViewController& c) { return ui::objectOrNil(c.cell()); })
            .property("_parentNavigationController",
                      [](const SimplePropertyBarcodeScanViewController& c) {
                          return ui::objectOrNil(c.parentNavigationController());
                      })
            .property("barcodeScanViewControllerInstance",
                      [](const SimplePropertyBarcodeScanViewController& c) {
                          return ui::objectOrNil(c.barcodeScanViewControllerInstance());
                      })
            .build();
    return info;
}

SimplePropertyBarcodeScanViewController::SimplePropertyBarcodeScanViewController()
    : BarcodeScanPresentingController(kLoggerName) {}

void SimplePropertyBarcodeScanViewController::create(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell,
                                                     const std::shared_ptr<FormCellOwner>& containerDelegate,
                                                     const std::shared_ptr<core::Object>& formcellDelegate,
                                                     const ui::IndexPath& indexPath,
                                                     std::optional<std::string> cellName) {
    cell_ = cell;
    formcellDelegate_ = formcellDelegate;
    indexPath_ = indexPath;
    cellName_ = std::move(cellName);
    containerDelegate_ = containerDelegate;
    refreshParentController();
    presentScanner();
}

void SimplePropertyBarcodeScanViewController::didFinishScanning(const std::string& text) {
    const core::Dictionary change{{FormCellFactory::kValueKey, core::Value(text)}};
    auto owner = containerDelegate_.lock();
    if (!owner) {
        if (auto target = cell_.lock()) target->setValue(text);
        FormCellFactory::notifyFormCellUpdate(formcellDelegate_.lock(), change);
        return;
    }
    auto row = owner->shownRow(cellName_, indexPath_);
    if (!row) {
        logger()->warn("the scanned row \"" + cellName_.value_or("") + "\" is no longer shown; the reading is dropped");
        return;
    }
    // The cell that shows the row now; the one the scanner was opened from
    // may show another row since.
    auto table = owner->cellTableView();
    if (auto target =
            table ? std::dynamic_pointer_cast<vessa::VUITextFieldFormCell>(table->cellForRow(*row)) : nullptr) {
        target->setValue(text);
    }
    owner->updateParamsWithValue(change, *row);
    FormCellFactory::notifyFormCellUpdate(formcellDelegate_.lock(), change);
}

}  // namespace trc::formcells
