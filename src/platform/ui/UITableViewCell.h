#pragma once
// A table row's view: a content view holding the row's sub-views, a text
// label, an accessory and a selection style.
//
// A table makes cells from the factory registered under a reuse identifier
// and reuses them for other rows; the cell keeps whatever a configurer set
// on it before (prepareForReuse() does nothing here and subclasses should
// not reset what their configurers own). The instance's reuse identifier is
// cellReuseIdentifier(); cell classes that have a class-level identifier
// declare a static reuseIdentifier(). Main thread only.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/UILabel.h"
#include "platform/ui/UIView.h"

namespace trc::ui {

class UITableViewCell : public UIView {
    TRC_OBJECT(UITableViewCell)
public:
    enum class AccessoryType { None, DisclosureIndicator, DetailDisclosureButton, Checkmark, DetailButton };
    enum class SelectionStyle { None, Blue, Gray, Default };

    UITableViewCell();

    static const std::string& reuseIdentifier() {
        static const std::string identifier = "UITableViewCell";
        return identifier;
    }
    const std::string& cellReuseIdentifier() const { return reuseIdentifier_; }

    std::shared_ptr<UIView> contentView() const { return contentView_; }
    std::shared_ptr<UILabel> textLabel() const { return textLabel_; }
    AccessoryType accessoryType = AccessoryType::None;
    SelectionStyle selectionStyle = SelectionStyle::Default;
    bool isSelected = false;

    // Called by the table before it hands the cell out again.
    virtual void prepareForReuse() {}
    // How many times the table handed this cell out for another row.
    int reuseCount() const { return reuseCount_; }

private:
    friend class UITableView;

    std::string reuseIdentifier_;
    int reuseCount_ = 0;
    // The reuse pool the cell goes back to, found when a table handed it
    // out, and that table's serial: the pool is taken only by that table
    // (a table's pools live as long as it does), others look it up.
    std::uint64_t poolTable_ = 0;
    std::vector<std::shared_ptr<UITableViewCell>>* pool_ = nullptr;
    // That table's count of replaced classes when it made the cell, and when
    // the identifier's class was last replaced (the registration's own): a
    // class registered since takes no cell of the one before.
    std::uint64_t poolClasses_ = 0;
    const std::uint64_t* poolClassSince_ = nullptr;
    // The serial of the table whose rows on screen hold the cell, 0 when
    // none: set whenever a table takes the cell into its rows, cleared as it
    // lets the cell go. A table looks for the cell among its rows only when
    // this names it.
    std::uint64_t shownTable_ = 0;
    std::shared_ptr<UIView> contentView_;
    std::shared_ptr<UILabel> textLabel_;
};

}  // namespace trc::ui
