#include "formcells/internal/SetterSupport.h"

#include <limits>

#include "platform/ui/UIView.h"
#include "platform/vessa/VUIBaseTableViewCell.h"
#include "services/ParameterHelper.h"
#include "services/SharedLoggerManager.h"

namespace trc::formcells {

using services::ParameterHelper;

core::Dictionary SetterSupport::styles(const Params& params) {
    return ParameterHelper::getParameterAsDictionary(params, kStyles).value_or(core::Dictionary());
}

std::optional<std::string> SetterSupport::styleClass(const core::Dictionary& styles, std::string_view key) {
    const core::Value* v = styles.find(key);
    const std::string* name = v ? v->ifString() : nullptr;
    return name ? std::optional<std::string>(*name) : std::nullopt;
}

void SetterSupport::applyStyleClass(const core::Dictionary& styles, std::string_view key, ui::UIView& view) {
    if (auto name = styleClass(styles, key)) view.nuiClass = std::move(*name);
}

void SetterSupport::applyEditable(const Params& params, vessa::VUIBaseTableViewCell& cell) {
    if (auto editable = ParameterHelper::getParameterAsBool(params, kIsEditable)) cell.setEditable(*editable);
}

std::optional<int> SetterSupport::intParameter(const Params& params, std::string_view key, int minimum) {
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

void SetterSupport::warn(const std::string& message) { services::SharedLoggerManager::log(kLogger, "warn", message); }

}  // namespace trc::formcells
