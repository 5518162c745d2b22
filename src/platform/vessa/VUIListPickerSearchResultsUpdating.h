#pragma once
// What a list picker asks of whoever searches its items. Held weakly by
// the picker; main thread only.

#include <string>

namespace trc::vessa {

class VUIListPicker;

class VUIListPickerSearchResultsUpdating {
public:
    virtual ~VUIListPickerSearchResultsUpdating() = default;

    virtual void updateSearchResults(VUIListPicker& listPicker, const std::string& searchText) = 0;
    virtual bool filteredDataSourceContainsItemWithUniqueIdentifier(VUIListPicker& listPicker,
                                                                    const std::string& uniqueIdentifier) = 0;
    virtual bool filteredDataSourceContainsItemAt(VUIListPicker& listPicker, int index) = 0;
    virtual int unfilteredDataSourceIndexOfItemAt(VUIListPicker& listPicker, int row) = 0;
};

}  // namespace trc::vessa
