#include "formcells/FormCellFactory.h"

#include <functional>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>

#include "formcells/AttachmentFormViewDelegate.h"
#include "formcells/ExtensionFormCell.h"
#include "formcells/FormCellContainerViewController.h"
#include "formcells/FormCellOwner.h"
#include "formcells/FormCellSection.h"
#include "formcells/FormCellSetters.h"
#include "formcells/FormCellType.h"
#include "formcells/ListPickerDataSource.h"
#include "formcells/ListPickerRowKeys.h"
#include "formcells/SignatureCaptureCellDelegate.h"
#include "formcells/internal/ExtensionFormCellBuilder.h"
#include "formcells/internal/FormCellConfiguration.h"
#include "formcells/internal/SetterSupport.h"
#include "platform/core/ExactClass.h"
#include "platform/core/Json.h"
#include "platform/core/ProcessState.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/vessa/VUIAttachmentsFormCell.h"
#include "platform/vessa/VUIButton.h"
#include "platform/vessa/VUIButtonFormCell.h"
#include "platform/vessa/VUIDatePickerFormCell.h"
#include "platform/vessa/VUIDrawingView.h"
#include "platform/vessa/VUIDurationPickerFormCell.h"
#include "platform/vessa/VUIFilterFormCell.h"
#include "platform/vessa/VUIListPicker.h"
#include "platform/vessa/VUIListPickerFormCell.h"
#include "platform/vessa/VUIListPickerTableViewController.h"
#include "platform/vessa/VUINoteFormCell.h"
#include "platform/vessa/VUISegmentedControlFormCell.h"
#include "platform/vessa/VUISwitchFormCell.h"
#include "platform/vessa/VUITextFieldFormCell.h"
#include "platform/vessa/VUITitleFormCell.h"
#include "services/Search.h"

namespace trc::formcells {

using Kind = FormCellType::Kind;
using Setters = FormCellSetters;
using Configure = internal::FormCellConfiguration;
using ui::IndexPath;
using ui::UITableView;
using ui::UITableViewCell;

namespace {

constexpr const char* kDefaultExtensionReuseID = "ExtensionFormCell";
constexpr std::int64_t kDefaultExtensionViewTag = 20180101;
constexpr const char* kDefaultSignatureReuseID = "SignatureCaptureFormCell";

std::optional<foundation::Locale>& localeSlot() {
    static std::optional<foundation::Locale> slot;
    return slot;
}

[[maybe_unused]] const bool kResetRegistered = [] {
    core::ProcessState::registerReset("formcells.FormCellFactory", [] {
        FormCellFactory::extensionFormCellReuseID = kDefaultExtensionReuseID;
        FormCellFactory::extensionFormCellViewTag = kDefaultExtensionViewTag;
        FormCellFactory::SignatureCaptureFormCellReuseID = kDefaultSignatureReuseID;
        FormCellFactory::signatureDelegate.reset();
        FormCellFactory::signatureFormsectionDelegate.reset();
        localeSlot().reset();
    });
    return true;
}();

// The host sees the value-change dictionary's "Value" in host value kinds.
core::Value hostValue(const std::string& v) { return core::Value(v); }
core::Value hostValue(bool v) { return core::Value(v); }
core::Value hostValue(int v) { return core::Value(v); }
core::Value hostValue(double v) { return core::Value(v); }
core::Value hostValue(core::Date v) { return core::Value(v); }
template <class T>
core::Value hostValue(const std::vector<T>& list) {
    core::Array out;
    out.reserve(list.size());
    for (const auto& item : list) out.push_back(hostValue(item));
    return core::Value(std::move(out));
}

// The change a host hears: a dictionary of the one entry.
core::Value changeOf(const char* key, core::Value value) {
    core::Value change{core::Dictionary()};
    change.mutableDictionary().set(key, std::move(value));
    return change;
}

// The change handler of a row that reports one value. It keeps weak owner
// and delegate, the row as shown when the cell was built, and (unique-
// identifier list pickers only) the row's data source, which the handler
// keeps alive. A handler given the row's name (list pickers, whose picker
// stays open while the host may show or hide rows) finds the row by it
// when the person picks, and a row no longer shown takes nothing. A reused
// cell's handler is pointed at the new row in place (bindRowChange).
template <class V>
class RowChange {
public:
    // dataSource, when given, is moved from; a row without one leaves the
    // handler none (no count taken or dropped for the rows that never have one).
    RowChange(const FormCellFactory::Owner& owner, const FormCellFactory::Delegate& delegate,
              const IndexPath& indexPath, std::shared_ptr<ListPickerDataSource>* dataSource, const std::string* name) {
        rebind(owner, delegate, indexPath, dataSource, name);
    }

    void rebind(const FormCellFactory::Owner& owner, const FormCellFactory::Delegate& delegate,
                const IndexPath& indexPath, std::shared_ptr<ListPickerDataSource>* dataSource,
                const std::string* name) {
        // A reused cell shows rows of the same owner, as a rule, and often the
        // same callback object: their weak counts are then left as they are.
        if (!refersTo(owner_, ownerAt_, owner)) {
            owner_ = owner;
            ownerAt_ = owner.get();
        }
        if (!refersTo(delegate_, delegateAt_, delegate)) {
            delegate_ = delegate;
            delegateAt_ = delegate.get();
        }
        indexPath_ = indexPath;
        if (dataSource) {
            dataSource_ = std::move(*dataSource);
        } else if (dataSource_) {
            dataSource_.reset();
        }
        if (name) {
            assignName(*name);
        } else if (name_) {
            name_.reset();
        }
    }

    void operator()(const V& value) const {
        auto owner = owner_.lock();
        if constexpr (std::is_same_v<V, std::vector<std::string>>) {
            if (dataSource_) {
                dataSource_->updateSelectedData(value);
                if (owner && name_) owner->listPickerRows().setPickedItems(*name_, dataSource_->selectedData());
            }
        }
        if (!owner) return;
        auto delegate = delegate_.lock();
        if (!delegate) return;
        auto row = owner->shownRow(name_, indexPath_);
        if (!row) {
            core::SharedLoggerManager::log(
                core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                "row \"" + name_.value_or("") + "\" is no longer shown; the pick is dropped");
            return;
        }
        // Made once, as the host gets it: the row stores its "Value" from it.
        const core::Value change = changeOf(FormCellFactory::kValueKey, hostValue(value));
        owner->updateParamsWithValue(*change.ifDictionary(), *row);
        FormCellFactory::notifyFormCellUpdate(delegate, change);
    }

private:
    // A row's name is short as a rule and the earlier row's room holds it:
    // copied into that room without the general replace's checks (the
    // name comes from the row's parameters, never from the handler itself).
    void assignName(const std::string& name) {
        if (!name_) {
            name_.emplace(name);
        } else if (name.size() <= name_->capacity()) {
            name_->resize(name.size());
            std::char_traits<char>::copy(name_->data(), name.data(), name.size());
        } else {
            *name_ = name;
        }
    }

    // Whether weak, set last from the object at `at`, refers to object: the
    // same object, owned by the same owners.
    template <class T>
    static bool refersTo(const std::weak_ptr<T>& weak, const T* at, const std::shared_ptr<T>& object) {
        return at == object.get() && !weak.owner_before(object) && !object.owner_before(weak);
    }

    std::weak_ptr<FormCellOwner> owner_;
    const FormCellOwner* ownerAt_ = nullptr;  // compared only, never followed
    std::weak_ptr<core::Object> delegate_;
    const core::Object* delegateAt_ = nullptr;  // compared only, never followed
    IndexPath indexPath_;
    std::shared_ptr<ListPickerDataSource> dataSource_;
    std::optional<std::string> name_;
};

// Gives the cell's handler the row's change, in place when it already holds one of the kind.
template <class V, class Handler>
void bindRowChange(Handler& handler, const FormCellFactory::Owner& owner, const FormCellFactory::Delegate& delegate,
                   const IndexPath& indexPath, std::shared_ptr<ListPickerDataSource>* dataSource = nullptr,
                   const std::string* name = nullptr) {
    if (auto* bound = handler.template target<RowChange<V>>()) {
        bound->rebind(owner, delegate, indexPath, dataSource, name);
    } else {
        handler = RowChange<V>(owner, delegate, indexPath, dataSource, name);
    }
}

// Dequeues the kind's cell, handed over whole (no count taken on it twice);
// nullptr, with the cell in `other`, when the table gave another class.
template <class Cell>
std::shared_ptr<Cell> dequeue(UITableView& tableView, const std::string& identifier, const IndexPath& indexPath,
                              std::shared_ptr<UITableViewCell>& other) {
    auto cell = tableView.dequeueReusableCell(identifier, indexPath);
    // The table hands out the registered class itself, as a rule.
    if (auto* typed = core::exactOrDynamicCast<Cell>(cell.get())) return std::shared_ptr<Cell>(std::move(cell), typed);
    other = std::move(cell);
    return nullptr;
}

// The builder shape shared by the kinds whose cell reports one "Value".
// configure runs the kind's setters; live tracking is switched on for the
// text-like kinds only.
template <class Cell, class V, class Configure>
std::shared_ptr<UITableViewCell> buildValueCell(UITableView& tableView, const IndexPath& indexPath,
                                                const FormCellFactory::Owner& owner,
                                                const FormCellFactory::Delegate& delegate, bool trackLiveChanges,
                                                Configure configure) {
    std::shared_ptr<UITableViewCell> other;
    auto typed = dequeue<Cell>(tableView, Cell::reuseIdentifier(), indexPath, other);
    if (!typed) return other;
    configure(typed);
    if (trackLiveChanges) typed->isTrackingLiveChanges = true;
    bindRowChange<V>(typed->onChangeHandler, owner, delegate, indexPath);
    return typed;
}

std::shared_ptr<UITableViewCell> listPickerFormCell(UITableView& tableView, const IndexPath& indexPath,
                                                    const core::Dictionary& params, const FormCellFactory::Owner& owner,
                                                    const FormCellFactory::Delegate& delegate) {
    std::shared_ptr<UITableViewCell> other;
    auto typed = dequeue<vessa::VUIListPickerFormCell>(tableView, vessa::VUIListPickerFormCell::reuseIdentifier(),
                                                       indexPath, other);
    if (!typed) return other;
    const ListPickerRowKeys keys = ListPickerRowKeys::of(params);
    const std::string* name = keys.name ? keys.name->ifString() : nullptr;
    if (name && owner) owner->listPickerRows().willBuild(*name, typed);
    Setters::buildListPickerFormCellView(typed, params, &keys);
    Setters::setValidationView(static_cast<vessa::VUIInlineValidationTableViewCell&>(*typed), params);
    const auto& listPicker = typed->listPicker();
    // A reused cell must never keep the handler of the row it showed before:
    // the handler of the row's mode is bound, the other one emptied.
    if (listPicker && listPicker->isDataSourceRequiringUniqueIdentifiers) {
        typed->onChangeHandler = nullptr;
        const ListPickerRows::Items noPicks;
        const ListPickerRows::Items& picked = owner && name ? owner->listPickerRows().pickedItems(*name) : noPicks;
        if (auto dataSource = Setters::setListPickerValueByUUID(typed, params, delegate, nullptr, picked)) {
            bindRowChange<std::vector<std::string>>(typed->onUuidChangeHandler, owner, delegate, indexPath, &dataSource,
                                                    name);
        } else {
            typed->onUuidChangeHandler = nullptr;
        }
    } else {
        typed->onUuidChangeHandler = nullptr;
        Setters::setListPickerValueByArray(typed, params, delegate, nullptr, owner ? &owner->listPickerRows() : nullptr,
                                           &keys);
        bindRowChange<std::vector<int>>(typed->onChangeHandler, owner, delegate, indexPath, nullptr, name);
    }
    return typed;
}

std::shared_ptr<UITableViewCell> buttonFormCell(UITableView& tableView, const IndexPath& indexPath,
                                                const core::Dictionary& params,
                                                const FormCellFactory::Delegate& delegate) {
    std::shared_ptr<UITableViewCell> other;
    auto typed =
        dequeue<vessa::VUIButtonFormCell>(tableView, vessa::VUIButtonFormCell::reuseIdentifier(), indexPath, other);
    if (!typed) return other;
    Setters::setButtonFormCellView(typed, params);
    typed->onChangeHandler = [weakDelegate = std::weak_ptr<core::Object>(delegate),
                              weakCell = std::weak_ptr<vessa::VUIButtonFormCell>(typed)](ui::UIControl::Event) {
        auto delegate = weakDelegate.lock();
        auto cell = weakCell.lock();
        if (!delegate || !cell) return;
        auto button = cell->button();
        FormCellFactory::notifyFormCellUpdate(
            delegate, changeOf(FormCellFactory::kButtonKey, button ? core::Value(button) : core::Value::null()));
    };
    return typed;
}

// The owner as the keeper of its rows' attachments, without a count taken
// on it. The two owners the library makes are told by their class, sparing
// the cast across the class tree; any other owner still gets it.
AttachmentFormViewChangeDelegate* attachmentChangeDelegate(const FormCellFactory::Owner& owner) {
    if (!owner) return nullptr;
    if (core::isExactly<FormCellSection>(*owner)) return static_cast<FormCellSection*>(owner.get());
    if (core::isExactly<FormCellContainerViewController>(*owner)) {
        return static_cast<FormCellContainerViewController*>(owner.get());
    }
    return dynamic_cast<AttachmentFormViewChangeDelegate*>(owner.get());
}

std::shared_ptr<UITableViewCell> attachmentFormCell(UITableView& tableView, const IndexPath& indexPath,
                                                    const core::Dictionary& params,
                                                    const FormCellFactory::Owner& owner) {
    std::shared_ptr<UITableViewCell> other;
    auto typed = dequeue<vessa::VUIAttachmentsFormCell>(tableView, vessa::VUIAttachmentsFormCell::reuseIdentifier(),
                                                        indexPath, other);
    if (!typed) return other;
    // One delegate per row for the owner's lifetime, so the row's
    // attachments outlive the cell that shows them.
    std::shared_ptr<AttachmentFormViewDelegate> aDelegate;
    if (auto* changeDelegate = attachmentChangeDelegate(owner)) {
        auto& slot = changeDelegate->attachmentSlot(params, indexPath);
        if (!slot) {
            // Shares the owner's count, as a cast of it would.
            const std::shared_ptr<AttachmentFormViewChangeDelegate> shared(owner, changeDelegate);
            slot = std::make_shared<AttachmentFormViewDelegate>(shared, indexPath, params);
        }
        slot->iPath = indexPath;
        aDelegate = slot;
    }
    Setters::setAttachmentsFormCellView(typed, params, aDelegate);
    return typed;
}

std::shared_ptr<UITableViewCell> signatureCaptureFormCell(UITableView& tableView, const IndexPath& indexPath,
                                                          const core::Dictionary& params,
                                                          const FormCellFactory::Owner& owner,
                                                          const FormCellFactory::Delegate& delegate) {
    std::shared_ptr<UITableViewCell> other;
    auto typed = dequeue<vessa::VUITextFieldFormCell>(tableView, FormCellFactory::SignatureCaptureFormCellReuseID,
                                                      indexPath, other);
    if (!typed) return other;
    Configure::signature(typed, params);
    // The status text is not typed; the signature pad fills the row.
    typed->valueTextField()->isUserInteractionEnabled = false;
    typed->isTrackingLiveChanges = true;
    typed->setAlternativeInputEnabled(true);
    auto button = typed->alternativeInputButton();
    // A system symbol's image in a mode is one image for the whole run.
    static const std::shared_ptr<ui::UIImage> signatureImage =
        ui::UIImage::systemNamed(FormCellFactory::kSignatureSymbolName)
            ->withRenderingMode(ui::UIImage::RenderingMode::AlwaysTemplate);
    button->setImage(signatureImage);
    button->imageContentMode = ui::UIViewContentMode::ScaleAspectFit;
    button->didSelectHandler = FormCellFactory::signatureCaptureTapHandler(owner, delegate, indexPath);
    return typed;
}

std::shared_ptr<UITableViewCell> unknownFormCell(UITableView& tableView, const IndexPath& indexPath,
                                                 std::string_view cellType) {
    core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                                   "form cell type \"" + std::string(cellType) + "\" is no kind; the row stays empty");
    if (!tableView.registeredClassName(FormCellFactory::kUnknownFormCellReuseID)) {
        tableView.registerClass<UITableViewCell>(FormCellFactory::kUnknownFormCellReuseID);
    }
    return tableView.dequeueReusableCell(FormCellFactory::kUnknownFormCellReuseID, indexPath);
}

template <class Cell>
void registerKind(UITableView& tableView) {
    tableView.registerClass<Cell>(Cell::reuseIdentifier());
}

}  // namespace

std::string FormCellFactory::extensionFormCellReuseID = kDefaultExtensionReuseID;
std::int64_t FormCellFactory::extensionFormCellViewTag = kDefaultExtensionViewTag;
std::string FormCellFactory::SignatureCaptureFormCellReuseID = kDefaultSignatureReuseID;
std::shared_ptr<SignatureCaptureCellDelegate> FormCellFactory::signatureDelegate;
std::shared_ptr<SignatureCaptureCellDelegate> FormCellFactory::signatureFormsectionDelegate;

const foundation::Locale& FormCellFactory::locale() {
    auto& slot = localeSlot();
    if (!slot) slot = foundation::Locale::current();
    return *slot;
}

void FormCellFactory::setLocale(foundation::Locale locale) { localeSlot() = std::move(locale); }

void FormCellFactory::setLocale(std::string_view identifier, std::string_view entry) {
    if (identifier.empty()) return;
    if (std::optional<foundation::Locale> named = foundation::Locale::named(identifier)) {
        setLocale(std::move(*named));
        return;
    }
    // A host may send any text; the line shows enough of it to be found.
    constexpr std::size_t kShown = 64;
    std::string shown;
    core::Json::writeString(identifier.substr(0, kShown), shown);
    if (identifier.size() > kShown) shown += "...";
    core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                                   std::string(entry) + ": " + shown + " (" + std::to_string(identifier.size()) +
                                       " bytes) makes no valid locale; the locale stays " + locale().identifier());
}

std::shared_ptr<UITableViewCell> FormCellFactory::getFormCell(
    UITableView& tableView, const IndexPath& indexPath, std::string_view cellType, const core::Dictionary& cellParams,
    const Owner& owner, const Delegate& delegate, const std::shared_ptr<ui::UIViewController>& viewController) {
    auto kind = FormCellType::fromRawValue(cellType);
    if (!kind) return unknownFormCell(tableView, indexPath, cellType);
    return getFormCell(tableView, indexPath, *kind, cellParams, owner, delegate, viewController);
}

std::shared_ptr<UITableViewCell> FormCellFactory::getFormCell(
    UITableView& tableView, const IndexPath& indexPath, Kind kind, const core::Dictionary& cellParams,
    const Owner& owner, const Delegate& delegate, const std::shared_ptr<ui::UIViewController>& viewController) {
    const auto& p = cellParams;
    switch (kind) {
    case Kind::Title:
        return buildValueCell<vessa::VUITitleFormCell, std::string>(
            tableView, indexPath, owner, delegate, true, [&](const auto& cell) { Configure::title(cell, p); });
    case Kind::Note:
        return buildValueCell<vessa::VUINoteFormCell, std::string>(tableView, indexPath, owner, delegate, true,
                                                                   [&](const auto& cell) { Configure::note(cell, p); });
    case Kind::SimpleProperty:
        return buildValueCell<vessa::VUITextFieldFormCell, std::string>(
            tableView, indexPath, owner, delegate, true,
            [&](const auto& cell) { Configure::simpleProperty(cell, p, owner, delegate, indexPath); });
    case Kind::ListPicker: return listPickerFormCell(tableView, indexPath, p, owner, delegate);
    case Kind::DatePicker:
        return buildValueCell<vessa::VUIDatePickerFormCell, core::Date>(
            tableView, indexPath, owner, delegate, true, [&](const auto& cell) { Configure::datePicker(cell, p); });
    case Kind::DurationPicker:
        return buildValueCell<vessa::VUIDurationPickerFormCell, double>(
            tableView, indexPath, owner, delegate, true, [&](const auto& cell) { Configure::durationPicker(cell, p); });
    case Kind::Switch:
        return buildValueCell<vessa::VUISwitchFormCell, bool>(
            tableView, indexPath, owner, delegate, false, [&](const auto& cell) { Configure::switchCell(cell, p); });
    case Kind::SegmentedControl:
        return buildValueCell<vessa::VUISegmentedControlFormCell, int>(
            tableView, indexPath, owner, delegate, false,
            [&](const auto& cell) { Configure::segmentedControl(cell, p, owner); });
    case Kind::Attachment: return attachmentFormCell(tableView, indexPath, p, owner);
    case Kind::Button: return buttonFormCell(tableView, indexPath, p, delegate);
    case Kind::Filter:
    case Kind::Sorter: {
        const bool sorter = kind == Kind::Sorter;
        return buildValueCell<vessa::VUIFilterFormCell, std::vector<int>>(
            tableView, indexPath, owner, delegate, false,
            [&](const auto& cell) { Configure::filter(cell, p, sorter, owner); });
    }
    case Kind::Extension:
        return internal::ExtensionFormCellBuilder::extensionFormCell(tableView, indexPath, p, owner, delegate,
                                                                     viewController);
    case Kind::SignatureCapture: return signatureCaptureFormCell(tableView, indexPath, p, owner, delegate);
    }
    return unknownFormCell(tableView, indexPath, FormCellType::rawValue(kind));
}

void FormCellFactory::registerFormCell(UITableView& tableView, const std::string& type, const Owner& owner,
                                       const Delegate& delegate) {
    auto kind = FormCellType::fromRawValue(type);
    if (!kind) return;
    switch (*kind) {
    case Kind::Title: registerKind<vessa::VUITitleFormCell>(tableView); break;
    case Kind::Note: registerKind<vessa::VUINoteFormCell>(tableView); break;
    case Kind::SimpleProperty: registerKind<vessa::VUITextFieldFormCell>(tableView); break;
    case Kind::ListPicker: registerKind<vessa::VUIListPickerFormCell>(tableView); break;
    case Kind::DatePicker: registerKind<vessa::VUIDatePickerFormCell>(tableView); break;
    case Kind::DurationPicker: registerKind<vessa::VUIDurationPickerFormCell>(tableView); break;
    case Kind::Switch: registerKind<vessa::VUISwitchFormCell>(tableView); break;
    case Kind::SegmentedControl: registerKind<vessa::VUISegmentedControlFormCell>(tableView); break;
    case Kind::Attachment: registerKind<vessa::VUIAttachmentsFormCell>(tableView); break;
    case Kind::Button: registerKind<vessa::VUIButtonFormCell>(tableView); break;
    case Kind::Filter:
    case Kind::Sorter: registerKind<vessa::VUIFilterFormCell>(tableView); break;
    case Kind::Extension: internal::ExtensionFormCellBuilder::registerExtension(tableView, owner, delegate); break;
    case Kind::SignatureCapture:
        tableView.registerClass<vessa::VUITextFieldFormCell>(SignatureCaptureFormCellReuseID);
        break;
    }
}

void FormCellFactory::notifyFormCellUpdate(const Delegate& delegate, const core::Dictionary& change) {
    if (!delegate || !delegate->respondsToSelector(kValueChangedSelector)) return;
    delegate->perform(kValueChangedSelector, core::Value(change));
}

void FormCellFactory::notifyFormCellUpdate(const Delegate& delegate, const core::Value& change) {
    if (!delegate || !delegate->respondsToSelector(kValueChangedSelector)) return;
    delegate->perform(kValueChangedSelector, change);
}

bool FormCellFactory::reloadCellData(const std::shared_ptr<vessa::VUIListPickerFormCell>& cell,
                                     const std::shared_ptr<ui::UINavigationController>& navigationController) {
    if (!cell || !navigationController) return false;
    auto top =
        std::dynamic_pointer_cast<vessa::VUIListPickerTableViewController>(navigationController->topViewController());
    if (!top) return false;
    auto listPicker = cell->listPicker();
    if (!listPicker || top->listPicker() != listPicker) return false;
    dispatch::MainQueue::shared().async([weakPicker = std::weak_ptr<vessa::VUIListPicker>(listPicker)] {
        if (auto picker = weakPicker.lock()) picker->reloadData();
    });
    return true;
}

namespace {
// The drawing view lays out anew and the table lets the row height follow.
void relayout(const vessa::VUIBaseDrawingTableViewCell* cell, UITableView& tableView) {
    if (!cell) return;
    cell->innerView()->setNeedsCalculateLayout();
    tableView.beginUpdates();
    tableView.endUpdates();
}
}  // namespace

void FormCellFactory::adaptNoteFormCellViewLayout(const std::shared_ptr<vessa::VUINoteFormCell>& cell,
                                                  UITableView& tableView, const core::Dictionary& /*params*/) {
    relayout(cell.get(), tableView);
}

void FormCellFactory::adaptSignatureFormCellViewLayout(const std::shared_ptr<vessa::VUITextFieldFormCell>& cell,
                                                       UITableView& tableView, const core::Dictionary& /*params*/) {
    relayout(cell.get(), tableView);
}

}  // namespace trc::formcells
