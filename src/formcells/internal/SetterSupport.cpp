#include "formcells/internal/SetterSupport.h"

#include <limits>

#include "platform/core/SharedLoggerManager.h"
#include "platform/ui/UIView.h"
#include "platform/vessa/VUIBaseTableViewCell.h"
#include "services/ParameterHelper.h"

namespace trc::formcells::internal {

using services::ParameterHelper;

const std::string* SetterSupport::styleClass(const core::Dictionary& styles, std::string_view key) {
    const core::Value* v = styles.find(key);
    return v ? v->ifString() : nullptr;
}

void SetterSupport::applyNamedStyleClass(const core::Dictionary& styles, std::string_view key, ui::UIView& view) {
    if (const std::string* name = styleClass(styles, key)) view.nuiClass = *name;
}

void SetterSupport::applyEditable(const Params& params, vessa::VUIBaseTableViewCell& cell) {
    if (auto editable = ParameterHelper::getParameterAsBool(params, kIsEditable)) cell.setEditable(*editable);
}

std::optional<int> SetterSupport::readInt(const Params& params, std::string_view key, int minimum) {
    auto n = ParameterHelper::getParameterAsInt(params, key);
    if (!n) return std::nullopt;
    if (*n < minimum || *n > std::numeric_limits<int>::max()) {
        warn("form cell: \"" + std::string(key) + "\" " + std::to_string(*n) + " is out of range; ignored");
        return std::nullopt;
    }
    return static_cast<int>(*n);
}

std::optional<std::string> SetterSupport::rowName(const Params& params) {
    const core::Value* name = params.find(FormCellKeys::kName);
    const std::string* text = name ? name->ifString() : nullptr;
    return text ? std::optional<std::string>(*text) : std::nullopt;
}

void SetterSupport::warn(const std::string& message) {
    core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn, message);
}

}  // namespace trc::formcells::internal
