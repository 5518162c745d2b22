#pragma once
// The data source a list picker row gets when its items are the host's
// dictionaries: the picker's rows, search and paging. The list picker step
// owns its content; the factory reaches it only to report a person's new
// selection (the owners tell it that the last page arrived through the
// selector "hideLazyLoadingIndicator", see FormCellRefresh). Owned by the
// picker (strongly) and by the row's change handler. Main thread only.

#include <string>
#include <vector>

#include "platform/vessa/VUIListPickerDataSource.h"

namespace trc::formcells {

class ListPickerDataSource : public vessa::VUIListPickerDataSource {
public:
    ~ListPickerDataSource() override = default;

    // The person chose these unique identifiers; keeps the selection in step.
    virtual void updateSelectedData(const std::vector<std::string>& uuidValues) = 0;
};

}  // namespace trc::formcells
