#pragma once
// What a list picker asks of the source of its items (the picker holds its
// data source strongly). Rows are positions in the source's items; when
// the picker shows search results, isFiltered says so and rows count in
// the results. After a person's pick the cell shows the text its data
// source gives for the new selection. Main thread only.

#include <memory>
#include <optional>
#include <string>
#include <vector>

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
    virtual std::shared_ptr<ui::UITableViewCell> cellForItemWithUniqueIdentifier(
        ui::UITableView& tableView, const std::string& uniqueIdentifier) = 0;
    virtual std::string uniqueIdentifierForItemAt(ui::UITableView& tableView, int index) = 0;
    // -1 when no item has the identifier.
    virtual int indexForUniqueIdentifier(ui::UITableView& tableView, const std::string& uniqueIdentifier) = 0;

    // The text the cell shows for a selection a person made; nullopt leaves
    // the cell's text as it is.
    virtual std::optional<std::string> descriptionOfSelectedIndexes(const std::vector<int>& /*indexes*/) {
        return std::nullopt;
    }
    virtual std::optional<std::string> descriptionOfSelectedUniqueIdentifiers(
        const std::vector<std::string>& /*uniqueIdentifiers*/) {
        return std::nullopt;
    }
};

}  // namespace trc::vessa
