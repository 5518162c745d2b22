#pragma once
// Builds the table cell of every form cell row, for both owners of form
// cells (the full-screen form and the form cell section): it maps the row's
// "_Type" to a kind, registers the kind's cell class on the owner's table,
// dequeues and fills the cell through the kind's setters (FormCellSetters),
// and binds the change handler that carries a person's edit along one road:
// the owner stores the new "Value" in the row's parameters, then the row's
// delegate (the host's callback object) hears "valueChangedWithParams".
//
// All statics, never instantiated. Handlers hold the owner and the delegate
// weakly and a copy of the row's index path, never the cell or the
// parameters: once either is gone a change is dropped, silently. Main thread
// only; the statics are reset with the process state.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "formcells/FormCellKeys.h"
#include "formcells/FormCellType.h"
#include "platform/core/Object.h"
#include "platform/core/Value.h"
#include "platform/foundation/Locale.h"
#include "platform/ui/IndexPath.h"

namespace trc::ui {
class UINavigationController;
class UITableView;
class UITableViewCell;
class UIViewController;
}  // namespace trc::ui

namespace trc::vessa {
class VUIButton;
class VUIListPickerFormCell;
class VUINoteFormCell;
class VUITextFieldFormCell;
}  // namespace trc::vessa

namespace trc::formcells {

class FormCellOwner;
class SignatureCaptureCellDelegate;

class FormCellFactory {
public:
    using Delegate = std::shared_ptr<core::Object>;
    using Owner = std::shared_ptr<FormCellOwner>;

    // What crosses to the host.
    static constexpr const char* kValueKey = FormCellKeys::kValue;
    static constexpr const char* kButtonKey = "Button";
    static constexpr const char* kValueChangedSelector = "valueChangedWithParams";
    static constexpr const char* kGetViewSelector = "getView";
    static constexpr const char* kRegisterCellToSelector = "registerCellTo:";
    static constexpr const char* kGetReuseIdentifierSelector = "getReuseIdentifier";
    static constexpr const char* kConfigureReusableCellSelector = "configureReusableCell:";
    static constexpr const char* kExtensionTableViewCellHandlerProtocol = "ExtensionTableViewCellHandler";
    static constexpr const char* kSignatureSymbolName = "signature";
    // Where a row of no known kind gets its empty cell; no kind uses it.
    static constexpr const char* kUnknownFormCellReuseID = "UnknownFormCell";

    // Settable statics; nothing in the library changes them.
    static std::string extensionFormCellReuseID;         // "ExtensionFormCell"
    static std::int64_t extensionFormCellViewTag;        // 20180101
    static std::string SignatureCaptureFormCellReuseID;  // "SignatureCaptureFormCell"

    // The delegate of the signature pad last opened from a full-screen form
    // and from a form cell section: the only thing that keeps it alive.
    static std::shared_ptr<SignatureCaptureCellDelegate> signatureDelegate;
    static std::shared_ptr<SignatureCaptureCellDelegate> signatureFormsectionDelegate;

    // Shared by every form of the process; the owners set it from their
    // "locale" parameter, the date setters read it.
    static const foundation::Locale& locale();
    static void setLocale(foundation::Locale locale);
    // The same from a host's identifier, entry naming where it came from: an
    // empty one names no locale, and one that makes no valid locale is
    // refused with a "warn" line; either way the locale stays as it was.
    static void setLocale(std::string_view identifier, std::string_view entry);

    // The cell for the row at indexPath (a row as the table shows it).
    // viewController is the page showing a form cell section (extension
    // rows only); the full-screen form passes none and stands for itself.
    static std::shared_ptr<ui::UITableViewCell> getFormCell(
        ui::UITableView& tableView, const ui::IndexPath& indexPath, std::string_view cellType,
        const core::Dictionary& cellParams, const Owner& owner, const Delegate& delegate,
        const std::shared_ptr<ui::UIViewController>& viewController = nullptr);
    // The same for a row whose kind its owner already knows.
    static std::shared_ptr<ui::UITableViewCell> getFormCell(
        ui::UITableView& tableView, const ui::IndexPath& indexPath, FormCellType::Kind kind,
        const core::Dictionary& cellParams, const Owner& owner, const Delegate& delegate,
        const std::shared_ptr<ui::UIViewController>& viewController = nullptr);

    // Registers the kind's cell class on the table; a type that is no kind
    // registers nothing.
    static void registerFormCell(ui::UITableView& tableView, const std::string& type, const Owner& owner,
                                 const Delegate& delegate);

    // Sends "valueChangedWithParams" with the change when the delegate
    // answers it; otherwise nothing, quietly (the value is already stored).
    static void notifyFormCellUpdate(const Delegate& delegate, const core::Dictionary& change);
    // The same for a change already made a host value (a dictionary).
    static void notifyFormCellUpdate(const Delegate& delegate, const core::Value& change);

    // Reloads the cell's list picker on a later main-queue turn when the
    // picker is what the navigation controller shows on top.
    static bool reloadCellData(const std::shared_ptr<vessa::VUIListPickerFormCell>& cell,
                               const std::shared_ptr<ui::UINavigationController>& navigationController);

    // What a tap on a signature row's button does: open the signature pad
    // for the row, configured from the parameters the button carries. Holds
    // the owner and the delegate weakly; does nothing once either is gone.
    // One type for every row, so a reused button takes its new row's tap
    // handler in the room of the old one.
    class SignatureCaptureTap {
    public:
        SignatureCaptureTap(const Owner& owner, const Delegate& delegate, const ui::IndexPath& indexPath)
            : owner_(owner), delegate_(delegate), indexPath_(indexPath) {}
        void operator()(vessa::VUIButton& button) const;

    private:
        std::weak_ptr<FormCellOwner> owner_;
        std::weak_ptr<core::Object> delegate_;
        ui::IndexPath indexPath_;
    };
    static SignatureCaptureTap signatureCaptureTapHandler(const Owner& owner, const Delegate& delegate,
                                                          const ui::IndexPath& indexPath);

    // Let the row's height follow a cell whose content changed size.
    static void adaptNoteFormCellViewLayout(const std::shared_ptr<vessa::VUINoteFormCell>& cell,
                                            ui::UITableView& tableView, const core::Dictionary& params);
    static void adaptSignatureFormCellViewLayout(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell,
                                                 ui::UITableView& tableView, const core::Dictionary& params);

private:
    FormCellFactory() = delete;
};

}  // namespace trc::formcells
