// The button row: a titled button whose tap the factory reports; the row
// holds no value of its own.

#include <string_view>

#include "formcells/FormCellSetters.h"
#include "formcells/internal/SetterSupport.h"
#include "platform/vessa/VUIButton.h"
#include "platform/vessa/VUIButtonFormCell.h"
#include "platform/vessa/VUIHorizontalAlignment.h"
#include "services/ParameterHelper.h"

namespace trc::formcells {

namespace {

using services::ParameterHelper;
using S = internal::SetterSupport;

constexpr std::string_view kTextAlignment = "TextAlignment";
constexpr std::string_view kTitle = "Title";

}  // namespace

void FormCellSetters::setButtonFormCellView(const std::shared_ptr<vessa::VUIButtonFormCell>& cell,
                                            const Params& params) {
    if (!cell) return;
    auto button = cell->button();
    if (auto name = ParameterHelper::textIn(params, kTextAlignment)) {
        if (auto alignment = vessa::horizontalAlignmentFromString(*name)) cell->alignment = *alignment;
    }
    if (auto title = ParameterHelper::textIn(params, kTitle); title && button) {
        button->setTitle(*title, ui::UIControl::State::Normal);
    }
    const core::Dictionary& styles = S::styles(params);
    S::applyStyleClass(styles, S::kBackground, *cell);
    if (auto label = button ? button->titleLabel() : nullptr) S::applyStyleClass(styles, S::kValue, *label);
}

}  // namespace trc::formcells
