#include "formcells/ListPickerDataSource.h"

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <set>

#include "platform/core/ClassInfo.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/foundation/Bundle.h"
#include "platform/ui/UISearchBar.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UIValues.h"
#include "platform/vessa/VUIListPicker.h"
#include "platform/vessa/VUIListPickerFormCell.h"
#include "platform/vessa/VUIObjectTableViewCell.h"
#include "services/ActivityIndicatorView.h"
#include "services/ObjectCell.h"
#include "services/Search.h"

namespace trc::formcells {

namespace {

using Items = ListPickerDataSource::Items;
using vessa::VUIObjectTableViewCell;

constexpr const char* kUserInfo = "userInfo";

void log(core::Severity severity, const std::string& message) {
    core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, severity, "list picker: " + message);
}

// Without regard to the language, as texts from any locale are compared.
std::string lowerCased(const std::string& text) {
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(text);
    u.toLower(icu::Locale::getRoot());
    std::string out;
    u.toUTF8String(out);
    return out;
}

const std::string* uniqueIdOf(const core::Dictionary& item) {
    const core::Value* v = item.find(ListPickerDataSource::kUniqueId);
    return v ? v->ifString() : nullptr;
}

bool hasUniqueId(const core::Dictionary& item, const std::string& uniqueId) {
    const std::string* id = uniqueIdOf(item);
    return id && *id == uniqueId;
}

// nullptr when the item has no "DisplayValue" (a nil one counts as none).
const core::Value* displayValueOf(const core::Dictionary& item) {
    const core::Value* v = item.find(ListPickerDataSource::kDisplayValue);
    return v && !v->isNil() ? v : nullptr;
}

// The object-cell properties an item shows: its dictionary "DisplayValue",
// or with no "DisplayValue" the whole item; nullptr for any other display value.
const core::Dictionary* objectPropertiesOf(const core::Dictionary& item) {
    const core::Value* dv = displayValueOf(item);
    return dv ? dv->ifDictionary() : &item;
}

// The text of an object row: its first search text, one line break form,
// without a closing line break.
std::string objectText(const core::Dictionary& properties) {
    for (const char* key : ListPickerDataSource::kSearchKeys) {
        const core::Value* v = properties.find(key);
        if (!v || v->isNothing()) continue;
        std::string text = v->ifString() ? *v->ifString() : v->description();
        for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
            text.erase(at, 1);
        }
        if (!text.empty() && text.back() == '\n') text.pop_back();
        return text;
    }
    return {};
}

// The text that stands for an item in a selection; nullopt for an item
// whose display value is neither a string nor a dictionary.
std::optional<std::string> displayText(const core::Dictionary& item) {
    const core::Value* dv = displayValueOf(item);
    if (dv && dv->ifString()) return *dv->ifString();
    if (const core::Dictionary* properties = objectPropertiesOf(item)) return objectText(*properties);
    return std::nullopt;
}

// What the selection remembers of a chosen item: its identifier and display
// value (the whole item when it has no display value); nullopt for an item
// without a string identifier or with a display value that shows nothing.
std::optional<core::Dictionary> selectionEntry(const core::Dictionary& item) {
    if (!uniqueIdOf(item)) return std::nullopt;
    const core::Value* dv = displayValueOf(item);
    if (!dv) return item;
    if (!dv->isString() && !dv->isDictionary()) return std::nullopt;
    return core::Dictionary{{ListPickerDataSource::kUniqueId, item.get(ListPickerDataSource::kUniqueId)},
                            {ListPickerDataSource::kDisplayValue, *dv}};
}

// The lower-cased texts a static search looks at in one row.
std::vector<std::string> searchableTexts(const core::Dictionary& item) {
    std::vector<std::string> texts;
    const core::Value* dv = displayValueOf(item);
    if (dv && dv->ifString()) {
        texts.push_back(lowerCased(*dv->ifString()));
    } else if (const core::Dictionary* properties = objectPropertiesOf(item)) {
        for (const char* key : ListPickerDataSource::kSearchKeys) {
            const core::Value* v = properties->find(key);
            if (v && v->ifString() && !v->ifString()->empty()) texts.push_back(lowerCased(*v->ifString()));
        }
    }
    return texts;
}

std::shared_ptr<ui::UITableViewCell> plainCell(ui::UITableView& tableView, std::optional<std::string> text) {
    auto cell = tableView.dequeueReusableCell(ui::UITableViewCell::reuseIdentifier());
    if (!cell) cell = std::make_shared<ui::UITableViewCell>();
    cell->textLabel()->text = std::move(text);
    return cell;
}

std::shared_ptr<VUIObjectTableViewCell> objectCell(ui::UITableView& tableView, const core::Dictionary& properties) {
    auto cell = std::dynamic_pointer_cast<VUIObjectTableViewCell>(
        tableView.dequeueReusableCell(VUIObjectTableViewCell::reuseIdentifier()));
    if (!cell) cell = std::make_shared<VUIObjectTableViewCell>();
    services::ObjectCell::configureObjectCell(cell, properties, core::Dictionary());
    return cell;
}

std::weak_ptr<ui::UITableView> tableOf(ui::UITableView& tableView) {
    return std::static_pointer_cast<ui::UITableView>(tableView.weak_from_this().lock());
}

void send(const std::weak_ptr<core::Object>& weakDelegate, const char* selector, const core::Value* argument) {
    auto delegate = weakDelegate.lock();
    if (!delegate || !delegate->respondsToSelector(selector)) return;
    try {
        if (argument) {
            delegate->perform(selector, *argument);
        } else {
            delegate->perform(selector);
        }
    } catch (const std::exception& e) {
        log(core::Severity::error, std::string(selector) + " failed: " + e.what());
    }
}

}  // namespace

const core::ClassInfo& ListPickerDataSource::classInfo() {
    using D = ListPickerDataSource;
    static const core::ClassInfo& info =
        core::ClassBuilder<D>("ListPickerDataSource", core::Object::classInfo())
            .method(kCallSearchCallbackSelector,
                    [](D& self, core::Args args) {
                        self.callSearchCallback(args[0]);
                        return core::Value();
                    })
            .method(kHideLazyLoadingIndicatorSelector,
                    [](D& self, core::Args) {
                        self.hideLazyLoadingIndicator();
                        return core::Value();
                    })
            .property("name", [](const D& d) { return core::Value(d.name()); })
            .property("data", [](const D& d) { return core::Value(core::Array(d.data().begin(), d.data().end())); })
            .property(
                "selectedData",
                [](const D& d) { return core::Value(core::Array(d.selectedData().begin(), d.selectedData().end())); })
            .property("isStaticCollection", [](const D& d) { return core::Value(d.isStaticCollection()); })
            .property("effectiveSearchString", [](const D& d) { return core::Value(d.effectiveSearchString()); })
            .property("indexesOfFilteredChoices",
                      [](const D& d) { return ui::valueArray(d.indexesOfFilteredChoices()); })
            .property("isLazyLoadingIndicatorEnabled",
                      [](const D& d) { return core::Value(d.isLazyLoadingIndicatorEnabled()); })
            .property("lazyLoadingIndicatorText", [](const D& d) { return core::Value(d.lazyLoadingIndicatorText()); })
            .property("lazyLoadingIndicatorIndex",
                      [](const D& d) { return core::Value(d.lazyLoadingIndicatorIndex()); })
            .property("indicatorBindingEnabled", [](const D& d) { return core::Value(d.indicatorBindingEnabled()); })
            .property("allDataLoaded", [](const D& d) { return core::Value(d.allDataLoaded()); })
            .property("searchString", [](const D& d) { return core::Value(d.search()->searchString()); })
            .build();
    return info;
}

std::string ListPickerDataSource::noneText() {
    return foundation::Bundle::framework()->localizedString(kNoneKey, kStringsTable, kNoneDefault);
}

ListPickerDataSource::ListPickerDataSource(const std::shared_ptr<vessa::VUIListPickerFormCell>& cell,
                                           const Delegate& delegate, std::shared_ptr<services::Search> search,
                                           bool isStaticCollection)
    : isStaticCollection_(isStaticCollection),
      delegate_(delegate),
      search_(search ? std::move(search) : std::make_shared<services::Search>(core::Dictionary())) {
    std::shared_ptr<vessa::VUIListPicker> listPicker = cell ? cell->listPicker() : nullptr;
    listPicker_ = listPicker;
    if (cell) name_ = cell->keyName().value_or(std::string());
    if (listPicker) listPicker->searchBarPlaceholderText = search_->placeholder;
}

ListPickerDataSource::ListPickerDataSource(const std::shared_ptr<vessa::VUIListPickerFormCell>& cell, Items data,
                                           Items initiallySelectedData, const Delegate& delegate,
                                           std::shared_ptr<services::Search> search)
    : ListPickerDataSource(cell, delegate, std::move(search), false) {
    selectedData_ = std::move(initiallySelectedData);
    updateData(std::move(data));
}

ListPickerDataSource::ListPickerDataSource(const std::shared_ptr<vessa::VUIListPickerFormCell>& cell, Items data,
                                           std::vector<int> initiallySelectedIndexes, const Delegate& delegate,
                                           std::shared_ptr<services::Search> search)
    : ListPickerDataSource(cell, delegate, std::move(search), true) {
    selectedIndexes_ = std::move(initiallySelectedIndexes);
    updateData(std::move(data));
}

ListPickerDataSource::~ListPickerDataSource() = default;

// ---- Rows and paging -----------------------------------------------------------

void ListPickerDataSource::setDataPagingData(const core::Dictionary& data) {
    if (const core::Value* v = data.find(kShowLoadingIndicator); v && v->ifBool()) {
        isLazyLoadingIndicatorEnabled_ = *v->ifBool();
    }
    if (const core::Value* v = data.find(kLoadingIndicatorText); v && v->ifString()) {
        lazyLoadingIndicatorText_ = *v->ifString();
    }
}

void ListPickerDataSource::update(Items data) {
    indicatorBindingEnabled_ = false;
    allDataLoaded_ = false;
    // The new rows replace the placeholder too; a removal still pending must
    // not take a real row for it.
    forgetLoadingRow();
    placeholderAppended_ = false;
    ++rowsGeneration_;
    updateData(std::move(data));
}

void ListPickerDataSource::updateData(Items data) {
    data_ = std::move(data);
    if (!isStaticCollection_) return;
    searchableRows_.clear();
    searchableRows_.reserve(data_.size());
    for (std::size_t i = 0; i < data_.size(); ++i) {
        searchableRows_.push_back({static_cast<int>(i), searchableTexts(data_[i])});
    }
    // An open search keeps filtering, and never points past the new rows.
    indexesOfFilteredChoices_ =
        effectiveSearchString_.empty() ? std::vector<int>() : matchingPositions(effectiveSearchString_);
}

bool ListPickerDataSource::isPlaceholderPosition(int position) const {
    return placeholderAppended_ && position == static_cast<int>(data_.size()) - 1;
}

int ListPickerDataSource::numberOfRowsIn(ui::UITableView& /*tableView*/) {
    if (isStaticCollection_ && !effectiveSearchString_.empty()) {
        return static_cast<int>(indexesOfFilteredChoices_.size());
    }
    return static_cast<int>(data_.size());
}

std::shared_ptr<ui::UITableViewCell> ListPickerDataSource::cellForItem(ui::UITableView& tableView,
                                                                       const core::Dictionary& item) const {
    const core::Value* dv = displayValueOf(item);
    if (dv && dv->ifString()) return plainCell(tableView, *dv->ifString());
    if (const core::Dictionary* properties = objectPropertiesOf(item)) return objectCell(tableView, *properties);
    return nullptr;
}

std::shared_ptr<ui::UITableViewCell> ListPickerDataSource::cellForRowAt(ui::UITableView& tableView, int row,
                                                                        bool isFiltered) {
    listPickerTableView_ = tableOf(tableView);
    int position = row;
    if (isStaticCollection_ && isFiltered) {
        const bool inResults = row >= 0 && row < static_cast<int>(indexesOfFilteredChoices_.size());
        position = inResults ? indexesOfFilteredChoices_[static_cast<std::size_t>(row)] : -1;
    }
    if (position < 0 || position >= static_cast<int>(data_.size())) {
        log(core::Severity::warn, "row " + std::to_string(row) + " is not among the " + std::to_string(data_.size()) +
                                      " rows; it shows empty");
        return plainCell(tableView, std::nullopt);
    }
    const bool last = position == static_cast<int>(data_.size()) - 1;
    const bool paging = !isStaticCollection_ && last;
    const bool loadingRowPending = isLazyLoadingIndicatorEnabled_ && !allDataLoaded_;
    if (paging && loadingRowPending && indicatorBindingEnabled_ && placeholderAppended_) {
        return loadingRowCell(tableView, row);
    }

    std::shared_ptr<ui::UITableViewCell> cell = cellForItem(tableView, data_[static_cast<std::size_t>(position)]);
    // A display value that shows nothing still gets a row, an empty one.
    if (!cell) cell = objectCell(tableView, core::Dictionary());
    cell->setHidden(false);
    cell->isUserInteractionEnabled = true;

    if (paging) {
        if (!isLazyLoadingIndicatorEnabled_) {
            dispatch::MainQueue::shared().async(
                [delegate = delegate_] { send(delegate, kLoadMoreItemsSelector, nullptr); });
        } else if (!allDataLoaded_ && !indicatorBindingEnabled_) {
            appendPlaceholderRow(tableView);
            indicatorBindingEnabled_ = true;
        }
    }
    return cell;
}

void ListPickerDataSource::appendPlaceholderRow(ui::UITableView& tableView) {
    core::Dictionary placeholder = data_.back();
    if (placeholder.contains(kUniqueId)) placeholder.set(kUniqueId, core::Value(kPlaceholderUniqueId));
    data_.push_back(std::move(placeholder));
    placeholderAppended_ = true;
    dispatch::MainQueue::shared().async([table = tableOf(tableView), delegate = delegate_] {
        if (auto t = table.lock()) t->reloadData();
        send(delegate, kLoadMoreItemsSelector, nullptr);
    });
}

std::shared_ptr<ui::UITableViewCell> ListPickerDataSource::loadingRowCell(ui::UITableView& tableView, int row) {
    lazyLoadingIndicatorIndex_ = row;
    auto cell = std::make_shared<ui::UITableViewCell>();
    cell->isUserInteractionEnabled = false;
    lazyLoadingIndicatorCell_ = cell;
    auto view = std::make_shared<ui::UIView>(
        ui::CGRect(0, kLazyLoadingIndicatorTopMargin, tableView.frame().size.width, kLazyLoadingIndicatorHeight));
    services::ActivityIndicatorView::show({{services::ActivityIndicatorView::kTextKey, lazyLoadingIndicatorText_},
                                           {services::ActivityIndicatorView::kViewKey, core::Value(view)}});
    cell->addSubview(view);
    lazyLoadingIndicatorView_ = view;
    cell->setHidden(false);
    return cell;
}

void ListPickerDataSource::hideLazyLoadingIndicator() {
    allDataLoaded_ = true;
    dispatch::MainQueue::shared().asyncAfter(
        kLazyLoadingIndicatorRemovalDelay, [weak = weak_from_this(), generation = rowsGeneration_] {
            auto self = std::static_pointer_cast<ListPickerDataSource>(weak.lock());
            if (self && self->rowsGeneration_ == generation) self->removeLoadingRow();
        });
}

void ListPickerDataSource::forgetLoadingRow() {
    if (lazyLoadingIndicatorCell_) lazyLoadingIndicatorCell_->setHidden(true);
    if (auto view = lazyLoadingIndicatorView_.lock(); view && services::ActivityIndicatorView::isShown() &&
                                                      services::ActivityIndicatorView::shared()->superview() == view) {
        services::ActivityIndicatorView::dismiss();
    }
    lazyLoadingIndicatorCell_.reset();
    lazyLoadingIndicatorView_.reset();
    lazyLoadingIndicatorIndex_ = -1;
}

void ListPickerDataSource::removeLoadingRow() {
    if (!placeholderAppended_) return;
    const int row = lazyLoadingIndicatorIndex_;
    forgetLoadingRow();
    data_.pop_back();
    placeholderAppended_ = false;
    auto table = listPickerTableView_.lock();
    if (!table) return;
    const int section = table->numberOfSections() - 1;
    if (row >= 0 && section >= 0 && row < table->numberOfRowsInSection(section)) {
        table->beginUpdates();
        table->deleteRows({ui::IndexPath{section, row}}, ui::UITableView::RowAnimation::None);
        table->endUpdates();
    } else {
        // The loading row was never drawn, but the table still counts the placeholder.
        table->reloadData();
    }
}

// ---- Unique identifiers ----------------------------------------------------------

std::shared_ptr<ui::UITableViewCell> ListPickerDataSource::cellForItemWithUniqueIdentifier(
    ui::UITableView& tableView, const std::string& uniqueIdentifier) {
    for (const Items* list : {&selectedData_, &data_}) {
        for (std::size_t i = 0; i < list->size(); ++i) {
            if (list == &data_ && isPlaceholderPosition(static_cast<int>(i))) break;
            if (!hasUniqueId((*list)[i], uniqueIdentifier)) continue;
            if (auto cell = cellForItem(tableView, (*list)[i])) return cell;
            break;
        }
    }
    return plainCell(tableView, std::nullopt);
}

std::string ListPickerDataSource::uniqueIdentifierForItemAt(ui::UITableView& /*tableView*/, int index) {
    // The placeholder stands for the loading row, which no one can choose.
    if (index < 0 || index >= static_cast<int>(data_.size()) || isPlaceholderPosition(index)) return {};
    const std::string* id = uniqueIdOf(data_[static_cast<std::size_t>(index)]);
    return id ? *id : std::string();
}

int ListPickerDataSource::positionOf(const std::string& uniqueIdentifier) const {
    for (std::size_t i = 0; i < data_.size() && !isPlaceholderPosition(static_cast<int>(i)); ++i) {
        if (hasUniqueId(data_[i], uniqueIdentifier)) return static_cast<int>(i);
    }
    return -1;
}

int ListPickerDataSource::indexForUniqueIdentifier(ui::UITableView& /*tableView*/,
                                                   const std::string& uniqueIdentifier) {
    return positionOf(uniqueIdentifier);
}

void ListPickerDataSource::updateSelectedData(const std::vector<std::string>& uuidValues) {
    auto chosen = [&](const std::string& id) {
        return std::find(uuidValues.begin(), uuidValues.end(), id) != uuidValues.end();
    };
    std::erase_if(selectedData_, [&](const core::Dictionary& entry) {
        const std::string* id = uniqueIdOf(entry);
        return !id || !chosen(*id);
    });
    for (const std::string& id : uuidValues) {
        auto known = std::find_if(selectedData_.begin(), selectedData_.end(),
                                  [&](const core::Dictionary& entry) { return hasUniqueId(entry, id); });
        if (known != selectedData_.end()) continue;
        const int position = positionOf(id);
        if (position < 0) continue;
        if (auto entry = selectionEntry(data_[static_cast<std::size_t>(position)]))
            selectedData_.push_back(std::move(*entry));
    }
}

void ListPickerDataSource::setSelectedItems(const Items& items) { selectedData_ = items; }

Items ListPickerDataSource::selectedItemsForUniqueIdentifiers(const std::vector<std::string>& uuidValues) const {
    Items items;
    for (const std::string& id : uuidValues) {
        auto known = std::find_if(selectedData_.begin(), selectedData_.end(),
                                  [&](const core::Dictionary& entry) { return hasUniqueId(entry, id); });
        if (known != selectedData_.end()) {
            items.push_back(*known);
            continue;
        }
        if (const int position = positionOf(id); position >= 0)
            items.push_back(data_[static_cast<std::size_t>(position)]);
    }
    return items;
}

// ---- Descriptions ------------------------------------------------------------------

std::string ListPickerDataSource::descriptionForSelectedItems(const Items& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i) text += ", ";
        text += displayText(items[i]).value_or(std::string());
    }
    return text;
}

std::string ListPickerDataSource::descriptionForSelectedIndexes(const std::vector<int>& indexes) const {
    const std::set<int> taken(indexes.begin(), indexes.end());
    std::string text;
    for (std::size_t i = 0; i < data_.size(); ++i) {
        if (!taken.contains(static_cast<int>(i)) || isPlaceholderPosition(static_cast<int>(i))) continue;
        auto piece = displayText(data_[i]);
        if (!piece) continue;
        text = text.empty() ? *piece : text + ", " + *piece;
    }
    return text;
}

std::optional<std::string> ListPickerDataSource::descriptionOfSelectedIndexes(const std::vector<int>& indexes) {
    return indexes.empty() ? noneText() : descriptionForSelectedIndexes(indexes);
}

std::optional<std::string> ListPickerDataSource::descriptionOfSelectedUniqueIdentifiers(
    const std::vector<std::string>& uniqueIdentifiers) {
    if (uniqueIdentifiers.empty()) return noneText();
    Items items = selectedItemsForUniqueIdentifiers(uniqueIdentifiers);
    if (items.empty()) return std::nullopt;
    return descriptionForSelectedItems(items);
}

// ---- Search -------------------------------------------------------------------------

std::vector<int> ListPickerDataSource::matchingPositions(const std::string& searchText) const {
    const std::string wanted = lowerCased(searchText);
    std::vector<int> positions;
    for (const SearchableRow& row : searchableRows_) {
        const bool match = std::any_of(row.texts.begin(), row.texts.end(),
                                       [&](const std::string& text) { return text.find(wanted) != std::string::npos; });
        if (match) positions.push_back(row.position);
    }
    return positions;
}

void ListPickerDataSource::staticSearch(const std::string& searchText, vessa::VUIListPicker& listPicker) {
    if (searchText != effectiveSearchString_) {
        effectiveSearchString_ = searchText;
        indexesOfFilteredChoices_ = searchText.empty() ? std::vector<int>() : matchingPositions(searchText);
    }
    listPicker.reloadData();
}

void ListPickerDataSource::updateSearchResults(vessa::VUIListPicker& listPicker, const std::string& searchText) {
    if (isStaticCollection_) {
        staticSearch(searchText, listPicker);
        return;
    }
    search_->schedule(searchText, weak_from_this().lock(), kCallSearchCallbackSelector);
}

void ListPickerDataSource::searchBarSearchButtonClicked(ui::UISearchBar& searchBar) {
    searchBar.resignFirstResponder();
    if (!searchBar.text) return;
    if (!isStaticCollection_) {
        search_->immediateSearch(*searchBar.text, weak_from_this().lock(), kCallSearchCallbackSelector);
    } else if (auto listPicker = listPicker_.lock()) {
        staticSearch(*searchBar.text, *listPicker);
    }
}

void ListPickerDataSource::callSearchCallback(const core::Value& sender) {
    auto timer = sender.ifObject();
    if (!timer || !timer->hasValueForKey(kUserInfo)) return;
    const core::Value userInfo = timer->valueForKey(kUserInfo);
    const core::Value* searchString = userInfo.find(services::Search::kSearchString);
    if (!searchString || !searchString->ifString()) return;
    send(delegate_, kSearchUpdatedSelector, searchString);
}

bool ListPickerDataSource::filteredDataSourceContainsItemWithUniqueIdentifier(vessa::VUIListPicker& /*listPicker*/,
                                                                              const std::string& uniqueIdentifier) {
    if (search_->searchString().empty()) return true;
    if (std::any_of(selectedData_.begin(), selectedData_.end(),
                    [&](const core::Dictionary& entry) { return hasUniqueId(entry, uniqueIdentifier); })) {
        return true;
    }
    // Remembered, so the item stays known after the host replaces the results.
    for (std::size_t i = 0; i < data_.size() && !isPlaceholderPosition(static_cast<int>(i)); ++i) {
        if (!hasUniqueId(data_[i], uniqueIdentifier)) continue;
        if (auto entry = selectionEntry(data_[i])) {
            selectedData_.push_back(std::move(*entry));
            return true;
        }
    }
    return false;
}

bool ListPickerDataSource::filteredDataSourceContainsItemAt(vessa::VUIListPicker& /*listPicker*/, int index) {
    return std::find(indexesOfFilteredChoices_.begin(), indexesOfFilteredChoices_.end(), index) !=
           indexesOfFilteredChoices_.end();
}

int ListPickerDataSource::unfilteredDataSourceIndexOfItemAt(vessa::VUIListPicker& /*listPicker*/, int row) {
    // A dynamic list's rows are the host's results themselves.
    if (!isStaticCollection_) return row;
    if (row < 0 || row >= static_cast<int>(indexesOfFilteredChoices_.size())) return -1;
    return indexesOfFilteredChoices_[static_cast<std::size_t>(row)];
}

}  // namespace trc::formcells
