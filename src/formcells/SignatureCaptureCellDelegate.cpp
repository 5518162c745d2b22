#include "formcells/SignatureCaptureCellDelegate.h"

#include "formcells/FormCellContainerViewController.h"
#include "formcells/FormCellFactory.h"
#include "formcells/FormCellSection.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/foundation/Bundle.h"
#include "platform/ui/ImageEncoder.h"
#include "platform/ui/UITableView.h"
#include "platform/vessa/VUISignatureCaptureController.h"
#include "platform/vessa/VUITextFieldFormCell.h"
#include "services/ParameterHelper.h"

namespace trc::formcells {

namespace {

void note(core::Severity severity, const std::string& message) {
    core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, severity, message);
}

}  // namespace

SignatureCaptureCellDelegate::SignatureCaptureCellDelegate(
    bool isTimestampInImage, std::shared_ptr<foundation::DateFormatter> formmater,
    std::optional<vessa::VUIMultiLineText> signatureText, const ui::IndexPath& indexPath,
    const std::shared_ptr<FormCellContainerViewController>& formCellContainer, const Delegate& delegate,
    std::string capturedText)
    : isTimestampInImage_(isTimestampInImage),
      formmatter_(std::move(formmater)),
      signatureText_(std::move(signatureText)),
      indexPath_(indexPath),
      formCellContainer_(formCellContainer),
      delegate_(delegate),
      capturedText_(std::move(capturedText)) {}

SignatureCaptureCellDelegate::SignatureCaptureCellDelegate(bool isTimestampInImage,
                                                           std::shared_ptr<foundation::DateFormatter> formmater,
                                                           std::optional<vessa::VUIMultiLineText> signatureText,
                                                           const ui::IndexPath& indexPath,
                                                           const std::shared_ptr<FormCellSection>& formCellSection,
                                                           const Delegate& delegate, std::string capturedText)
    : isTimestampInImage_(isTimestampInImage),
      formmatter_(std::move(formmater)),
      signatureText_(std::move(signatureText)),
      indexPath_(indexPath),
      formCellSection_(formCellSection),
      delegate_(delegate),
      capturedText_(std::move(capturedText)) {}

services::ParameterHelper::Text SignatureCaptureCellDelegate::capturedStatusText(const core::Dictionary& params) {
    if (auto text = services::ParameterHelper::textIn(params, kCapturedStatusText)) return text;
    return services::ParameterHelper::Text(foundation::Bundle::framework()->localizedString(
        kSignatureCapturedKey, kStringsTable, kSignatureCapturedFallback));
}

void SignatureCaptureCellDelegate::didFinishSigning(vessa::VUISignatureCaptureController& controller,
                                                    const std::shared_ptr<ui::UIImage>& signatureImage) {
    // Kept alive until the pad is gone, even if a newer opening replaces it meanwhile.
    auto self = weak_from_this().lock();
    if (!self) return;
    controller.dismiss(true, [self, signatureImage] { self->store(signatureImage); });
}

void SignatureCaptureCellDelegate::didCancelSignatureCaptureController(
    vessa::VUISignatureCaptureController& controller) {
    controller.dismiss(true);
}

void SignatureCaptureCellDelegate::store(const std::shared_ptr<ui::UIImage>& signatureImage) {
    auto png = signatureImage ? ui::ImageEncoder::pngData(*signatureImage) : std::nullopt;
    if (!png) {
        note(core::Severity::info, "the signature image has no PNG form; nothing stored");
        return;
    }
    auto container = formCellContainer_.lock();
    auto section = formCellSection_.lock();
    std::shared_ptr<FormCellOwner> owner = container ? std::static_pointer_cast<FormCellOwner>(container)
                                                     : std::static_pointer_cast<FormCellOwner>(section);
    if (!owner) return;

    auto row = owner->shownRow(cellName, indexPath_);
    if (!row) {
        note(core::Severity::warn,
             "signature row \"" + cellName.value_or("") + "\" is no longer shown; the signature is not stored");
        return;
    }

    core::Dictionary value{{kContentType, core::Value(kSignatureContentType)},
                           {kContent, core::Value(std::move(*png))}};
    core::Dictionary change{{kValue, core::Value(std::move(value))}};
    owner->updateParamsWithValue(change, *row);

    auto table = owner->cellTableView();
    if (auto cell = table ? std::dynamic_pointer_cast<vessa::VUITextFieldFormCell>(table->cellForRow(*row)) : nullptr) {
        cell->setValue(capturedText_);
    }
    FormCellFactory::notifyFormCellUpdate(delegate_.lock(), change);
}

}  // namespace trc::formcells
