#pragma once
// The inline validation view a form cell shows under its content, and the
// message it carries (the view's title label text). Both validation cell
// bases mix this in next to their own cell base, so the owners can keep
// telling the two apart by class while the validation behaviour stays in one
// place. The cell owns the holder; the cell adds the view as its subview.
// Main thread only.

#include <memory>
#include <optional>
#include <string>

#include "platform/core/ClassInfo.h"
#include "platform/core/TextAssignment.h"
#include "platform/ui/UIValues.h"
#include "platform/vessa/VUIInlineValidationView.h"

namespace trc::vessa {

class VUIInlineValidationHolder {
public:
    VUIInlineValidationHolder();

    std::optional<std::string> validationMessage() const { return validationView_->titleLabel()->text; }
    void setValidationMessage(std::optional<std::string_view> message) {
        core::assignText(validationView_->titleLabel()->text, message);
    }
    const std::shared_ptr<VUIInlineValidationView>& validationView() const { return validationView_; }

    // Adds the properties the host reads from any validation cell.
    template <class Cell>
    static core::ClassBuilder<Cell>& describe(core::ClassBuilder<Cell>& builder) {
        return builder.property("validationMessage", [](const Cell& c) { return ui::textOrNil(c.validationMessage()); })
            .property("validationView", [](const Cell& c) { return core::Value(c.validationView()); });
    }

protected:
    ~VUIInlineValidationHolder() = default;

private:
    std::shared_ptr<VUIInlineValidationView> validationView_;
};

}  // namespace trc::vessa
