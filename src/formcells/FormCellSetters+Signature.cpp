// The signature row's setters: its caption and style classes, and the
// status text that tells whether the row holds a signature.

#include "formcells/FormCellSetters.h"
#include "formcells/SignatureCaptureCellDelegate.h"
#include "formcells/internal/FormCellDefaultStyle.h"
#include "formcells/internal/SetterSupport.h"
#include "platform/vessa/VUITextFieldFormCell.h"
#include "services/ParameterHelper.h"

namespace trc::formcells {

namespace {

using services::ParameterHelper;
using S = internal::SetterSupport;

constexpr const char* kInitialStatusText = "InitialStatusText";

internal::FormCellDefaultStyle& signatureDefaultStyle() {
    static internal::FormCellDefaultStyle style(S::kValue, "formcells.SignatureCaptureDefaultStyle");
    return style;
}

}  // namespace

void FormCellSetters::setSignatureCaptureFormCell(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell,
                                                  const Params& params) {
    if (!cell) return;
    cell->placeholder()->text = std::string();
    if (auto caption = ParameterHelper::textIn(params, S::kCaption)) cell->setKeyName(*caption);
    auto& defaultStyle = signatureDefaultStyle();
    defaultStyle.recordOnce(*cell, cell->titleStyleClassPath, *cell->valueTextField());
    // Without "Styles" the cell keeps its classes; with them a reused cell
    // drops the classes of the row it showed before.
    if (ParameterHelper::dictionaryIn(params, S::kStyles)) {
        defaultStyle.apply(S::styles(params), *cell, cell->titleStyleClassPath, *cell->valueTextField());
    }
}

void FormCellSetters::setSignatureCaptureLabel(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell,
                                               const Params& params) {
    if (!cell) return;
    if (ParameterHelper::dictionaryIn(params, S::kValue)) {
        cell->setValue(*SignatureCaptureCellDelegate::capturedStatusText(params));
    } else if (auto initial = ParameterHelper::textIn(params, kInitialStatusText)) {
        cell->setValue(*initial);
    } else {
        // Never the status of the row a reused cell showed before.
        cell->valueTextField()->text.clear();
    }
}

}  // namespace trc::formcells
