#include "formcells/FormCellSection.h"

#include <algorithm>
#include <limits>

#include "formcells/FocusUtil.h"
#include "formcells/FormCellFactory.h"
#include "formcells/FormCellKeys.h"
#include "formcells/FormCellNumberFilter.h"
#include "formcells/FormCellRefresh.h"
#include "formcells/FormCellType.h"
#include "formcells/internal/FormCellParameterTypes.h"
#include "formcells/internal/SetterSupport.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UITextField.h"
#include "services/HostNumber.h"
#include "services/ParameterHelper.h"
#include "services/SectionFactory.h"
#include "services/SectionedTableViewController.h"

namespace trc::formcells {

namespace {

using services::ParameterHelper;

constexpr const char* kName = FormCellKeys::kName;
constexpr const char* kType = FormCellKeys::kType;
constexpr const char* kHeight = FormCellKeys::kHeight;
constexpr const char* kValue = FormCellKeys::kValue;

// The text under key, read in place: a row is built on every scroll step.
const std::string* textIn(const core::Dictionary& params, const char* key) {
    const core::Value* v = params.find(key);
    return v ? v->ifString() : nullptr;
}

bool isKind(const std::string* type, FormCellType::Kind kind) { return type && *type == FormCellType::rawValue(kind); }

void warn(const std::string& message) {
    core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn, message);
}

// Sends a host callback the delegate answers; a failing send is logged, never
// passed on to the host's call that caused it.
core::Value send(const std::shared_ptr<core::Object>& delegate, const char* selector,
                 std::initializer_list<core::Value> args) {
    if (!delegate || !delegate->respondsToSelector(selector)) return {};
    try {
        std::vector<core::Value> list(args);
        return delegate->perform(selector, core::Args(list));
    } catch (const std::exception& e) {
        core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::error,
                                       std::string(selector) + " failed: " + e.what());
        return {};
    }
}

}  // namespace

const core::ClassInfo& FormCellSection::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<FormCellSection>("FormCellSection", services::BaseSection::classInfo())
            .method(kHideLazyLoadingIndicatorWithRow,
                    [](FormCellSection& self, core::Args args) {
                        if (auto row = rowArgument(args[0], kHideLazyLoadingIndicatorWithRow)) {
                            self.hideLazyLoadingIndicatorWith(*row);
                        }
                        return core::Value();
                    })
            .method(kSetFocusWithRow,
                    [](FormCellSection& self, core::Args args) {
                        if (auto row = rowArgument(args[0], kSetFocusWithRow)) self.setFocus(*row);
                        return core::Value();
                    })
            .method("getVisibleCellCount",
                    [](FormCellSection& self, core::Args) { return core::Value(self.getVisibleCellCount()); })
            .method("getCellItems",
                    [](FormCellSection& self, core::Args) {
                        core::Array items;
                        for (const auto& cell : self.getCellItems()) items.emplace_back(cell);
                        return core::Value(std::move(items));
                    })
            .property("delegates",
                      [](const FormCellSection& self) {
                          core::Dictionary out;
                          for (const auto& [name, delegate] : self.delegates) out.set(name, core::Value(delegate));
                          return core::Value(std::move(out));
                      })
            .build();
    return info;
}

void FormCellSection::registerSectionType() {
    services::SectionFactory::registerSectionType(
        kSectionType, [](const core::Dictionary& params, std::shared_ptr<core::Object> callback) {
            return std::static_pointer_cast<services::BaseSection>(make(params, std::move(callback)));
        });
}

std::shared_ptr<FormCellSection> FormCellSection::make(const core::Dictionary& params,
                                                       std::shared_ptr<core::Object> callback) {
    return BaseSection::make<FormCellSection>(params, std::move(callback));
}

std::shared_ptr<FormCellSection> FormCellSection::self() {
    return std::static_pointer_cast<FormCellSection>(shared_from_this());
}

std::shared_ptr<FormCellOwner> FormCellSection::owner() {
    // Shares ownership with the object itself: one count taken, no casts that test for null.
    return std::shared_ptr<FormCellOwner>(shared_from_this(), static_cast<FormCellOwner*>(this));
}

std::shared_ptr<ui::UITableView> FormCellSection::pageTable() const {
    auto page = parentTable();
    return page ? page->tableView() : nullptr;
}

bool FormCellSection::hasHostRow(int row, const char* entry) const {
    if (cellsInSection_.at(row)) return true;
    services::HostNumber::refuse(entry, "row " + std::to_string(row) + " addresses nothing: the section has " +
                                            std::to_string(cellsInSection_.size()) + " cells");
    return false;
}

FormCellSection::Delegate FormCellSection::delegateNamedIn(const core::Dictionary& params) const {
    const std::string* name = textIn(params, kName);
    if (!name) return nullptr;
    auto it = delegates.find(*name);
    return it == delegates.end() ? nullptr : it->second;
}

void FormCellSection::setData(const core::Dictionary& params) {
    BaseSection::setData(params);
    // Kept as given: any count but 0 shows the section's cells, a negative
    // one included, and updateFormCells never reaches past the cells it gets.
    if (auto count = ParameterHelper::getParameterAsInt(params, kItemCount)) maxItemCount = *count;
    if (const std::string* locale = textIn(params, kLocale)) FormCellFactory::setLocale(*locale, kLocaleEntry);
}

void FormCellSection::redraw(const core::Dictionary& data) {
    std::weak_ptr<FormCellSection> weak = self();
    dispatch::MainQueue::shared().async([weak, data] {
        auto section = weak.lock();
        if (!section) return;
        section->setData(data);
        if (auto page = section->parentTable()) page->reloadSection(*section);
    });
}

void FormCellSection::setFormCellSectionItem(const core::Dictionary& params, const Delegate& delegate) {
    // The cell keeps its host row even when it cannot be named, so later
    // cells keep theirs; with no callback object its changes go nowhere.
    if (const std::string* name = textIn(params, kName)) {
        // Rows already built keep the callback objects they found unless their name now finds another.
        if (auto [it, added] = delegates.try_emplace(*name, delegate); !added && it->second != delegate) {
            it->second = delegate;
            rowDelegates_.forget();
        }
    } else {
        warn(
            "setFormCellSectionItem: a cell without a text \"_Name\" is shown, but a person's changes to it are "
            "dropped");
    }
    cellsInSection_.append(params);
    ++cellsGeneration_;
}

void FormCellSection::updateFormCell(const core::Dictionary& params, int row) {
    if (!FormCellRowList::isSectionCellVisible(params)) return;
    if (!hasHostRow(row, kUpdateFormCell) || !cellsInSection_.isRowVisible(row)) return;
    core::Dictionary scratch;
    const core::Dictionary& update =
        internal::FormCellParameterTypes::accepted(*cellsInSection_.at(row), params, scratch);
    const std::uint64_t before = cellsInSection_.rowGeneration(row);
    cellsInSection_.merge(row, update);
    if (!update.contains(kName)) rowDelegates_.carry(0, cellsInSection_, row, before);
    if (update.contains(kType)) ++cellsGeneration_;
    const int shown = cellsInSection_.visibleRow(row);
    auto table = pageTable();
    if (shown < 0 || !table) return;
    ui::IndexPath path{sectionIndex, shown};
    FormCellRefresh::Row target;
    target.tableView = table;
    target.indexPath = path;
    target.stored = cellsInSection_.at(row);
    target.owner = owner();
    target.delegate = rowDelegates_.find(0, cellsInSection_, row, [&] { return delegateNamedIn(*target.stored); });
    target.attachments = this;
    FormCellRefresh::apply(target, update);
}

void FormCellSection::updateFormCells(const core::Array& params) {
    const std::size_t count = static_cast<std::size_t>(
        std::min<std::int64_t>(std::max<std::int64_t>(0, maxItemCount), static_cast<std::int64_t>(params.size())));
    for (std::size_t i = 0; i < count; ++i) {
        const auto row = static_cast<int>(i);
        const core::Dictionary* cell = params[i].ifDictionary();
        const core::Dictionary* stored = cellsInSection_.at(row);
        if (!cell || !stored) continue;
        // Rows sent again under the names they had keep the callback objects they found.
        const std::uint64_t before = cellsInSection_.rowGeneration(row);
        const bool sameName = RowDelegates::sameName(*stored, *cell);
        cellsInSection_.replace(row, *cell);
        if (sameName) rowDelegates_.carry(0, cellsInSection_, row, before);
    }
    ++cellsGeneration_;
    if (auto page = parentTable()) page->reloadSection(*this);
}

void FormCellSection::hideLazyLoadingIndicatorWith(int row) {
    if (!hasHostRow(row, kHideLazyLoadingIndicatorWithRow) || !cellsInSection_.isRowVisible(row)) return;
    auto table = pageTable();
    if (!table) return;
    FormCellRefresh::hideLazyLoadingIndicator(table->cellForRow({sectionIndex, cellsInSection_.visibleRow(row)}));
}

void FormCellSection::setFocus(int row) {
    if (!hasHostRow(row, kSetFocusWithRow) || !cellsInSection_.isRowVisible(row)) return;
    if (auto table = pageTable()) {
        FocusUtil::setFocus(table, {sectionIndex, cellsInSection_.visibleRow(row)}, owner(),
                            internal::SetterSupport::rowName(*cellsInSection_.at(row)));
    }
}

void FormCellSection::registerCellsOfFormCellSection(ui::UITableView& tableView) {
    auto me = owner();
    for (const auto& cell : cellsInSection_.cells()) {
        const std::string* type = textIn(cell, kType);
        if (!type || !FormCellType::fromRawValue(*type)) continue;
        FormCellFactory::registerFormCell(tableView, *type, me, delegateNamedIn(cell));
    }
}

void FormCellSection::registerCells(ui::UITableView& tableView) {
    if (registeredOn_.lock().get() == &tableView && registeredGeneration_ == cellsGeneration_) return;
    registerCellsOfFormCellSection(tableView);
    registeredOn_ = std::static_pointer_cast<ui::UITableView>(tableView.shared_from_this());
    registeredGeneration_ = cellsGeneration_;
}

int FormCellSection::getVisibleCellCount() const { return cellsInSection_.visibleCount(); }

const core::Dictionary* FormCellSection::getCellParams(int row) const { return cellsInSection_.visibleAt(row); }

std::optional<double> FormCellSection::getExtensionHeight(int row) const {
    // Asked for every row on screen at every layout: the kind stored with the row answers.
    const FormCellRowList::Shown shown = cellsInSection_.shown(row);
    if (shown.kind != FormCellType::Kind::Extension) return std::nullopt;
    const core::Value* height = shown.params->find(kHeight);
    return height ? height->asDouble() : std::nullopt;
}

std::shared_ptr<ui::UITableViewCell> FormCellSection::cellForRow(
    ui::UITableView& tableView, const ui::IndexPath& indexPath,
    const std::shared_ptr<services::SectionedTableViewController>& page) {
    const FormCellRowList::Shown shown = cellsInSection_.shown(indexPath.row);
    if (!shown.params) return nullptr;
    const core::Dictionary& params = *shown.params;
    auto delegate = rowDelegates_.find(0, cellsInSection_, shown, [&] { return delegateNamedIn(params); });
    std::shared_ptr<ui::UITableViewCell> cell;
    if (shown.kind) {
        cell = FormCellFactory::getFormCell(tableView, indexPath, *shown.kind, params, owner(), delegate, page);
    } else {
        const std::string* type = textIn(params, kType);
        cell = FormCellFactory::getFormCell(tableView, indexPath, type ? std::string_view(*type) : std::string_view(),
                                            params, owner(), delegate, page);
    }
    cellsInSection_.prefetchAfter(indexPath.row);
    return cell;
}

void FormCellSection::didSelectRow(int row, const std::shared_ptr<ui::UITableViewCell>& cell) {
    onPressFormCellCallback(row, cell);
}

void FormCellSection::onPressFormCellCallback(int row, const std::shared_ptr<ui::UIView>& view) {
    const core::Dictionary* params = getCellParams(row);
    if (!params) return;
    const std::string* type = textIn(*params, kType);
    if (!isKind(type, FormCellType::Kind::Extension) && !isKind(type, FormCellType::Kind::ListPicker)) return;
    send(delegateNamedIn(*params), kOnPress, {core::Value(row), view ? core::Value(view) : core::Value()});
}

core::Value FormCellSection::getView(int row) {
    const core::Dictionary* params = getCellParams(row);
    if (!params) return {};
    core::Value view = send(delegateNamedIn(*params), kGetView, {core::Value(row)});
    return view.isObject() ? view : core::Value();
}

void FormCellSection::updateParamsWithValue(const core::Dictionary& change, const ui::IndexPath& indexPath) {
    const core::Value* value = change.find(kValue);
    const int row = cellsInSection_.actualRow(indexPath.row);
    if (!value || row < 0) return;
    const std::uint64_t before = cellsInSection_.rowGeneration(row);
    cellsInSection_.setValue(row, *value);
    rowDelegates_.carry(0, cellsInSection_, row, before);
}

std::optional<ui::IndexPath> FormCellSection::indexPathOfShownCell(const std::string& name) const {
    for (int row = 0; row < cellsInSection_.visibleCount(); ++row) {
        const std::string* cellName = textIn(*cellsInSection_.visibleAt(row), kName);
        if (cellName && *cellName == name) return ui::IndexPath{sectionIndex, row};
    }
    return std::nullopt;
}

void FormCellSection::didChangeValue(const std::optional<std::string>& name, const core::Dictionary& params) {
    if (!name) return;
    auto it = delegates.find(*name);
    if (it != delegates.end()) send(it->second, kValueChangedWithParams, {core::Value(params)});
}

void FormCellSection::reloadSectionContainer(const ui::IndexPath& indexPath) {
    std::weak_ptr<FormCellSection> weak = self();
    dispatch::MainQueue::shared().async([weak, indexPath] {
        auto section = weak.lock();
        if (!section) return;
        ui::UIView::performWithoutAnimation([&] {
            if (auto table = section->pageTable()) {
                table->reloadSections({indexPath.section}, ui::UITableView::RowAnimation::Automatic);
            }
        });
        // Never scroll to a row the table does not have.
        auto table = section->pageTable();
        if (table && table->isValid(indexPath)) {
            table->scrollToRow(indexPath, ui::UITableView::ScrollPosition::Middle, true);
        }
    });
}

bool FormCellSection::textFieldShouldChangeCharactersIn(ui::UITextField& textField, ui::NSRange range,
                                                        const std::string& replacement) {
    return FormCellNumberFilter::shouldChangeCharacters(textField, range, replacement);
}

bool FormCellSection::textFieldShouldReturn(ui::UITextField& textField) {
    textField.resignFirstResponder();
    return true;
}

}  // namespace trc::formcells
