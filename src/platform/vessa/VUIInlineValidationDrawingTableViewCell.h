#pragma once
// A drawing cell with an inline validation view, like
// VUIInlineValidationTableViewCell (the two do not derive from each other).
// Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "platform/vessa/VUIBaseDrawingTableViewCell.h"
#include "platform/vessa/VUIInlineValidationView.h"

namespace trc::vessa {

class VUIInlineValidationDrawingTableViewCell : public VUIBaseDrawingTableViewCell {
    TRC_OBJECT(VUIInlineValidationDrawingTableViewCell)
public:
    VUIInlineValidationDrawingTableViewCell();

    std::optional<std::string> validationMessage() const { return validationView_->titleLabel()->text; }
    void setValidationMessage(std::optional<std::string> message) { validationView_->titleLabel()->text = std::move(message); }
    std::shared_ptr<VUIInlineValidationView> validationView() const { return validationView_; }

private:
    std::shared_ptr<VUIInlineValidationView> validationView_;
};

}  // namespace trc::vessa
