#pragma once
// A framework cell with an inline validation view under its content. The
// message is the validation view's title label text. Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "platform/vessa/VUIBaseTableViewCell.h"
#include "platform/vessa/VUIInlineValidationView.h"

namespace trc::vessa {

class VUIInlineValidationTableViewCell : public VUIBaseTableViewCell {
    TRC_OBJECT(VUIInlineValidationTableViewCell)
public:
    VUIInlineValidationTableViewCell();

    std::optional<std::string> validationMessage() const { return validationView_->titleLabel()->text; }
    void setValidationMessage(std::optional<std::string> message) { validationView_->titleLabel()->text = std::move(message); }
    std::shared_ptr<VUIInlineValidationView> validationView() const { return validationView_; }

private:
    std::shared_ptr<VUIInlineValidationView> validationView_;
};

}  // namespace trc::vessa
