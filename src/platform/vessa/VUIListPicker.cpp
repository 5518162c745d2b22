#include "platform/vessa/VUIListPicker.h"

#include <algorithm>

#include "platform/core/ClassInfo.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UIValues.h"
#include "platform/vessa/VUIListPickerFormCell.h"
#include "platform/vessa/VUIListPickerTableViewController.h"

namespace trc::vessa {

const core::ClassInfo& VUIListPicker::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIListPicker>("VUIListPicker", core::Object::classInfo())
            .constructible()
            .property("isSearchEnabled", [](const VUIListPicker& p) { return core::Value(p.isSearchEnabled); })
            .property("isBarcodeScannerEnabled",
                      [](const VUIListPicker& p) { return core::Value(p.isBarcodeScannerEnabled); })
            .property("isDataSourceRequiringUniqueIdentifiers",
                      [](const VUIListPicker& p) { return core::Value(p.isDataSourceRequiringUniqueIdentifiers); })
            .property("isSelectedSectionEnabled",
                      [](const VUIListPicker& p) { return core::Value(p.isSelectedSectionEnabled); })
            .property("isSearchCancelledAfterSelection",
                      [](const VUIListPicker& p) { return core::Value(p.isSearchCancelledAfterSelection); })
            .property("prompt", [](const VUIListPicker& p) { return ui::textOrNil(p.prompt); })
            .property("searchBarPlaceholderText",
                      [](const VUIListPicker& p) { return ui::textOrNil(p.searchBarPlaceholderText); })
            .property("tintColor",
                      [](const VUIListPicker& p) {
                          return p.tintColor ? core::Value(p.tintColor->hexString()) : core::Value();
                      })
            .property("reloadDataCount", [](const VUIListPicker& p) { return core::Value(p.reloadDataCount()); })
            .property("searchBar", [](const VUIListPicker& p) { return core::Value(p.searchBar()); })
            // The data source as a host object when it is one (else nil).
            .property("dataSource",
                      [](const VUIListPicker& p) {
                          return ui::objectOrNil(std::dynamic_pointer_cast<core::Object>(p.dataSource()));
                      })
            .build();
    return info;
}

VUIListPicker::VUIListPicker()
    : tableView_(std::make_shared<ui::UITableView>()), searchBar_(std::make_shared<ui::UISearchBar>()) {
    tableView_->registerClass<ui::UITableViewCell>("UITableViewCell");
}

void VUIListPicker::reloadData() {
    ++reloadDataCount_;
    tableView_->reloadData();
}

void VUIListPicker::setDataSource(std::shared_ptr<VUIListPickerDataSource> dataSource) {
    if (dataSource == dataSource_) return;
    dataSource_ = std::move(dataSource);
    searchBar_->text.reset();
    // A closed picker's table starts over when it opens next.
    if (openScreen()) tableView_->reloadData();
}

std::shared_ptr<VUIListPickerTableViewController> VUIListPicker::openScreen() const {
    auto screen = std::dynamic_pointer_cast<VUIListPickerTableViewController>(tableView_->owningViewController());
    return screen && screen->navigationController() ? screen : nullptr;
}

void VUIListPicker::willOpen() {
    if (!isFiltered()) return;
    searchBar_->text.reset();
    if (auto updating = searchResultsUpdating()) updating->updateSearchResults(*this, std::string());
}

void VUIListPicker::search(const std::string& text) {
    searchBar_->enterText(text);
    if (auto updating = searchResultsUpdating()) updating->updateSearchResults(*this, text);
}

bool VUIListPicker::selectRow(int row) {
    if (!cell_ || row < 0) return false;
    bool filtered = isFiltered();
    auto updating = searchResultsUpdating();
    int index = filtered && updating ? updating->unfilteredDataSourceIndexOfItemAt(*this, row) : row;
    // A shown row that stands for no item (the results changed under it) selects nothing.
    if (index < 0) return false;
    bool single = !cell_->allowsMultipleSelection;
    bool done = false;
    if (isDataSourceRequiringUniqueIdentifiers) {
        if (!dataSource_) return false;
        std::string id = dataSource_->uniqueIdentifierForItemAt(*tableView_, index);
        if (id.empty()) return false;
        // Asking lets the source remember an item chosen among search results.
        if (filtered && updating) updating->filteredDataSourceContainsItemWithUniqueIdentifier(*this, id);
        std::vector<std::string> ids = cell_->uuidValues;
        auto it = std::find(ids.begin(), ids.end(), id);
        if (single) {
            ids = {id};
        } else if (it != ids.end()) {
            ids.erase(it);
        } else {
            ids.push_back(id);
        }
        done = cell_->pickUniqueIdentifiers(std::move(ids));
    } else {
        std::vector<int> indexes = cell_->value();
        auto it = std::find(indexes.begin(), indexes.end(), index);
        if (single) {
            indexes = {index};
        } else if (it != indexes.end()) {
            indexes.erase(it);
        } else {
            indexes.push_back(index);
        }
        done = cell_->pick(std::move(indexes));
    }
    if (done) didChangeSelection(single);
    return done;
}

int VUIListPicker::numberOfPickedItems() const {
    if (!cell_) return 0;
    return static_cast<int>(isDataSourceRequiringUniqueIdentifiers ? cell_->uuidValues.size() : cell_->value().size());
}

bool VUIListPicker::deselectPickedItem(int position) {
    if (!cell_ || position < 0 || position >= numberOfPickedItems()) return false;
    const auto at = static_cast<std::size_t>(position);
    bool done = false;
    if (isDataSourceRequiringUniqueIdentifiers) {
        std::vector<std::string> ids = cell_->uuidValues;
        ids.erase(ids.begin() + static_cast<std::ptrdiff_t>(at));
        done = cell_->pickUniqueIdentifiers(std::move(ids));
    } else {
        std::vector<int> indexes = cell_->value();
        indexes.erase(indexes.begin() + static_cast<std::ptrdiff_t>(at));
        done = cell_->pick(std::move(indexes));
    }
    if (done) didChangeSelection(false);
    return done;
}

void VUIListPicker::didChangeSelection(bool single) {
    auto screen = std::dynamic_pointer_cast<VUIListPickerTableViewController>(tableView_->owningViewController());
    if (single && cell_ && cell_->isPickerDismissedOnSelection) {
        // Close the picker's screen when it is the one on top of its navigation stack.
        if (auto nav = screen ? screen->navigationController() : nullptr; nav && nav->topViewController() == screen) {
            if (nav->viewControllers().size() > 1) {
                nav->popViewController(true);
            } else {
                nav->dismiss(true);
            }
            return;
        }
    }
    if (isSelectedSectionEnabled && screen) tableView_->reloadData();
}

}  // namespace trc::vessa
