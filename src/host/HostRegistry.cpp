#include "host/HostRegistry.h"

#include "host/BarcodeScannerBridge.h"
#include "host/FormCellContainerBridge.h"
#include "host/SectionBridge.h"
#include "host/SectionedTableBridge.h"
#include "host/WelcomeScreenBridge.h"
#include "platform/core/Block.h"
#include "platform/core/Object.h"
#include "platform/ui/NSLayoutConstraint.h"
#include "platform/ui/PHAsset.h"
#include "platform/ui/UIAlertController.h"
#include "platform/ui/UIApplication.h"
#include "platform/ui/UIDatePicker.h"
#include "platform/ui/UIDevice.h"
#include "platform/ui/UIDocumentPickerViewController.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UISearchBar.h"
#include "platform/ui/UISegmentedControl.h"
#include "platform/ui/UISwitch.h"
#include "platform/ui/UITabBarController.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UITableViewController.h"
#include "platform/ui/UITableViewHeaderFooterView.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UITextView.h"
#include "platform/ui/UIWindow.h"
#include "platform/vessa/VUIAddPhotoAttachmentAction.h"
#include "platform/vessa/VUIAttachmentAction.h"
#include "platform/vessa/VUIAttachmentsFormCell.h"
#include "platform/vessa/VUIAttachmentsViewController.h"
#include "platform/vessa/VUIButtonFormCell.h"
#include "platform/vessa/VUIDatePickerFormCell.h"
#include "platform/vessa/VUIDocumentPickerAttachmentAction.h"
#include "platform/vessa/VUIDurationPickerFormCell.h"
#include "platform/vessa/VUIFilterFormCell.h"
#include "platform/vessa/VUIFormTableViewController.h"
#include "platform/vessa/VUIListPickerFormCell.h"
#include "platform/vessa/VUIListPickerTableViewController.h"
#include "platform/vessa/VUINoteFormCell.h"
#include "platform/vessa/VUIObjectTableViewCell.h"
#include "platform/vessa/VUISegmentedControlFormCell.h"
#include "platform/vessa/VUISignatureCaptureController.h"
#include "platform/vessa/VUISignatureCaptureView.h"
#include "platform/vessa/VUISwitchFormCell.h"
#include "platform/vessa/VUITableViewHeaderFooterView.h"
#include "platform/vessa/VUITakePhotoAttachmentAction.h"
#include "platform/vessa/VUITextFieldFormCell.h"
#include "platform/vessa/VUITitleFormCell.h"

namespace trc::host {

namespace {

// The platform's views and controllers a host may meet by class name (in
// what the library hands it, or when it checks what is on screen).
void registerPlatformClasses() {
    using namespace trc::vessa;
    ui::UIResponder::classInfo();
    ui::UIView::classInfo();
    ui::UIControl::classInfo();
    ui::UILabel::classInfo();
    ui::UIButton::classInfo();
    ui::UITextField::classInfo();
    ui::UITextView::classInfo();
    ui::UISwitch::classInfo();
    ui::UISegmentedControl::classInfo();
    ui::UIDatePicker::classInfo();
    ui::UISearchBar::classInfo();
    ui::NSLayoutConstraint::classInfo();
    ui::UITableView::classInfo();
    ui::UITableViewCell::classInfo();
    ui::UITableViewHeaderFooterView::classInfo();
    ui::UIViewController::classInfo();
    ui::UITableViewController::classInfo();
    ui::UINavigationController::classInfo();
    ui::UITabBarController::classInfo();
    ui::UIWindow::classInfo();
    ui::UIApplication::classInfo();
    ui::UIAlertAction::classInfo();
    ui::UIAlertController::classInfo();
    ui::UIDevice::classInfo();
    ui::UIDocumentPickerViewController::classInfo();
    ui::PHAsset::classInfo();
    VUIButton::classInfo();
    VUITitleFormCell::classInfo();
    VUINoteFormCell::classInfo();
    VUITextFieldFormCell::classInfo();
    VUIListPicker::classInfo();
    VUIListPickerFormCell::classInfo();
    VUIListPickerTableViewController::classInfo();
    VUIObjectTableViewCell::classInfo();
    VUIDatePickerFormCell::classInfo();
    VUIDurationPickerFormCell::classInfo();
    VUISwitchFormCell::classInfo();
    VUISegmentedControlFormCell::classInfo();
    VUIAttachmentsFormCell::classInfo();
    VUIAttachmentsViewController::classInfo();
    VUIAttachmentAction::classInfo();
    VUIAddPhotoAttachmentAction::classInfo();
    VUITakePhotoAttachmentAction::classInfo();
    VUIDocumentPickerAttachmentAction::classInfo();
    VUISignatureCaptureController::classInfo();
    VUISignatureCaptureView::classInfo();
    VUIButtonFormCell::classInfo();
    VUIFilterFormCell::classInfo();
    VUITableViewHeaderFooterView::classInfo();
    VUIFormTableViewController::classInfo();
}

}  // namespace

void HostRegistry::registerAll() {
    static bool done = false;
    if (done) return;
    done = true;
    core::Object::classInfo();
    core::Block::classInfo();
    registerPlatformClasses();
    // Each layer adds its exposed classes here, one line each.
    FormCellContainerBridge::install();
    SectionBridge::install();
    SectionedTableBridge::install();
    WelcomeScreenBridge::install();
    BarcodeScannerBridge::install();
}

}  // namespace trc::host
