#include "formcells/FormCellContainerViewController.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "formcells/FocusUtil.h"
#include "formcells/FormCellFactory.h"
#include "formcells/FormCellItemDelegate.h"
#include "formcells/FormCellNumberFilter.h"
#include "formcells/FormCellRefresh.h"
#include "formcells/FormCellType.h"
#include "formcells/internal/FormCellParameterTypes.h"
#include "formcells/internal/SetterSupport.h"
#include "platform/core/ClassInfo.h"
#include "platform/core/ExactClass.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITextField.h"
#include "platform/vessa/VUIBaseTableViewCell.h"
#include "platform/vessa/VUITableViewHeaderFooterView.h"
#include "services/AppConfig.h"
#include "services/HostNumber.h"
#include "services/TextHandler.h"

namespace trc::formcells {

using ui::IndexPath;
using ui::UITableView;
using Kind = FormCellType::Kind;

namespace {

constexpr ui::UITableView::RowAnimation kAutomatic = ui::UITableView::RowAnimation::Automatic;
// The headless screen draws one point as one pixel.
constexpr double kScreenScale = 1;

const std::string* stringIn(const core::Dictionary& d, std::string_view key) {
    const auto* v = d.find(key);
    return v ? v->ifString() : nullptr;
}

std::optional<Kind> kindIn(const core::Dictionary& d) {
    const auto* type = stringIn(d, FormCellContainerViewController::kTypeKey);
    return type ? FormCellType::fromRawValue(*type) : std::nullopt;
}

void warn(const std::string& message) {
    core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn, message);
}

core::Value integerArray(const std::vector<int>& values) {
    core::Array out;
    for (int v : values) out.emplace_back(v);
    return core::Value(std::move(out));
}

core::Value stringArray(const std::vector<std::string>& values) {
    core::Array out;
    for (const auto& v : values) out.emplace_back(v);
    return core::Value(std::move(out));
}

using services::HostNumber;

const core::Dictionary* dictionaryIn(const core::Value& v, std::string_view entry, std::string_view what) {
    const auto* d = v.ifDictionary();
    if (!d) HostNumber::refuse(entry, std::string(what) + " must be a dictionary, not " + v.description());
    return d;
}

// Runs fn with the host's row and section, when both are numbers a row can have.
template <class F>
core::Value withRow(const core::Value& row, const core::Value& section, std::string_view entry, F fn) {
    auto r = HostNumber::rowOrSection(row, entry, "row");
    auto s = HostNumber::rowOrSection(section, entry, "section");
    if (r && s) fn(*r, *s);
    return {};
}

std::vector<std::string> stringsIn(const core::Value& v) {
    std::vector<std::string> out;
    if (const auto* a = v.ifArray()) {
        for (const auto& item : *a) {
            if (const auto* s = item.ifString()) out.push_back(*s);
        }
    }
    return out;
}

}  // namespace

const core::ClassInfo& FormCellContainerViewController::classInfo() {
    using C = FormCellContainerViewController;
    static const core::ClassInfo& info =
        core::ClassBuilder<C>("FormCellContainerViewController", vessa::VUIFormTableViewController::classInfo())
            .constructible()
            .protocol("UITextFieldDelegate")
            .protocol("FullScreenTableViewControllerTraits")
            .property("numberOfSections", [](const C& c) { return core::Value(c.announcedNumberOfSections_); })
            .property("numberOfRowsInSection",
                      [](const C& c) { return integerArray(c.announcedNumberOfRowsInSection_); })
            .property("sectionNames", [](const C& c) { return stringArray(c.sectionNames); })
            .property("isInPopover", [](const C& c) { return core::Value(c.isInPopover); })
            .property("isInEmbeddedFrame", [](const C& c) { return core::Value(c.isInEmbeddedFrame); })
            .property("tableViewForExtension",
                      [](const C& c) {
                          auto t = c.tableViewForExtension();
                          return t ? core::Value(t) : core::Value();
                      })
            .property("tableViewCellForExtension",
                      [](const C& c) {
                          auto t = c.tableViewCellForExtension();
                          return t ? core::Value(t) : core::Value();
                      })
            .property("totalNumberOfRows", [](const C& c) { return core::Value(c.totalNumberOfRows_); })
            .method("setNumberOfSections:",
                    [](C& c, core::Args a) {
                        c.announceNumberOfSections(a[0], "setNumberOfSections:");
                        return core::Value();
                    })
            .method("setNumberOfRowsInSection:",
                    [](C& c, core::Args a) {
                        c.announceNumberOfRowsInSection(a[0], "setNumberOfRowsInSection:");
                        return core::Value();
                    })
            .method("setSectionNames:",
                    [](C& c, core::Args a) {
                        c.sectionNames = stringsIn(a[0]);
                        return core::Value();
                    })
            .method("setIsInPopover:",
                    [](C& c, core::Args a) {
                        c.isInPopover = a[0].ifBool() ? *a[0].ifBool() : a[0].asInteger().value_or(0) != 0;
                        return core::Value();
                    })
            .method("setIsInEmbeddedFrame:",
                    [](C& c, core::Args a) {
                        c.isInEmbeddedFrame = a[0].ifBool() ? *a[0].ifBool() : a[0].asInteger().value_or(0) != 0;
                        return core::Value();
                    })
            .method("setTableViewForExtension:",
                    [](C& c, core::Args a) {
                        c.setTableViewForExtension(a[0].ifObjectOf<UITableView>());
                        return core::Value();
                    })
            .method("setTableViewCellForExtension:",
                    [](C& c, core::Args a) {
                        c.setTableViewCellForExtension(a[0].ifObjectOf<ui::UITableViewCell>());
                        return core::Value();
                    })
            .method("getCellTypesForSection", [](C& c, core::Args) { return core::Value(c.getCellTypesForSection()); })
            .method(kAddFormCell,
                    [](C& c, core::Args a) {
                        const auto* params = dictionaryIn(a[0], kAddFormCell, "the cell parameters");
                        if (!params) return core::Value();
                        auto delegate = a[1].ifObject();
                        if (!delegate) delegate = std::make_shared<FormCellItemDelegate>();
                        c.addFormCell(*params, delegate);
                        return core::Value();
                    })
            .method(kUpdateFormCell,
                    [](C& c, core::Args a) {
                        const auto* params = dictionaryIn(a[0], kUpdateFormCell, "the update");
                        if (!params) return core::Value();
                        return withRow(a[1], a[2], kUpdateFormCell,
                                       [&](int row, int section) { c.updateFormCell(*params, row, section); });
                    })
            .method(kUpdateFormCells,
                    [](C& c, core::Args a) {
                        const auto* cells = a[0].ifArray();
                        if (!cells) {
                            HostNumber::refuse(kUpdateFormCells, "the cells must be a list, not " + a[0].description());
                            return core::Value();
                        }
                        const auto* style = a[1].ifString();
                        c.updateFormCells(*cells, style ? std::optional<std::string>(*style) : std::nullopt);
                        return core::Value();
                    })
            .method(kSetLocale,
                    [](C& c, core::Args a) {
                        if (const auto* identifier = a[0].ifString()) {
                            c.setLocale(*identifier);
                        } else {
                            HostNumber::refuse(kSetLocale, "the locale must be a text, not " + a[0].description());
                        }
                        return core::Value();
                    })
            .method(kSetFocus,
                    [](C& c, core::Args a) {
                        return withRow(a[0], a[1], kSetFocus, [&](int row, int section) { c.setFocus(row, section); });
                    })
            .method(kHideLazyLoadingIndicator,
                    [](C& c, core::Args a) {
                        return withRow(a[0], a[1], kHideLazyLoadingIndicator,
                                       [&](int row, int section) { c.hideLazyLoadingIndicator(row, section); });
                    })
            .build();
    return info;
}

// ---- Host operations --------------------------------------------------------

std::shared_ptr<FormCellOwner> FormCellContainerViewController::selfOwner() {
    // Shares ownership with the object itself: one count taken, no casts that test for null.
    return std::shared_ptr<FormCellOwner>(shared_from_this(), static_cast<FormCellOwner*>(this));
}

bool FormCellContainerViewController::announceNumberOfSections(const core::Value& count, std::string_view entry) {
    auto n = HostNumber::count(count, entry, "numberOfSections");
    if (!n) return false;
    announcedNumberOfSections_ = *n;
    return true;
}

bool FormCellContainerViewController::announceNumberOfRowsInSection(const core::Value& counts, std::string_view entry) {
    const auto* list = counts.ifArray();
    if (!list) {
        HostNumber::refuse(entry, "numberOfRowsInSection must be a list of counts, not " + counts.description());
        return false;
    }
    // One entry per section, and every cell added walks them.
    if (static_cast<std::int64_t>(list->size()) > HostNumber::kCountCap) {
        HostNumber::refuse(entry, "numberOfRowsInSection lists " + std::to_string(list->size()) +
                                      " sections, beyond the cap of " + std::to_string(HostNumber::kCountCap));
        return false;
    }
    std::vector<int> parsed;
    parsed.reserve(list->size());
    for (const auto& item : *list) {
        auto n = HostNumber::count(item, entry, "numberOfRowsInSection entry");
        if (!n) return false;
        parsed.push_back(*n);
    }
    announcedNumberOfRowsInSection_ = std::move(parsed);
    placement_ = {};
    return true;
}

void FormCellContainerViewController::addFormCell(const core::Dictionary& params,
                                                  const std::shared_ptr<core::Object>& delegate) {
    const auto* type = stringIn(params, kTypeKey);
    const auto* name = stringIn(params, kNameKey);
    if (!type || !name) {
        warn("form cell without a string \"_Type\" and \"_Name\" is not added");
        return;
    }
    if (!FormCellType::fromRawValue(*type)) {
        warn("form cell \"" + *name + "\" of type \"" + *type + "\" is no kind and is not added");
        return;
    }
    FormCellFactory::registerFormCell(*tableView(), *type, selfOwner(), delegate);
    // Rows already built keep the callback objects they found unless their name now finds another.
    if (auto [it, added] = delegates_.try_emplace(*name, delegate); !added && it->second != delegate) {
        it->second = delegate;
        rowDelegates_.forget();
    }
    ++totalNumberOfRows_;

    const auto section = static_cast<std::size_t>(sectionForNextCell());
    if (cellTypesForSection_.size() <= section) cellTypesForSection_.resize(section + 1);
    auto& list = cellTypesForSection_[section];
    if (!list) list = std::make_unique<FormCellRowList>(&FormCellRowList::isCellVisible);
    list->append(params);
}

int FormCellContainerViewController::sectionForNextCell() {
    // Cells fill the announced sections in the order they come: a cell goes
    // into the first section whose count, summed with those before it,
    // reaches the cell's number; a cell past every announced count stays in
    // the last section rather than be lost. Summed in 64 bits: negative
    // counts (which place no cell) cannot wrap. The cell numbers only grow,
    // so a section that was full for one cell is full for every later one:
    // the search goes on from where the last one ended, and adding a cell
    // costs the same however many sections lie before it. It starts again
    // when the counts are announced anew.
    const std::vector<int>& counts = announcedNumberOfRowsInSection_;
    if (counts.empty()) return 0;
    if (placement_.counts != counts.data() || placement_.size != counts.size()) {
        placement_ = {counts.data(), counts.size(), 0, 0};
    }
    while (placement_.section < counts.size()) {
        if (placement_.before + counts[placement_.section] >= totalNumberOfRows_) {
            return static_cast<int>(placement_.section);
        }
        placement_.before += counts[placement_.section];
        ++placement_.section;
    }
    return static_cast<int>(counts.size()) - 1;
}

void FormCellContainerViewController::updateFormCell(const core::Dictionary& params, int cellRow, int cellSection) {
    // Visibility changes go through updateFormCells: an update that would
    // hide a cell, or that aims at a hidden one, changes nothing.
    if (!FormCellRowList::isCellVisible(params)) return;
    auto* list = hostRow(cellRow, cellSection, kUpdateFormCell);
    if (!list) return;
    const auto* stored = list->at(cellRow);
    if (!FormCellRowList::isCellVisible(*stored)) return;
    core::Dictionary scratch;
    const core::Dictionary& update = internal::FormCellParameterTypes::accepted(*stored, params, scratch);
    const std::uint64_t before = list->rowGeneration(cellRow);
    list->merge(cellRow, update);
    if (!update.contains(kNameKey)) rowDelegates_.carry(cellSection, *list, cellRow, before);

    const int visibleRow = list->visibleRow(cellRow);
    if (visibleRow < 0) return;
    FormCellRefresh::Row row;
    row.tableView = tableView();
    row.indexPath = IndexPath{cellSection, visibleRow};
    row.stored = list->at(cellRow);
    row.owner = selfOwner();
    row.delegate = rowDelegates_.find(cellSection, *list, cellRow, [&] {
        const auto* name = stringIn(*row.stored, kNameKey);
        return name ? delegateNamed(*name) : nullptr;
    });
    row.attachments = this;
    row.reloadAfterSegmentedControl = true;
    FormCellRefresh::apply(row, update);
}

void FormCellContainerViewController::updateFormCells(const core::Array& cells,
                                                      const std::optional<std::string>& style) {
    std::size_t flat = 0;
    for (std::size_t s = 0; s < announcedNumberOfRowsInSection_.size(); ++s) {
        const int count = announcedNumberOfRowsInSection_[s];
        auto* list = rows(static_cast<int>(s));
        for (int r = 0; r < count; ++r) {
            const std::size_t index = flat + static_cast<std::size_t>(r);
            if (index >= cells.size()) break;
            const auto* element = cells[index].ifDictionary();
            const core::Dictionary* stored = list ? list->at(r) : nullptr;
            if (!element || !stored) continue;
            // A host that sends its rows again mostly keeps their names:
            // those rows keep the callback objects they found.
            const std::uint64_t before = list->rowGeneration(r);
            const bool sameName = RowDelegates::sameName(*stored, *element);
            list->replace(r, *element);
            if (sameName) rowDelegates_.carry(static_cast<int>(s), *list, r, before);
        }
        flat += static_cast<std::size_t>(std::max(count, 0));
    }
    auto table = tableView();
    if (style) table->nuiClass = *style;
    table->reloadData();
}

void FormCellContainerViewController::setLocale(const std::string& identifier, std::string_view entry) {
    FormCellFactory::setLocale(identifier, entry);
}

void FormCellContainerViewController::setFocus(int cellRow, int cellSection) {
    if (!hostRow(cellRow, cellSection, kSetFocus) || !isRowVisible(cellRow, cellSection)) return;
    const int visibleRow = getVisibleRow(cellRow, cellSection);
    if (visibleRow < 0) return;
    FocusUtil::setFocus(tableView(), IndexPath{cellSection, visibleRow}, selfOwner(),
                        internal::SetterSupport::rowName(*rows(cellSection)->at(cellRow)));
}

void FormCellContainerViewController::hideLazyLoadingIndicator(int cellRow, int cellSection) {
    if (!hostRow(cellRow, cellSection, kHideLazyLoadingIndicator) || !isRowVisible(cellRow, cellSection)) return;
    const int visibleRow = getVisibleRow(cellRow, cellSection);
    if (visibleRow < 0) return;
    FormCellRefresh::hideLazyLoadingIndicator(tableView()->cellForRow({cellSection, visibleRow}));
}

core::Dictionary FormCellContainerViewController::getCellTypesForSection() const {
    core::Dictionary out;
    for (std::size_t section = 0; section < cellTypesForSection_.size(); ++section) {
        const auto* list = cellTypesForSection_[section].get();
        if (!list) continue;
        core::Array cells;
        cells.reserve(list->size());
        for (const auto& params : list->cells()) cells.emplace_back(params);
        out.set(std::to_string(section), core::Value(std::move(cells)));
    }
    return out;
}

// ---- Row maps -----------------------------------------------------------------

const FormCellRowList* FormCellContainerViewController::rows(int section) const {
    if (section < 0 || static_cast<std::size_t>(section) >= cellTypesForSection_.size()) return nullptr;
    return cellTypesForSection_[static_cast<std::size_t>(section)].get();
}

FormCellRowList* FormCellContainerViewController::rows(int section) {
    return const_cast<FormCellRowList*>(std::as_const(*this).rows(section));
}

FormCellRowList* FormCellContainerViewController::hostRow(int cellRow, int cellSection, std::string_view entry) {
    auto* list = rows(cellSection);
    if (list && list->at(cellRow)) return list;
    HostNumber::refuse(entry, "row " + std::to_string(cellRow) + " of section " + std::to_string(cellSection) +
                                  " addresses nothing: the form has no such cell");
    return nullptr;
}

const core::Dictionary* FormCellContainerViewController::visibleParams(const IndexPath& indexPath) const {
    const auto* list = rows(indexPath.section);
    return list ? list->visibleAt(indexPath.row) : nullptr;
}

int FormCellContainerViewController::getActualRow(int visibleRow, int section) const {
    const auto* list = rows(section);
    return list ? list->actualRow(visibleRow) : -1;
}

int FormCellContainerViewController::getVisibleRow(int actualRow, int section) const {
    const auto* list = rows(section);
    return list ? list->visibleRow(actualRow) : -1;
}

bool FormCellContainerViewController::isRowVisible(int actualRow, int section) const {
    const auto* list = rows(section);
    return list && list->isRowVisible(actualRow);
}

bool FormCellContainerViewController::hideSectionHeader(int section) const {
    const auto* list = rows(section);
    return !list || list->allHidden();
}

std::shared_ptr<core::Object> FormCellContainerViewController::delegateNamed(const std::string& name) const {
    auto it = delegates_.find(name);
    return it == delegates_.end() ? nullptr : it->second;
}

// ---- Changes from the rows ------------------------------------------------------

void FormCellContainerViewController::updateParamsWithValue(const core::Dictionary& change,
                                                            const IndexPath& indexPath) {
    const auto* value = change.find(FormCellFactory::kValueKey);
    if (!value) return;
    auto* list = rows(indexPath.section);
    if (!list) return;
    const int actual = list->actualRow(indexPath.row);
    if (actual < 0) return;
    const std::uint64_t before = list->rowGeneration(actual);
    list->setValue(actual, *value);
    rowDelegates_.carry(indexPath.section, *list, actual, before);
}

std::optional<IndexPath> FormCellContainerViewController::indexPathOfShownCell(const std::string& name) const {
    for (std::size_t section = 0; section < cellTypesForSection_.size(); ++section) {
        const auto* list = cellTypesForSection_[section].get();
        for (int row = 0; list && row < list->visibleCount(); ++row) {
            const auto* cellName = stringIn(*list->visibleAt(row), kNameKey);
            if (cellName && *cellName == name) return IndexPath{static_cast<int>(section), row};
        }
    }
    return std::nullopt;
}

void FormCellContainerViewController::didChangeValue(const std::optional<std::string>& name,
                                                     const core::Dictionary& params) {
    if (!name) return;
    if (auto delegate = delegateNamed(*name)) FormCellFactory::notifyFormCellUpdate(delegate, params);
}

void FormCellContainerViewController::reloadSectionContainer(const IndexPath& indexPath) {
    auto weakSelf = std::weak_ptr<FormCellContainerViewController>(
        std::static_pointer_cast<FormCellContainerViewController>(shared_from_this()));
    dispatch::MainQueue::shared().async([weakSelf, indexPath] {
        auto self = weakSelf.lock();
        if (!self) return;
        auto table = self->tableView();
        ui::UIView::performWithoutAnimation([&] {
            table->reloadSections({indexPath.section}, kAutomatic);
            if (table->isValid(indexPath)) table->scrollToRow(indexPath, UITableView::ScrollPosition::Middle, true);
        });
    });
}

void FormCellContainerViewController::runOnPressActionForTable(UITableView& tableView, const IndexPath& indexPath) {
    const auto* params = visibleParams(indexPath);
    if (!params) return;
    const auto* name = stringIn(*params, kNameKey);
    auto delegate = name ? delegateNamed(*name) : nullptr;
    if (!delegate || !delegate->respondsToSelector(kOnPressSelector)) return;
    auto cell = tableView.cellForRow(indexPath);
    delegate->perform(kOnPressSelector, core::Value(indexPath.row), cell ? core::Value(cell) : core::Value::null());
}

// ---- Number fields ----------------------------------------------------------------

bool FormCellContainerViewController::textFieldShouldChangeCharactersIn(ui::UITextField& textField, ui::NSRange range,
                                                                        const std::string& replacement) {
    return FormCellNumberFilter::shouldChangeCharacters(textField, range, replacement);
}

bool FormCellContainerViewController::textFieldShouldReturn(ui::UITextField& textField) {
    textField.resignFirstResponder();
    return true;
}

// ---- Table ---------------------------------------------------------------------------

int FormCellContainerViewController::numberOfSections(UITableView& /*tableView*/) { return announcedNumberOfSections_; }

int FormCellContainerViewController::numberOfRowsInSection(UITableView& /*tableView*/, int section) {
    const auto* list = rows(section);
    return list ? list->visibleCount() : 0;
}

std::shared_ptr<ui::UITableViewCell> FormCellContainerViewController::cellForRowAt(UITableView& tableView,
                                                                                   const IndexPath& indexPath) {
    const auto* list = rows(indexPath.section);
    if (!list) return nullptr;
    const FormCellRowList::Shown row = list->shown(indexPath.row);
    if (!row.params) return nullptr;
    const core::Dictionary& params = *row.params;
    auto delegate = rowDelegates_.find(indexPath.section, *list, row, [&] {
        const auto* name = stringIn(params, kNameKey);
        return name ? delegateNamed(*name) : nullptr;
    });
    std::shared_ptr<ui::UITableViewCell> cell;
    if (row.kind) {
        cell = FormCellFactory::getFormCell(tableView, indexPath, *row.kind, params, selfOwner(), delegate);
    } else {
        const auto* type = stringIn(params, kTypeKey);
        cell = FormCellFactory::getFormCell(tableView, indexPath, type ? std::string_view(*type) : std::string_view(),
                                            params, selfOwner(), delegate);
    }
    if (auto* base = cell ? core::rememberedCast<vessa::VUIBaseTableViewCell>(*cell) : nullptr) {
        const bool last = indexPath.row == list->visibleCount() - 1;
        base->separators =
            last ? vessa::VUIBaseTableViewCell::Separators::None : vessa::VUIBaseTableViewCell::Separators::Bottom;
    }
    list->prefetchAfter(indexPath.row);
    return cell;
}

void FormCellContainerViewController::didSelectRowAt(UITableView& tableView, const IndexPath& indexPath) {
    if (const auto* params = visibleParams(indexPath)) {
        auto kind = kindIn(*params);
        if (kind == Kind::Extension || kind == Kind::ListPicker) runOnPressActionForTable(tableView, indexPath);
    }
    VUIFormTableViewController::didSelectRowAt(tableView, indexPath);
}

std::optional<double> FormCellContainerViewController::heightForRowAt(UITableView& /*tableView*/,
                                                                      const IndexPath& indexPath) {
    // Asked for every row on screen at every layout: the kind stored with the row answers.
    const auto* list = rows(indexPath.section);
    if (!list) return std::nullopt;
    const FormCellRowList::Shown row = list->shown(indexPath.row);
    if (row.kind != Kind::Extension) return std::nullopt;
    const auto* height = row.params->find(kHeightKey);
    if (height && height->isNumber()) return height->asDouble();
    return std::nullopt;
}

std::optional<std::string> FormCellContainerViewController::sectionName(int section) const {
    if (section < 0 || static_cast<std::size_t>(section) >= sectionNames.size()) return std::nullopt;
    return sectionNames[static_cast<std::size_t>(section)];
}

std::optional<double> FormCellContainerViewController::heightForHeaderInSection(UITableView& tableView, int section) {
    const std::string name = sectionName(section).value_or("");
    if (isInPopover && section == 0 && name.empty()) return 0.0;
    if (name.empty()) return hideSectionHeader(section) ? 0.0 : sectionHeaderHeight;
    return services::TextHandler::heightOfHeaderText(name, tableView) + kNamedHeaderPadding;
}

std::shared_ptr<ui::UIView> FormCellContainerViewController::viewForHeaderInSection(UITableView& tableView,
                                                                                    int section) {
    const std::string name = sectionName(section).value_or("");
    if (name.empty()) return nullptr;
    auto header = std::dynamic_pointer_cast<vessa::VUITableViewHeaderFooterView>(
        tableView.dequeueReusableHeaderFooterView(vessa::VUITableViewHeaderFooterView::reuseIdentifier()));
    if (!header) return nullptr;
    header->titleLabel()->text = name;
    header->titleLabel()->numberOfLines = 0;
    header->backgroundView()->backgroundColor = ui::UIColor::clear();
    for (const auto& sub : std::vector<std::shared_ptr<ui::UIView>>(header->subviews())) {
        if (sub->tag == kHeaderSeparatorTag) sub->removeFromSuperview();
    }
    if (hideSectionHeader(section)) {
        const double height = heightForHeaderInSection(tableView, section).value_or(0);
        auto line =
            std::make_shared<ui::UIView>(ui::CGRect(0, height - 1, header->frame().size.width, 1 / kScreenScale));
        line->tag = kHeaderSeparatorTag;
        line->backgroundColor = tableView.separatorColor;
        header->addSubview(line);
    }
    return header;
}

std::optional<double> FormCellContainerViewController::heightForFooterInSection(UITableView& /*tableView*/,
                                                                                int /*section*/) {
    return std::numeric_limits<double>::min();
}

std::shared_ptr<ui::UIView> FormCellContainerViewController::viewForFooterInSection(UITableView& /*tableView*/,
                                                                                    int /*section*/) {
    return nullptr;
}

// ---- Lifecycle ---------------------------------------------------------------------------

void FormCellContainerViewController::viewDidLoad() {
    VUIFormTableViewController::viewDidLoad();
    onFullScreenTableViewControllerLoaded();
    auto table = tableView();
    table->estimatedRowHeight = kEstimatedRowHeight;
    table->rowHeight = UITableView::automaticDimension;
    table->estimatedSectionHeaderHeight = kEstimatedSectionHeaderHeight;
    if (traitCollection.horizontalSizeClass == ui::UIUserInterfaceSizeClass::Regular &&
        isPresentedModallyInFullScreen()) {
        table->cellLayoutMarginsFollowReadableWidth = true;
    }
    table->registerHeaderFooterClass<vessa::VUITableViewHeaderFooterView>(
        vessa::VUITableViewHeaderFooterView::reuseIdentifier());
}

void FormCellContainerViewController::viewDidAppear(bool animated) {
    VUIFormTableViewController::viewDidAppear(animated);
    onFullScreenTableViewControllerAppeared(isInEmbeddedFrame);
    if (!isPresentedModally() || isPresentedModallyInFullScreen()) return;
    auto root = services::AppConfig::sharedInstance()->getRootViewController();
    if (!root) return;
    if (root->traitCollection.userInterfaceStyle != ui::UIUserInterfaceStyle::Light) {
        tableView()->backgroundColor = ui::UIColor::black();
    }
}

void FormCellContainerViewController::viewWillDisappear(bool animated) {
    VUIFormTableViewController::viewWillDisappear(animated);
    view()->endEditing(true);
}

}  // namespace trc::formcells
