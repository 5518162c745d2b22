#include "formcells/internal/SetterSupport.h"

#include <algorithm>
#include <limits>

#include "platform/core/SharedLoggerManager.h"
#include "platform/ui/UIView.h"
#include "platform/vessa/VUIBaseTableViewCell.h"
#include "services/ParameterHelper.h"

namespace trc::formcells::internal {

using services::ParameterHelper;

namespace {

const core::Dictionary& noStyles() {
    static const core::Dictionary none;
    return none;
}

}  // namespace

const core::Dictionary& SetterSupport::styles(const Params& params) {
    const core::Dictionary* styles = ParameterHelper::dictionaryIn(params, kStyles);
    return styles ? *styles : noStyles();
}

const std::string* SetterSupport::styleClass(const core::Dictionary& styles, std::string_view key) {
    const core::Value* v = styles.find(key);
    return v ? v->ifString() : nullptr;
}

void SetterSupport::applyStyleClass(const core::Dictionary& styles, std::string_view key, ui::UIView& view) {
    if (styles.empty()) return;
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

namespace {

// Strings a shorter list gave back, kept with their room for the next
// longer one: reused cells go from list to list of every length, and a
// string destroyed on one row would be made again on the next. Main thread
// only, like the cells; a few are kept, not every string ever shown.
constexpr std::size_t kMaxSpareStrings = 1024;
// The room a string gets when it has to grow: most texts of a list fit in
// it, so a string going from text to text grows once, not at each longer one.
constexpr std::size_t kStringRoom = 64;
std::vector<std::string>& spareStrings() {
    static std::vector<std::string> spare;
    return spare;
}

}  // namespace

void SetterSupport::assignStrings(const core::Array& list, std::vector<std::string>& out) {
    std::vector<std::string>& spare = spareStrings();
    for (; out.size() > list.size(); out.pop_back()) {
        if (spare.size() < kMaxSpareStrings) spare.push_back(std::move(out.back()));
    }
    for (; out.size() < list.size(); spare.pop_back()) {
        if (spare.empty()) {
            out.resize(list.size());
            break;
        }
        out.push_back(std::move(spare.back()));
    }
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string& text = *list[i].ifString();
        std::string& slot = out[i];
        if (slot.capacity() < text.size()) slot.reserve(std::max(text.size(), kStringRoom));
        slot = text;
    }
}

void SetterSupport::reserveStrings(std::vector<std::string>& out, std::size_t count) {
    if (out.capacity() != 0) return;
    out.reserve(count);
    std::vector<std::string>& spare = spareStrings();
    for (std::size_t i = 0; i < count && spare.size() < kMaxSpareStrings; ++i) {
        spare.emplace_back().reserve(kStringRoom);
    }
}

void SetterSupport::dropEmptyStrings(std::vector<std::string>& out) {
    auto kept = std::remove_if(out.begin(), out.end(), [](const std::string& s) { return s.empty(); });
    std::vector<std::string>& spare = spareStrings();
    for (auto n = out.end() - kept; n > 0; --n, out.pop_back()) {
        if (spare.size() < kMaxSpareStrings) spare.push_back(std::move(out.back()));
    }
}

void SetterSupport::warn(const std::string& message) {
    core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn, message);
}

}  // namespace trc::formcells::internal
