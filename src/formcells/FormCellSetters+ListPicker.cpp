// The list picker rows: the picker's flags and the cell's caption and
// styles, the choice between a selection by item index and one by the
// items' unique identifiers, the data source for dictionary items, the text
// the row shows for its selection, and host updates that refresh an open
// picker.
//
// A row is built into a cell that may have shown another row before, so the
// build road starts the cell from what a new cell has: another row's
// caption, selection rules or items never carry over.

#include <algorithm>
#include <limits>

#include "formcells/FormCellFactory.h"
#include "formcells/FormCellSetters.h"
#include "formcells/ListPickerDataSource.h"
#include "formcells/ListPickerRowKeys.h"
#include "formcells/ListPickerRows.h"
#include "formcells/internal/SetterSupport.h"
#include "platform/core/TextAssignment.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIViewController.h"
#include "platform/vessa/VUIColorStyle.h"
#include "platform/vessa/VUIListPicker.h"
#include "platform/vessa/VUIListPickerFormCell.h"
#include "platform/vessa/VUIObjectTableViewCell.h"
#include "services/AppConfig.h"
#include "services/ParameterHelper.h"
#include "services/Search.h"

namespace trc::formcells {

namespace {

using services::ParameterHelper;
using S = internal::SetterSupport;
using Items = ListPickerDataSource::Items;
using ItemsForm = ListPickerRows::ItemsForm;
using Cell = std::shared_ptr<vessa::VUIListPickerFormCell>;

constexpr std::string_view kIsDataSourceRequiringUniqueIdentifiers = "IsDataSourceRequiringUniqueIdentifiers";
constexpr std::string_view kIsSelectedSectionEnabled = "IsSelectedSectionEnabled";
constexpr std::string_view kPickerPrompt = "PickerPrompt";
constexpr std::string_view kIsSearchCancelledAfterSelection = "IsSearchCancelledAfterSelection";
constexpr std::string_view kAllowMultipleSelection = "AllowMultipleSelection";
constexpr std::string_view kAllowEmptySelection = "AllowEmptySelection";
constexpr std::string_view kIsPickerDismissedOnSelection = "IsPickerDismissedOnSelection";
constexpr std::string_view kPickerItems = ListPickerRowKeys::kPickerItems;
constexpr std::string_view kDataPaging = "DataPaging";

// Inline, so the key bits rule an absent key out as one test.
inline bool present(const core::Dictionary& params, std::string_view key) {
    const core::Value* v = params.find(key);
    return v && !v->isNothing();
}

// "Value" as item indexes; numbers a cell cannot hold are left out, logged.
// Read into one buffer kept for every row: rows are built one at a time on
// the main thread, and whoever keeps the indexes copies them before the
// next read.
const std::vector<int>& selectedIndexes(const core::Value* value) {
    static std::vector<int> indexes;
    indexes.clear();
    // Read as ParameterHelper::integerArrayIn reads it, in one pass: a list
    // holding anything but whole numbers is no selection.
    const core::Array* list = value ? value->ifArray() : nullptr;
    if (!list) return indexes;
    bool outOfRange = false;
    for (const core::Value& element : *list) {
        const std::int64_t* whole = element.ifInteger();
        const std::optional<std::int64_t> n = whole ? std::optional(*whole) : ParameterHelper::exactInteger(element);
        if (!n) {
            indexes.clear();
            return indexes;
        }
        if (*n < 0 || *n > std::numeric_limits<int>::max()) {
            outOfRange = true;
        } else {
            indexes.push_back(static_cast<int>(*n));
        }
    }
    if (!outOfRange) return indexes;
    for (const core::Value& element : *list) {
        const std::int64_t n = *ParameterHelper::exactInteger(element);
        if (n < 0 || n > std::numeric_limits<int>::max()) {
            S::warn("list picker: the index " + std::to_string(n) + " in \"Value\" is no item; left out");
        }
    }
    return indexes;
}
const std::vector<int>& selectedIndexes(const core::Dictionary& params) {
    return selectedIndexes(params.find(S::kValue));
}

// The unique identifiers of the selected items, in order; an item without
// a string "UniqueId" gives none.
std::vector<std::string> uniqueIdsOf(const Items& items) {
    std::vector<std::string> ids;
    for (const auto& item : items) {
        const core::Value* v = item.find(ListPickerDataSource::kUniqueId);
        const std::string* id = v ? v->ifString() : nullptr;
        if (id && !id->empty()) ids.push_back(*id);
    }
    return ids;
}

// "Value" of a selection by unique identifiers: the selected items, or the
// identifiers themselves as a person's pick stores them in the row.
struct UniqueIdSelection {
    Items items;
    std::vector<std::string> ids;
    bool given = false;
};

UniqueIdSelection uniqueIdSelection(const core::Dictionary& params) {
    UniqueIdSelection selection;
    if (auto items = ParameterHelper::getParameterAsNSDictionaryArray(params, S::kValue)) {
        selection.ids = uniqueIdsOf(*items);
        selection.items = std::move(*items);
        selection.given = true;
    } else if (auto ids = ParameterHelper::getParameterAsStringArray(params, S::kValue)) {
        std::erase(*ids, std::string());
        selection.ids = std::move(*ids);
        selection.given = true;
    }
    return selection;
}

// The items of the identifiers: the row's item with that identifier, else
// what the row remembers of an item a person picked; an identifier found in
// neither is left out.
Items itemsWithIds(const Items& pickerItems, const std::vector<std::string>& ids, const Items& pickedItems) {
    Items found;
    for (const auto& id : ids) {
        for (const Items* list : {&pickerItems, &pickedItems}) {
            auto it = std::find_if(list->begin(), list->end(), [&](const core::Dictionary& item) {
                const core::Value* v = item.find(ListPickerDataSource::kUniqueId);
                return v && v->ifString() && *v->ifString() == id;
            });
            if (it == list->end()) continue;
            found.push_back(*it);
            break;
        }
    }
    return found;
}

// The row's search settings: those given, else read from the row when a
// data source needs them (a row of titles has none).
std::shared_ptr<services::Search> searchOf(const std::shared_ptr<services::Search>& given,
                                           const core::Dictionary& params) {
    return given ? given : std::make_shared<services::Search>(params);
}

void showSelection(vessa::VUIListPickerFormCell& cell, const std::optional<std::string>& description) {
    cell.valueLabel()->text = description ? *description : ListPickerDataSource::noneText();
}

// The picker shows the data source's rows, searches with it and lets it
// answer the search bar. Attached once the cell holds the row's selection:
// an open picker shows the new source's rows at once, its picked items
// among them.
void attach(vessa::VUIListPickerFormCell& cell, const std::shared_ptr<ListPickerDataSource>& dataSource,
            const core::Dictionary& params) {
    if (auto paging = ParameterHelper::getParameterAsDictionary(params, kDataPaging)) {
        dataSource->setDataPagingData(*paging);
    }
    auto listPicker = cell.listPicker();
    listPicker->registerClass<vessa::VUIObjectTableViewCell>(vessa::VUIObjectTableViewCell::reuseIdentifier());
    listPicker->setSearchResultsUpdating(dataSource);
    listPicker->setSearchBarDelegate(dataSource);
    listPicker->setDataSource(dataSource);
}

// Another row's data source must not stay behind on a reused cell.
void detach(vessa::VUIListPickerFormCell& cell) {
    const auto& listPicker = cell.listPicker();
    listPicker->setSearchResultsUpdating(nullptr);
    listPicker->setSearchBarDelegate(nullptr);
    listPicker->setDataSource(nullptr);
}

std::shared_ptr<ListPickerDataSource> dataSourceOf(const vessa::VUIListPickerFormCell& cell) {
    auto listPicker = cell.listPicker();
    return listPicker ? std::dynamic_pointer_cast<ListPickerDataSource>(listPicker->dataSource()) : nullptr;
}

// Reloads the cell's row in the table showing it, so the build road binds
// the change handler and data source of the row's new selection mode from
// its stored parameters. False when the cell is in no table.
bool rebuildRow(vessa::VUIListPickerFormCell& cell) {
    for (auto view = cell.superview(); view; view = view->superview()) {
        auto table = std::dynamic_pointer_cast<ui::UITableView>(view);
        if (!table) continue;
        auto path = table->indexPathForCell(cell);
        if (!path) return false;
        table->reloadRows({*path}, ui::UITableView::RowAnimation::Automatic);
        return true;
    }
    return false;
}

// An open picker of this cell shows the new items after the current update.
void refreshOpenPicker(const Cell& cell) {
    auto root = services::AppConfig::sharedInstance()->getRootViewController();
    if (!root) return;
    auto top = root;
    while (auto presented = top->presentedViewController()) top = presented;
    if (auto nav = std::dynamic_pointer_cast<ui::UINavigationController>(top)) {
        if (FormCellFactory::reloadCellData(cell, nav)) return;
    }
    auto shownBy = cell->controller();
    if (auto nav = shownBy ? shownBy->navigationController() : nullptr) FormCellFactory::reloadCellData(cell, nav);
}

}  // namespace

namespace {

// What a new cell has, for the keys the row leaves out.
// The caption is left to applyRow when it runs next (captionLater).
void startAsNew(vessa::VUIListPickerFormCell& cell, vessa::VUIListPicker& listPicker,
                const FormCellSetters::Params& params, bool captionLater) {
    if (present(params, kIsDataSourceRequiringUniqueIdentifiers)) {
        listPicker.isDataSourceRequiringUniqueIdentifiers = true;
        if (!ParameterHelper::getParameterAsBool(params, kIsDataSourceRequiringUniqueIdentifiers)) {
            S::warn(
                "list picker: \"IsDataSourceRequiringUniqueIdentifiers\" is no boolean; items are chosen by "
                "their unique identifiers");
        }
    } else {
        listPicker.isDataSourceRequiringUniqueIdentifiers = false;
    }
    if (!present(params, kIsSelectedSectionEnabled)) listPicker.isSelectedSectionEnabled = false;
    if (!present(params, kIsSearchCancelledAfterSelection)) listPicker.isSearchCancelledAfterSelection = false;
    if (!present(params, kAllowEmptySelection)) cell.allowsEmptySelection = true;
    static const ui::UIColor tint = vessa::preferredVessaColor(vessa::VUIColorStyle::TintColorDark);
    listPicker.tintColor = tint;

    // What a new cell has, for the keys the row may leave out. Texts the
    // row gives are set later in the room of the old ones.
    listPicker.isSearchEnabled = false;
    listPicker.isBarcodeScannerEnabled = false;
    if (!ParameterHelper::textIn(params, kPickerPrompt)) listPicker.prompt.reset();
    if (!captionLater && !ParameterHelper::textIn(params, S::kCaption)) cell.setKeyName(std::nullopt);
    cell.allowsMultipleSelection = false;
    cell.setEditable(true);
    cell.isPickerDismissedOnSelection = true;
}

// The row's keys, those it leaves out left as they are; but a new row
// (asNew) without a caption has none. captionValue: the row's "Caption".
void applyRow(vessa::VUIListPickerFormCell& cell, vessa::VUIListPicker& listPicker,
              const FormCellSetters::Params& params, const core::Value* captionValue, bool asNew) {
    auto flag = [&](std::string_view key) { return ParameterHelper::getParameterAsBool(params, key); };
    if (const core::Dictionary* search = ParameterHelper::dictionaryIn(params, services::Search::kSearch)) {
        if (auto on = ParameterHelper::getParameterAsBool(*search, services::Search::kEnabled)) {
            listPicker.isSearchEnabled = *on;
        }
        if (auto on = ParameterHelper::getParameterAsBool(*search, services::Search::kBarcodeScanner)) {
            listPicker.isBarcodeScannerEnabled = *on;
        }
    }
    if (auto on = flag(kIsDataSourceRequiringUniqueIdentifiers))
        listPicker.isDataSourceRequiringUniqueIdentifiers = *on;
    // A caption is a text as a rule, read here without a look-up more.
    if (const std::string* caption = captionValue ? captionValue->ifString() : nullptr) {
        cell.setKeyName(*caption);
    } else if (auto text = ParameterHelper::textIn(params, S::kCaption)) {
        cell.setKeyName(*text);
    } else if (asNew) {
        cell.setKeyName(std::nullopt);
    }
    if (auto on = flag(kIsSelectedSectionEnabled)) listPicker.isSelectedSectionEnabled = *on;
    if (auto prompt = ParameterHelper::textIn(params, kPickerPrompt)) core::assignText(listPicker.prompt, *prompt);
    if (auto on = flag(kIsSearchCancelledAfterSelection)) listPicker.isSearchCancelledAfterSelection = *on;
    if (auto on = flag(kAllowMultipleSelection)) {
        cell.allowsMultipleSelection = *on;
        // Several picks in a row would each end the search otherwise.
        if (*on) listPicker.isSearchCancelledAfterSelection = false;
    }
    if (auto on = flag(kAllowEmptySelection)) cell.allowsEmptySelection = *on;
    S::applyEditable(params, cell);
    if (auto on = flag(kIsPickerDismissedOnSelection)) cell.isPickerDismissedOnSelection = *on;
    const core::Dictionary& styles = S::styles(params);
    S::applyStyleClass(styles, S::kBackground, cell);
    S::applyStyleClass(styles, S::kCaption, *cell.keyLabel());
    S::applyStyleClass(styles, S::kValue, *cell.valueLabel());
}

}  // namespace

void FormCellSetters::intiDefaultsetListPickerFormCellView(const Cell& cell, const Params& params) {
    auto listPicker = cell ? cell->listPicker() : nullptr;
    if (listPicker) startAsNew(*cell, *listPicker, params, false);
}

void FormCellSetters::setListPickerFormCellView(const Cell& cell, const Params& params) {
    auto listPicker = cell ? cell->listPicker() : nullptr;
    if (listPicker) applyRow(*cell, *listPicker, params, params.find(S::kCaption), false);
}

void FormCellSetters::buildListPickerFormCellView(const Cell& cell, const Params& params,
                                                  const ListPickerRowKeys* keys) {
    vessa::VUIListPicker* listPicker = cell ? cell->listPicker().get() : nullptr;
    if (!listPicker) return;
    startAsNew(*cell, *listPicker, params, true);
    applyRow(*cell, *listPicker, params, keys ? keys->caption : params.find(S::kCaption), true);
}

std::shared_ptr<ListPickerDataSource> FormCellSetters::setListPickerValueByUUID(
    const Cell& cell, const Params& params, const Delegate& delegate, const std::shared_ptr<services::Search>& search,
    const Items& pickedItems) {
    if (!cell || !cell->listPicker()) return nullptr;
    UniqueIdSelection selection = uniqueIdSelection(params);
    auto items = ParameterHelper::getParameterAsNSDictionaryArray(params, kPickerItems);
    if (!items) {
        // Nothing to choose from: the row shows its selection and opens an empty picker.
        S::warn("list picker: \"PickerItems\" is no list of dictionaries; nothing can be chosen");
        cell->valueOptions.clear();
        if (selection.items.empty()) selection.items = itemsWithIds({}, selection.ids, pickedItems);
        cell->uuidValues = selection.ids;
        showSelection(*cell, selection.items.empty()
                                 ? std::nullopt
                                 : std::optional(ListPickerDataSource::descriptionForSelectedItems(selection.items)));
        detach(*cell);
        return nullptr;
    }
    // Identifiers a person picked earlier stand for the row's items that
    // have them, or for what the row remembers of them.
    if (selection.items.empty() && !selection.ids.empty()) {
        selection.items = itemsWithIds(*items, selection.ids, pickedItems);
    }
    auto dataSource = std::make_shared<ListPickerDataSource>(cell, std::move(*items), selection.items, delegate,
                                                             searchOf(search, params));
    cell->valueOptions.clear();
    cell->setValue({});
    cell->uuidValues = selection.ids;
    showSelection(*cell, selection.items.empty()
                             ? std::nullopt
                             : std::optional(ListPickerDataSource::descriptionForSelectedItems(selection.items)));
    attach(*cell, dataSource, params);
    return dataSource;
}

void FormCellSetters::setListPickerValueByArray(const Cell& cell, const Params& params, const Delegate& delegate,
                                                const std::shared_ptr<services::Search>& search, ListPickerRows* rows,
                                                const ListPickerRowKeys* keys) {
    if (!cell || !cell->listPicker()) return;
    // Looked up once for both forms of items: dictionaries, else titles.
    // A row built again finds its list's form remembered, its items unread.
    const core::Value* pickerItems = keys ? keys->pickerItems : params.find(kPickerItems);
    const core::Value* value = keys ? keys->value : params.find(S::kValue);
    const ItemsForm form = rows ? rows->itemsForm(pickerItems) : ListPickerRows::formOf(pickerItems);
    if (form == ItemsForm::Dictionaries) {
        // The data source may ask the host, which may build rows meanwhile.
        const std::vector<int> indexes = selectedIndexes(value);
        auto items = ParameterHelper::getParameterAsNSDictionaryArray(params, kPickerItems);
        auto dataSource = std::make_shared<ListPickerDataSource>(cell, std::move(*items), indexes, delegate,
                                                                 searchOf(search, params));
        cell->valueOptions.clear();
        cell->uuidValues.clear();
        showSelection(
            *cell, indexes.empty() ? std::nullopt : std::optional(dataSource->descriptionForSelectedIndexes(indexes)));
        cell->setValue(indexes);
        attach(*cell, dataSource, params);
        return;
    }
    const std::vector<int>& indexes = selectedIndexes(value);
    cell->uuidValues.clear();
    // The row's titles are taken as they stand, not copied.
    if (form == ItemsForm::Texts) {
        cell->valueOptions.shareTexts(*pickerItems);
    } else {
        S::warn("list picker: \"PickerItems\" is neither dictionaries nor texts; nothing can be chosen");
        cell->valueOptions.clear();
    }
    // With titles and a selection, the cell shows the chosen titles itself.
    if (indexes.empty() || cell->valueOptions.empty()) showSelection(*cell, std::nullopt);
    cell->setValue(indexes);
    // A picker of titles open while its row is rebuilt shows the row's titles now.
    if (!cell->listPicker()->dataSource() && cell->openPickerScreen()) cell->listPicker()->tableView()->reloadData();
    detach(*cell);
}

void FormCellSetters::updateListPickerListView(const Cell& cell, const Params& params) {
    if (!cell) return;
    auto listPicker = cell->listPicker();
    if (!listPicker) return;
    const bool wasByUniqueIds = listPicker->isDataSourceRequiringUniqueIdentifiers;
    setListPickerFormCellView(cell, params);
    const bool byUniqueIds = listPicker->isDataSourceRequiringUniqueIdentifiers;
    // Another selection mode needs another change handler and data source,
    // which only the build road binds.
    if (byUniqueIds != wasByUniqueIds && rebuildRow(*cell)) return;

    auto dataSource = dataSourceOf(*cell);
    // Items of the other form (titles for a row with a data source,
    // dictionaries for one without) need the other road too.
    const core::Array* titles = ParameterHelper::stringArrayIn(params, kPickerItems);
    const bool dictionaries = ParameterHelper::dictionaryArrayIn(params, kPickerItems) != nullptr;
    const bool otherForm = dataSource ? titles && !dictionaries : dictionaries && !titles;
    if (otherForm && rebuildRow(*cell)) return;

    // New items reach the data source before the row's text is built, so
    // the text names the selection among them.
    auto items = ParameterHelper::getParameterAsNSDictionaryArray(params, kPickerItems);
    const bool newItems = items && dataSource;
    if (newItems) dataSource->update(std::move(*items));
    const bool newTitles = titles && !dataSource && !byUniqueIds;
    if (newTitles) cell->valueOptions.share(*params.find(kPickerItems));

    if (!byUniqueIds) {
        if (ParameterHelper::getParameterAsIntArray(params, S::kValue)) {
            const std::vector<int> indexes = selectedIndexes(params);
            if (indexes.empty() || (!dataSource && cell->valueOptions.empty())) {
                showSelection(*cell, std::nullopt);
            } else if (dataSource) {
                showSelection(*cell, dataSource->descriptionForSelectedIndexes(indexes));
            }
            cell->setValue(indexes);
        } else if (newTitles) {
            // The selection is shown by the new titles.
            if (cell->value().empty() || cell->valueOptions.empty()) {
                showSelection(*cell, std::nullopt);
            } else {
                cell->setValue(cell->value());
            }
        }
    } else if (UniqueIdSelection selection = uniqueIdSelection(params); selection.given) {
        if (dataSource) {
            if (selection.items.empty()) {
                dataSource->updateSelectedData(selection.ids);
            } else {
                dataSource->setSelectedItems(selection.items);
            }
        }
        if (selection.ids.empty() && selection.items.empty()) {
            showSelection(*cell, std::nullopt);
        } else if (dataSource) {
            Items shown = selection.items.empty() ? dataSource->selectedItemsForUniqueIdentifiers(selection.ids)
                                                  : selection.items;
            showSelection(*cell, shown.empty()
                                     ? std::nullopt
                                     : std::optional(ListPickerDataSource::descriptionForSelectedItems(shown)));
        }
        cell->uuidValues = std::move(selection.ids);
    }

    if (newItems || newTitles) refreshOpenPicker(cell);
}

}  // namespace trc::formcells
