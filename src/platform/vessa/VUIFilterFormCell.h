#pragma once
// The filter (and sorter) cell: a caption above option buttons; value is
// the indexes of the selected options, ascending. A person taps options
// (tapOption) or picks a whole selection (pick); the new selection reaches
// onChangeHandler. With single selection a tap selects only that option;
// a selection that would leave nothing chosen is refused unless
// allowsEmptySelection, as are options that do not exist. Main thread only.

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/TextAssignment.h"
#include "platform/ui/UILabel.h"
#include "platform/vessa/VUIChangeHandler.h"
#include "platform/vessa/VUIInlineValidationTableViewCell.h"
#include "platform/vessa/VUIOptionTitles.h"

namespace trc::vessa {

class VUIFilterFormCell : public VUIInlineValidationTableViewCell {
    TRC_OBJECT(VUIFilterFormCell)
public:
    VUIFilterFormCell();
    static const std::string& reuseIdentifier() {
        static const std::string identifier = "VUIFilterFormCell";
        return identifier;
    }

    const std::optional<std::string>& keyName() const { return keyLabel_->text; }
    void setKeyName(std::optional<std::string_view> name) { setCaption(keyLabel_->text, name); }
    const std::shared_ptr<ui::UILabel>& keyLabel() const { return keyLabel_; }

    VUIOptionTitles valueOptions;
    bool allowsMultipleSelection = false;
    bool allowsEmptySelection = true;
    // As set; the cell does not check what a configurer gives it.
    std::vector<int> value;
    VUIChangeHandler<void(const std::vector<int>&)> onChangeHandler;

    bool tapOption(int index);
    bool pick(std::vector<int> indexes);

private:
    // Takes indexes as the new selection when allowed: they are swapped
    // into value, so indexes is left holding the old selection.
    bool choose(std::vector<int>& indexes);

    std::shared_ptr<ui::UILabel> keyLabel_;
    // The next selection of a tap, built here so a tap allocates nothing.
    std::vector<int> next_;
};

}  // namespace trc::vessa
