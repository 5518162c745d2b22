#pragma once
// The list picker cell: a caption, the selection as text (valueLabel), and
// the list picker (always present) a person opens to choose. Items are
// either the cell's own titles (valueOptions) or rows of the picker's data
// source. The selection is value (item indexes) or, when the picker's data
// source requires unique identifiers, uuidValues.
//
// The person's entries: openPicker() (what tapping the row does), then
// picking on the picker; or pick() / pickUniqueIdentifiers() for a whole
// selection. A new selection shows (the cell's own titles, or the data
// source's text for it) and then reaches onChangeHandler or
// onUuidChangeHandler. Refused (false, nothing changed): a cell that is not
// editable, several items without multiple selection, nothing without
// empty selection, an index outside the cell's own titles. Main thread only.

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/core/TextAssignment.h"
#include "platform/ui/UILabel.h"
#include "platform/vessa/VUIChangeHandler.h"
#include "platform/vessa/VUIInlineValidationTableViewCell.h"
#include "platform/vessa/VUIListPicker.h"
#include "platform/vessa/VUIOptionTitles.h"

namespace trc::vessa {

class VUIListPickerTableViewController;

class VUIListPickerFormCell : public VUIInlineValidationTableViewCell {
    TRC_OBJECT(VUIListPickerFormCell)
public:
    VUIListPickerFormCell();
    ~VUIListPickerFormCell() override;
    static const std::string& reuseIdentifier() {
        static const std::string identifier = "VUIListPickerFormCell";
        return identifier;
    }

    // The caption, held once: as the key label's text.
    const std::optional<std::string>& keyName() const { return keyLabel_->text; }
    void setKeyName(std::optional<std::string_view> name) { setCaption(keyLabel_->text, name); }
    const std::shared_ptr<ui::UILabel>& keyLabel() const { return keyLabel_; }
    const std::shared_ptr<ui::UILabel>& valueLabel() const { return valueLabel_; }
    // Valid until the picker is detached or another attached.
    const std::shared_ptr<VUIListPicker>& listPicker() const { return listPicker_; }

    bool allowsMultipleSelection = false;
    bool allowsEmptySelection = true;
    bool isPickerDismissedOnSelection = true;

    const std::vector<int>& value() const { return value_; }
    // With the cell's own titles and a selection, also shows the chosen titles.
    void setValue(std::span<const int> indexes);
    std::vector<std::string> uuidValues;
    VUIOptionTitles valueOptions;

    VUIChangeHandler<void(const std::vector<int>&)> onChangeHandler;
    VUIChangeHandler<void(const std::vector<std::string>&)> onUuidChangeHandler;

    // Shows the picker: pushed on the navigation controller of the view
    // controller that shows the cell, else presented in a new one. Nothing
    // (nullptr) when the cell is not editable or not in a view controller.
    std::shared_ptr<VUIListPickerTableViewController> openPicker();
    // The picker's screen while it is open (on a navigation stack), else nullptr.
    std::shared_ptr<VUIListPickerTableViewController> openPickerScreen() const;
    // A row rebuilt into another cell keeps the picker a person has open:
    // detachListPicker hands this cell's picker (and its open screen) out,
    // leaving the cell a new, closed one, and attachListPicker makes a
    // detached picker this cell's. A detached picker takes no selection
    // until a cell attaches it.
    std::shared_ptr<VUIListPicker> detachListPicker();
    void attachListPicker(std::shared_ptr<VUIListPicker> listPicker);
    bool pick(std::vector<int> indexes);
    bool pickUniqueIdentifiers(std::vector<std::string> identifiers);

private:
    bool selectionAllowed(std::size_t count) const;

    std::shared_ptr<ui::UILabel> keyLabel_;
    std::shared_ptr<ui::UILabel> valueLabel_;
    std::shared_ptr<VUIListPicker> listPicker_;
    std::vector<int> value_;
};

}  // namespace trc::vessa
