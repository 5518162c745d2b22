#pragma once
// The data source a list picker row gets when its items are the host's
// dictionaries: the picker's rows, search and paging. The list picker step
// owns its content; the factory and the owners reach it only through the two
// operations below (a user's new selection, and the host saying the last page
// arrived). Owned by the picker (strongly) and by the row's change handler.
// Main thread only.

#include <string>
#include <vector>

#include "platform/vessa/VUIListPickerDataSource.h"

namespace trc::formcells {

class ListPickerDataSource : public vessa::VUIListPickerDataSource {
public:
    ~ListPickerDataSource() override = default;

    // The person chose these unique identifiers; keeps the selection in step.
    virtual void updateSelectedData(const std::vector<std::string>& uuidValues) = 0;
    // The host has no more pages: the loading row goes.
    virtual void hideLazyLoadingIndicator() = 0;
};

}  // namespace trc::formcells
