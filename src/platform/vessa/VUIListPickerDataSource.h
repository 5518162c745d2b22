#pragma once
// What a list picker asks of the source of its items (the picker holds its
// data source strongly). Rows are positions in the source's items; when
// the picker shows search results, isFiltered says so and rows count in
// the results. Main thread only.

#include <memory>
#include <string>

namespace trc::ui {
class UITableView;
class UITableViewCell;
}  // namespace trc::ui

namespace trc::vessa {

class VUIListPickerDataSource {
public:
    virtual ~VUIListPickerDataSource() = default;

    virtual int numberOfRowsIn(ui::UITableView& tableView) = 0;
    virtual std::shared_ptr<ui::UITableViewCell> cellForRowAt(ui::UITableView& tableView, int row, bool isFiltered) = 0;
    virtual std::shared_ptr<ui::UITableViewCell> cellForItemWithUniqueIdentifier(ui::UITableView& tableView,
                                                                                 const std::string& uniqueIdentifier) = 0;
    virtual std::string uniqueIdentifierForItemAt(ui::UITableView& tableView, int index) = 0;
    // -1 when no item has the identifier.
    virtual int indexForUniqueIdentifier(ui::UITableView& tableView, const std::string& uniqueIdentifier) = 0;
};

}  // namespace trc::vessa
