#include "formcells/SimplePropertyBarcodeScanViewController.h"

#include "formcells/FormCellFactory.h"
#include "formcells/FormCellOwner.h"
#include "platform/core/ClassInfo.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIValues.h"
#include "platform/vessa/VUIBarcodeScanViewController.h"
#include "platform/vessa/VUITextFieldFormCell.h"

namespace trc::formcells {

const core::ClassInfo& SimplePropertyBarcodeScanViewController::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<SimplePropertyBarcodeScanViewController>("SimplePropertyBarcodeScanViewController",
                                                                    ui::UIViewController::classInfo())
            .constructible()
            .property("cell", [](const SimplePropertyBarcodeScanViewController& c) { return ui::objectOrNil(c.cell()); })
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
                                                     const ui::IndexPath& indexPath) {
    cell_ = cell;
    formcellDelegate_ = formcellDelegate;
    indexPath_ = indexPath;
    containerDelegate_ = containerDelegate;
    refreshParentController();
    presentScanner();
}

void SimplePropertyBarcodeScanViewController::didFinishScanning(const std::string& text) {
    if (auto target = cell_.lock()) target->setValue(text);
    const core::Dictionary change{{FormCellFactory::kValueKey, core::Value(text)}};
    if (auto owner = containerDelegate_.lock()) owner->updateParamsWithValue(change, indexPath_);
    FormCellFactory::notifyFormCellUpdate(formcellDelegate_.lock(), change);
}

}  // namespace trc::formcells
