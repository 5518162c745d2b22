#pragma once
// The multi-line note cell: an editable text (value) in valueTextView,
// a placeholder component and line limits. Edits reach onChangeHandler as
// for VUITitleFormCell. The inner drawing view forwards focus to the text
// view. Main thread only.

#include <functional>
#include <memory>
#include <string>

#include "platform/core/TextAssignment.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UITextView.h"
#include "platform/vessa/VUIChangeHandler.h"
#include "platform/vessa/VUIInlineValidationDrawingTableViewCell.h"
#include "platform/vessa/VUITextChangeTracker.h"

namespace trc::vessa {

class VUINoteFormCell : public VUIInlineValidationDrawingTableViewCell {
    TRC_OBJECT(VUINoteFormCell)
public:
    VUINoteFormCell();
    static const std::string& reuseIdentifier() {
        static const std::string identifier = "VUINoteFormCell";
        return identifier;
    }

    const std::string& value() const { return valueTextView_->text; }
    void setValue(std::string_view value) { core::assignText(valueTextView_->text, value); }
    const std::shared_ptr<ui::UITextView>& valueTextView() const { return valueTextView_; }
    const std::shared_ptr<ui::UILabel>& placeholder() const { return placeholder_; }

    int minNumberOfLines = 1;
    int maxNumberOfLines = 2;
    VUIChangeHandler<void(const std::string&)> onChangeHandler;

    bool type(const std::string& characters) { return valueTextView_->type(characters); }
    bool enterValue(const std::string& text) { return valueTextView_->enterText(text); }

protected:
    void editableDidChange() override { valueTextView_->isEditable = isEditable(); }

private:
    std::shared_ptr<ui::UITextView> valueTextView_;
    std::shared_ptr<ui::UILabel> placeholder_;
    VUITextChangeTracker tracker_;
};

}  // namespace trc::vessa
