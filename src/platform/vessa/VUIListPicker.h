#pragma once
// The picker a list picker cell opens: flags, a prompt, its own table (with
// "UITableViewCell" registered) and search bar, and the sources of its
// items. It holds its data source strongly and the search results updater
// and search bar delegate weakly.
//
// The person's entries while it is open: search() (search text, handed to
// the updater), pressSearchButton() (to the search bar delegate) and
// selectRow() (a row as shown; the cell's selection changes through the
// cell, and a single selection may close the picker), deselectPickedItem()
// (an item of the selected section). The picker refers
// to its cell without owning it; a picker whose cell is gone takes no
// selection. Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "platform/core/Object.h"
#include "platform/ui/UIColor.h"
#include "platform/ui/UISearchBar.h"
#include "platform/ui/UITableView.h"
#include "platform/vessa/VUIListPickerDataSource.h"
#include "platform/vessa/VUIListPickerSearchResultsUpdating.h"

namespace trc::ui {
class UISearchBarDelegate;
}

namespace trc::vessa {

class VUIListPickerFormCell;
class VUIListPickerTableViewController;

class VUIListPicker : public core::Object {
    TRC_OBJECT(VUIListPicker)
public:
    VUIListPicker();

    bool isSearchEnabled = false;
    bool isBarcodeScannerEnabled = false;
    bool isDataSourceRequiringUniqueIdentifiers = false;
    bool isSelectedSectionEnabled = false;
    bool isSearchCancelledAfterSelection = false;
    std::optional<std::string> prompt;
    std::optional<ui::UIColor> tintColor;
    std::optional<std::string> searchBarPlaceholderText;

    std::shared_ptr<VUIListPickerDataSource> dataSource() const { return dataSource_; }
    // Another data source knows no search yet, so the search bar is cleared;
    // an open picker shows the new source's rows at once.
    void setDataSource(std::shared_ptr<VUIListPickerDataSource> dataSource);
    std::shared_ptr<VUIListPickerSearchResultsUpdating> searchResultsUpdating() const {
        return searchResultsUpdating_.lock();
    }
    void setSearchResultsUpdating(const std::shared_ptr<VUIListPickerSearchResultsUpdating>& updating) {
        searchResultsUpdating_ = updating;
    }
    std::shared_ptr<ui::UISearchBarDelegate> searchBarDelegate() const { return searchBar_->delegate(); }
    void setSearchBarDelegate(const std::shared_ptr<ui::UISearchBarDelegate>& delegate) {
        searchBar_->setDelegate(delegate);
    }

    std::shared_ptr<ui::UITableView> tableView() const { return tableView_; }
    std::shared_ptr<ui::UISearchBar> searchBar() const { return searchBar_; }
    template <class T>
    void registerClass(const std::string& identifier) {
        tableView_->registerClass<T>(identifier);
    }
    void reloadData();
    int reloadDataCount() const { return reloadDataCount_; }
    // The screen showing the picker while it is open (on a navigation
    // stack), else nullptr.
    std::shared_ptr<VUIListPickerTableViewController> openScreen() const;
    // What opening the picker does first: every opening starts with an empty
    // search bar and the source's whole list (a search left in the bar is
    // taken back through the search results updater, as when a person
    // clears the bar).
    void willOpen();

    // True while a search text is entered: rows are search results.
    bool isFiltered() const { return searchBar_->text && !searchBar_->text->empty(); }
    void search(const std::string& text);
    void pressSearchButton() { searchBar_->pressSearchButton(); }
    bool selectRow(int row);
    // The items picked so far, in the order of the selection (the cell's
    // identifiers or indexes); what the selected section shows.
    int numberOfPickedItems() const;
    // Takes the picked item at that position out of the selection.
    bool deselectPickedItem(int position);

    VUIListPickerFormCell* cell() const { return cell_; }

private:
    friend class VUIListPickerFormCell;

    // After a change of selection: a single selection may close the picker;
    // a picker that stays open shows the new selected section.
    void didChangeSelection(bool single);

    std::shared_ptr<ui::UITableView> tableView_;
    std::shared_ptr<ui::UISearchBar> searchBar_;
    std::shared_ptr<VUIListPickerDataSource> dataSource_;
    std::weak_ptr<VUIListPickerSearchResultsUpdating> searchResultsUpdating_;
    // Set and cleared by the owning cell, which outlives its use here.
    VUIListPickerFormCell* cell_ = nullptr;
    int reloadDataCount_ = 0;
};

}  // namespace trc::vessa
