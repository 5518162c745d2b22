// What a tap on a signature row's button does: the signature pad, set up
// from the row's parameters, presented over whatever the application shows
// on top, with a fresh delegate that FormCellFactory keeps.

#include "formcells/FormCellContainerViewController.h"
#include "formcells/FormCellFactory.h"
#include "formcells/FormCellSection.h"
#include "formcells/SignatureCaptureCellDelegate.h"
#include "formcells/internal/SetterSupport.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/ui/UIDevice.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UITabBarController.h"
#include "platform/ui/UIView.h"
#include "platform/vessa/NUISettings.h"
#include "platform/vessa/VUIButton.h"
#include "platform/vessa/VUIListPickerTableViewController.h"
#include "platform/vessa/VUISignatureCaptureController.h"
#include "platform/vessa/VUITextFieldFormCell.h"
#include "services/AppConfig.h"
#include "services/ParameterHelper.h"

namespace trc::formcells {

namespace {

using services::ParameterHelper;
using S = internal::SetterSupport;

constexpr const char* kSignatureCaptureStyle = "SignatureCapture";
constexpr const char* kBackgroundColorProperty = "background-color";
constexpr const char* kStrokeProperty = "stroke";
constexpr const char* kStrokeWidthProperty = "stroke-width";
constexpr const char* kShowXMark = "ShowXMark";
constexpr const char* kShowUnderline = "ShowUnderline";
constexpr const char* kShowTimestampInImage = "ShowTimestampInImage";
constexpr const char* kWatermarkText = "WatermarkText";
constexpr const char* kWatermarkTextMaxLines = "WatermarkTextMaxLines";
constexpr const char* kTimestampFormatter = "TimestampFormatter";
constexpr int kDefaultWatermarkLines = 5;
// What a sheet leaves free below the bars of the pad's navigation controller.
constexpr double kSheetMargin = 14;

void applyPadStyle(const core::Dictionary& params, vessa::VUISignatureCaptureView& pad) {
    const std::string* styleClass = S::styleClass(S::styles(params), kSignatureCaptureStyle);
    if (!styleClass) return;
    if (auto color = vessa::NUISettings::getColor(kBackgroundColorProperty, *styleClass)) pad.backgroundColor = *color;
    if (auto color = vessa::NUISettings::getColor(kStrokeProperty, *styleClass)) pad.strokeColor = *color;
    if (auto width = vessa::NUISettings::getFloat(kStrokeWidthProperty, *styleClass)) pad.strokeWidth = *width;
}

// The controller that shows what is on top: the root, then what it
// presents, up to the top, so the pad never asks a controller that already
// presents something. A list picker shown in a tab of the top navigation
// controller's screen presents instead, so the pad opens over it.
std::shared_ptr<ui::UIViewController> presenterFrom(std::shared_ptr<ui::UIViewController> root) {
    auto presenter = std::move(root);
    while (auto presented = presenter->presentedViewController()) {
        if (presented->isBeingDismissed()) break;
        presenter = presented;
    }
    auto nav = std::dynamic_pointer_cast<ui::UINavigationController>(presenter);
    auto top = nav ? nav->topViewController() : nullptr;
    if (!top) return presenter;
    for (const auto& child : top->children()) {
        auto tabs = std::dynamic_pointer_cast<ui::UITabBarController>(child);
        if (!tabs) continue;
        auto selected = std::dynamic_pointer_cast<ui::UINavigationController>(tabs->selectedViewController());
        if (selected &&
            std::dynamic_pointer_cast<vessa::VUIListPickerTableViewController>(selected->topViewController())) {
            return selected;
        }
    }
    return presenter;
}

void choosePresentationStyle(ui::UIViewController& presenter, ui::UINavigationController& nav,
                             vessa::VUISignatureCaptureController& pad) {
    if (ui::UIDevice::current()->model.starts_with(ui::UIDevice::kPhoneModel)) {
        nav.modalPresentationStyle = ui::UIModalPresentationStyle::FullScreen;
        return;
    }
    if (!presenter.isModalInPresentation ||
        presenter.modalPresentationStyle == ui::UIModalPresentationStyle::FullScreen) {
        return;
    }
    // The navigation controller is what is presented, so it takes the sheet style.
    nav.modalPresentationStyle = ui::UIModalPresentationStyle::FormSheet;
    nav.isModalInPresentation = true;
    const auto frame = presenter.view()->frame();
    pad.preferredContentSize =
        ui::CGSize{frame.size.width, frame.size.height - nav.navigationBarHeight - nav.toolbarHeight - kSheetMargin};
}

std::shared_ptr<SignatureCaptureCellDelegate> makeDelegate(const core::Dictionary& params,
                                                           const ui::IndexPath& indexPath,
                                                           const FormCellFactory::Owner& owner,
                                                           const FormCellFactory::Delegate& delegate) {
    auto formatter = std::make_shared<foundation::DateFormatter>();
    if (auto pattern = ParameterHelper::getParameterAsString(params, kTimestampFormatter))
        formatter->setDateFormat(*pattern);
    const bool timestamp = ParameterHelper::getParameterAsBool(params, kShowTimestampInImage).value_or(false);
    vessa::VUIMultiLineText text{ParameterHelper::getParameterAsString(params, kWatermarkText).value_or(""),
                                 S::intParameter(params, kWatermarkTextMaxLines, 0).value_or(kDefaultWatermarkLines)};
    std::string captured(*SignatureCaptureCellDelegate::capturedStatusText(params));

    std::shared_ptr<SignatureCaptureCellDelegate> made;
    if (auto container = std::dynamic_pointer_cast<FormCellContainerViewController>(owner)) {
        made = std::make_shared<SignatureCaptureCellDelegate>(timestamp, formatter, text, indexPath, container,
                                                              delegate, std::move(captured));
        FormCellFactory::signatureDelegate = made;
    } else if (auto section = std::dynamic_pointer_cast<FormCellSection>(owner)) {
        made = std::make_shared<SignatureCaptureCellDelegate>(timestamp, formatter, text, indexPath, section, delegate,
                                                              std::move(captured));
        FormCellFactory::signatureFormsectionDelegate = made;
    }
    if (made) made->cellName = S::rowName(params);
    return made;
}

void openSignatureCapture(vessa::VUIButton& button, const FormCellFactory::Owner& owner,
                          const FormCellFactory::Delegate& delegate, const ui::IndexPath& indexPath) {
    const core::Dictionary& params = button.cellParameters;
    auto pad = vessa::VUISignatureCaptureController::createInstance();
    auto surface = pad->signatureCaptureView();
    applyPadStyle(params, *surface);
    if (auto show = ParameterHelper::getParameterAsBool(params, kShowXMark)) surface->xImageView()->setHidden(!*show);
    if (auto show = ParameterHelper::getParameterAsBool(params, kShowUnderline)) {
        surface->signatureLineView()->setHidden(!*show);
    }
    auto padDelegate = makeDelegate(params, indexPath, owner, delegate);
    if (!padDelegate) {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                                       "a signature row shown by neither a form nor a form cell section cannot sign");
        return;
    }
    pad->setDelegate(padDelegate);

    // The cell is the button's nearest text field cell above it.
    std::shared_ptr<vessa::VUITextFieldFormCell> cell;
    for (auto view = button.superview(); view && !cell; view = view->superview()) {
        cell = std::dynamic_pointer_cast<vessa::VUITextFieldFormCell>(view);
    }
    pad->title = cell ? cell->keyName() : std::nullopt;

    std::shared_ptr<ui::UINavigationController> nav = pad->navigationController();
    if (!nav) nav = ui::UINavigationController::make(pad);

    auto root = services::AppConfig::sharedInstance()->getRootViewController();
    if (!root) return;
    auto presenter = presenterFrom(root);
    choosePresentationStyle(*presenter, *nav, *pad);
    presenter->present(nav, false);
}

}  // namespace

FormCellFactory::SignatureCaptureTap FormCellFactory::signatureCaptureTapHandler(const Owner& owner,
                                                                                 const Delegate& delegate,
                                                                                 const ui::IndexPath& indexPath) {
    return SignatureCaptureTap(owner, delegate, indexPath);
}

void FormCellFactory::SignatureCaptureTap::operator()(vessa::VUIButton& button) const {
    auto owner = owner_.lock();
    if (!owner) return;
    openSignatureCapture(button, owner, delegate_.lock(), indexPath_);
}

}  // namespace trc::formcells
