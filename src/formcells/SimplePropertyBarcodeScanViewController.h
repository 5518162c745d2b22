#pragma once
// The barcode button of a simple-property row: create() opens the UI
// framework's full-screen scanner, and the first non-empty reading, once the
// scanner has closed, becomes the row's value on the ordinary road of a
// change: the cell shows it, the owner stores it as the row's "Value", and
// the row's callback object hears "valueChangedWithParams" with
// {"Value": text}. Without an owner (a text-field delegate that is no form)
// nothing is stored; the cell still shows the text and the host is still told.
//
// The host may show or hide rows while the scanner is open, so a row with a
// "_Name" is found again by it when the reading arrives, and the text goes
// to the cell that shows that row then. A row no longer shown takes nothing
// and nobody is told (logged).
//
// One per configuration of the row's button, kept alive by the button's tap
// handler and, while its scanner is shown, by the scanner; a newer
// configuration replaces it for the next tap. It holds the cell, the owner
// and the callback object weakly (the owner's table holds the cell, whose
// button holds this), so whatever is gone by the time of the reading is
// skipped. Main thread only; owned by std::shared_ptr.

#include <memory>
#include <optional>
#include <string>

#include "formcells/BarcodeScanPresentingController.h"
#include "platform/core/Object.h"
#include "platform/ui/IndexPath.h"

namespace trc::vessa {
class VUITextFieldFormCell;
}  // namespace trc::vessa

namespace trc::formcells {

class FormCellOwner;

class SimplePropertyBarcodeScanViewController : public BarcodeScanPresentingController {
    TRC_OBJECT(SimplePropertyBarcodeScanViewController)
public:
    // The name this controller has always logged under (the class's own name differs).
    static constexpr const char* kLoggerName = "ZEL.TRC.FormCell.SimplePropertyBarcodeScannerViewController";

    SimplePropertyBarcodeScanViewController();

    // indexPath is the row as the table shows it, as the factory passed it;
    // cellName the row's "_Name", when it has one.
    void create(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell,
                const std::shared_ptr<FormCellOwner>& containerDelegate,
                const std::shared_ptr<core::Object>& formcellDelegate, const ui::IndexPath& indexPath,
                std::optional<std::string> cellName = std::nullopt);

    std::shared_ptr<vessa::VUITextFieldFormCell> cell() const { return cell_.lock(); }
    std::shared_ptr<FormCellOwner> containerDelegate() const { return containerDelegate_.lock(); }
    std::shared_ptr<core::Object> formcellDelegate() const { return formcellDelegate_.lock(); }
    const ui::IndexPath& indexPath() const { return indexPath_; }
    const std::optional<std::string>& cellName() const { return cellName_; }

private:
    void didFinishScanning(const std::string& text) override;

    std::weak_ptr<vessa::VUITextFieldFormCell> cell_;
    std::weak_ptr<core::Object> formcellDelegate_;
    ui::IndexPath indexPath_;
    std::optional<std::string> cellName_;
    std::weak_ptr<FormCellOwner> containerDelegate_;
};

}  // namespace trc::formcells
