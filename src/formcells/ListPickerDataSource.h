#pragma once
// Feeds the list picker a list picker row opens when the row's items are
// the host's dictionaries ("PickerItems"): draws the rows (a plain text row
// for a string "DisplayValue", an object row for a dictionary one or, with
// no "DisplayValue", for the whole item), maps rows to unique identifiers
// and back, describes a selection as one line of text, searches and pages.
//
// Two modes, fixed when it is made:
// - a dynamic list (selection by unique identifiers): the host owns the
//   rows, delivers them page by page and answers searches itself. Drawing
//   the last row asks the host for more ("loadMoreItems"); with the loading
//   row on ("DataPaging"/"ShowLoadingIndicator") a placeholder row shows the
//   loading indicator until the host hides it, and it is taken away one
//   second after that (on the main queue's clock). Searches reach the host
//   as "searchUpdated" once the row's Search debounce lets them through.
// - a static collection (selection by indexes): every row is known; a search
//   filters them here, without case, on texts lower-cased once per update.
//
// Owned by the list picker (strongly) and, for a dynamic list, by the row's
// change handler; holds the picker, the host's callback object and the
// picker's table weakly. Main thread only. Nothing a host sends can make it
// fail: rows, positions and identifiers it does not know answer as nothing.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/Object.h"
#include "platform/core/Value.h"
#include "platform/ui/UISearchBarDelegate.h"
#include "platform/vessa/VUIListPickerDataSource.h"
#include "platform/vessa/VUIListPickerSearchResultsUpdating.h"

namespace trc::ui {
class UITableView;
class UITableViewCell;
class UIView;
}  // namespace trc::ui

namespace trc::vessa {
class VUIListPicker;
class VUIListPickerFormCell;
}  // namespace trc::vessa

namespace trc::services {
class Search;
}  // namespace trc::services

namespace trc::formcells {

class ListPickerDataSource : public core::Object,
                             public vessa::VUIListPickerDataSource,
                             public vessa::VUIListPickerSearchResultsUpdating,
                             public ui::UISearchBarDelegate {
    TRC_OBJECT(ListPickerDataSource)
public:
    using Delegate = std::shared_ptr<core::Object>;
    using Items = std::vector<core::Dictionary>;

    // Keys of an item and of the row's "DataPaging".
    static constexpr const char* kUniqueId = "UniqueId";
    static constexpr const char* kDisplayValue = "DisplayValue";
    static constexpr const char* kShowLoadingIndicator = "ShowLoadingIndicator";
    static constexpr const char* kLoadingIndicatorText = "LoadingIndicatorText";
    // The unique identifier of the placeholder row that stands for the loading row.
    static constexpr const char* kPlaceholderUniqueId = "422335566";
    // What the host hears, and what this object answers by name.
    static constexpr const char* kLoadMoreItemsSelector = "loadMoreItems";
    static constexpr const char* kSearchUpdatedSelector = "searchUpdated";
    static constexpr const char* kCallSearchCallbackSelector = "callSearchCallbackWithSender:";
    static constexpr const char* kHideLazyLoadingIndicatorSelector = "hideLazyLoadingIndicator";
    // The texts a search looks at, in this order, and the image keys no
    // lower-cased copy holds.
    static constexpr const char* kSearchKeys[] = {"Title",       "Subhead",    "Footnote",
                                                  "Description", "StatusText", "SubstatusText"};
    static constexpr const char* kImageKeys[] = {"Icons", "DetailImage", "SubstatusImage", "StatusImage"};
    // The loading row's indicator view, in points, and how long after the
    // host hid it the loading row goes, in seconds.
    static constexpr double kLazyLoadingIndicatorHeight = 44.5;
    static constexpr double kLazyLoadingIndicatorTopMargin = 2.0;
    static constexpr double kLazyLoadingIndicatorRemovalDelay = 1.0;
    // The text a row shows with nothing selected: "NoneKey" of the library's
    // "FormCell" strings table, "None" when the table lacks it.
    static constexpr const char* kStringsTable = "FormCell";
    static constexpr const char* kNoneKey = "NoneKey";
    static constexpr const char* kNoneDefault = "None";
    static std::string noneText();

    // A dynamic list; initiallySelectedData are the selected items themselves.
    ListPickerDataSource(const std::shared_ptr<vessa::VUIListPickerFormCell>& cell, Items data,
                         Items initiallySelectedData, const Delegate& delegate,
                         std::shared_ptr<services::Search> search);
    // A static collection; initiallySelectedIndexes are positions in data.
    ListPickerDataSource(const std::shared_ptr<vessa::VUIListPickerFormCell>& cell, Items data,
                         std::vector<int> initiallySelectedIndexes, const Delegate& delegate,
                         std::shared_ptr<services::Search> search);
    ~ListPickerDataSource() override;

    // The row's "DataPaging": "ShowLoadingIndicator" and "LoadingIndicatorText";
    // absent keys and values of another kind change nothing.
    void setDataPagingData(const core::Dictionary& data);
    // New rows from the host: paging starts over, a pending loading row is
    // forgotten, and a static collection filters them by its search at once.
    void update(Items data);
    // The host has no more rows: no further request, and the loading row
    // goes one second later.
    void hideLazyLoadingIndicator();
    // The person's new selection: the remembered selected items follow it,
    // keeping what is known of items the rows no longer hold.
    void updateSelectedData(const std::vector<std::string>& uuidValues);
    // The host's new selection, given as the items themselves, as the
    // initializer takes it.
    void setSelectedItems(const Items& items);
    // The items with these unique identifiers, looked up in the remembered
    // selection first, then in the rows; unknown identifiers are left out.
    Items selectedItemsForUniqueIdentifiers(const std::vector<std::string>& uuidValues) const;

    // One line of text for a selection given as items, or as positions in
    // the rows (taken in row order, whatever their order here).
    static std::string descriptionForSelectedItems(const Items& items);
    std::string descriptionForSelectedIndexes(const std::vector<int>& indexes) const;

    // The debounce timer fired: the host hears "searchUpdated" with its text.
    void callSearchCallback(const core::Value& sender);

    // The list picker's questions.
    int numberOfRowsIn(ui::UITableView& tableView) override;
    std::shared_ptr<ui::UITableViewCell> cellForRowAt(ui::UITableView& tableView, int row, bool isFiltered) override;
    std::shared_ptr<ui::UITableViewCell> cellForItemWithUniqueIdentifier(ui::UITableView& tableView,
                                                                         const std::string& uniqueIdentifier) override;
    std::string uniqueIdentifierForItemAt(ui::UITableView& tableView, int index) override;
    int indexForUniqueIdentifier(ui::UITableView& tableView, const std::string& uniqueIdentifier) override;
    std::optional<std::string> descriptionOfSelectedIndexes(const std::vector<int>& indexes) override;
    std::optional<std::string> descriptionOfSelectedUniqueIdentifiers(
        const std::vector<std::string>& uniqueIdentifiers) override;
    void updateSearchResults(vessa::VUIListPicker& listPicker, const std::string& searchText) override;
    bool filteredDataSourceContainsItemWithUniqueIdentifier(vessa::VUIListPicker& listPicker,
                                                            const std::string& uniqueIdentifier) override;
    bool filteredDataSourceContainsItemAt(vessa::VUIListPicker& listPicker, int index) override;
    int unfilteredDataSourceIndexOfItemAt(vessa::VUIListPicker& listPicker, int row) override;
    void searchBarSearchButtonClicked(ui::UISearchBar& searchBar) override;

    // State, for the owner and for checks.
    const std::string& name() const { return name_; }
    const Items& data() const { return data_; }
    const Items& selectedData() const { return selectedData_; }
    const std::vector<int>& selectedIndexes() const { return selectedIndexes_; }
    bool isStaticCollection() const { return isStaticCollection_; }
    const std::string& effectiveSearchString() const { return effectiveSearchString_; }
    const std::vector<int>& indexesOfFilteredChoices() const { return indexesOfFilteredChoices_; }
    bool isLazyLoadingIndicatorEnabled() const { return isLazyLoadingIndicatorEnabled_; }
    const std::string& lazyLoadingIndicatorText() const { return lazyLoadingIndicatorText_; }
    int lazyLoadingIndicatorIndex() const { return lazyLoadingIndicatorIndex_; }
    bool indicatorBindingEnabled() const { return indicatorBindingEnabled_; }
    bool allDataLoaded() const { return allDataLoaded_; }
    // True while the rows end with the placeholder of the loading row.
    bool hasPlaceholderRow() const { return placeholderAppended_; }
    const std::shared_ptr<services::Search>& search() const { return search_; }

private:
    // A static collection's searchable texts of one row, lower-cased, with
    // the row's own position (two rows with the same texts stay apart).
    struct SearchableRow {
        int position = 0;
        std::vector<std::string> texts;
    };

    ListPickerDataSource(const std::shared_ptr<vessa::VUIListPickerFormCell>& cell, const Delegate& delegate,
                         std::shared_ptr<services::Search> search, bool isStaticCollection);

    void updateData(Items data);
    std::vector<int> matchingPositions(const std::string& searchText) const;
    void staticSearch(const std::string& searchText, vessa::VUIListPicker& listPicker);
    void sendLoadMoreItems();
    void appendPlaceholderRow(ui::UITableView& tableView);
    std::shared_ptr<ui::UITableViewCell> loadingRowCell(ui::UITableView& tableView, int row);
    void removeLoadingRow();
    void forgetLoadingRow();
    bool isPlaceholderPosition(int position) const;
    // The first row (the placeholder aside) with the unique identifier, or -1.
    int positionOf(const std::string& uniqueIdentifier) const;
    std::shared_ptr<ui::UITableViewCell> cellForItem(ui::UITableView& tableView, const core::Dictionary& item) const;

    std::string name_;
    Items data_;
    std::vector<SearchableRow> searchableRows_;
    Items selectedData_;
    std::vector<int> selectedIndexes_;
    bool isStaticCollection_ = false;
    std::string effectiveSearchString_;
    std::vector<int> indexesOfFilteredChoices_;
    std::weak_ptr<core::Object> delegate_;
    std::weak_ptr<vessa::VUIListPicker> listPicker_;
    bool isLazyLoadingIndicatorEnabled_ = false;
    std::string lazyLoadingIndicatorText_;
    int lazyLoadingIndicatorIndex_ = -1;
    bool indicatorBindingEnabled_ = false;
    std::weak_ptr<ui::UITableView> listPickerTableView_;
    bool allDataLoaded_ = false;
    bool placeholderAppended_ = false;
    // Counts the host's row lists: a removal asked for under one list never
    // takes a row of the next (its last row is a real one, or the
    // placeholder of a page still loading).
    std::uint64_t rowsGeneration_ = 0;
    std::shared_ptr<ui::UITableViewCell> lazyLoadingIndicatorCell_;
    std::weak_ptr<ui::UIView> lazyLoadingIndicatorView_;
    std::shared_ptr<services::Search> search_;
};

}  // namespace trc::formcells
