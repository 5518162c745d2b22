#include "platform/vessa/VUIFilterFormCell.h"

#include <algorithm>

#include "platform/core/ClassInfo.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/ui/UIValues.h"

namespace trc::vessa {

const core::ClassInfo& VUIFilterFormCell::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIFilterFormCell>("VUIFilterFormCell", VUIInlineValidationTableViewCell::classInfo())
            .constructible()
            .classProperty("reuseIdentifier", [] { return core::Value(reuseIdentifier()); })
            .property("keyName", [](const VUIFilterFormCell& c) { return ui::textOrNil(c.keyName()); })
            .property("keyLabel", [](const VUIFilterFormCell& c) { return core::Value(c.keyLabel()); })
            .property("valueOptions", [](const VUIFilterFormCell& c) { return c.valueOptions.value(); })
            .property("value", [](const VUIFilterFormCell& c) { return ui::valueArray(c.value); })
            .property("allowsMultipleSelection",
                      [](const VUIFilterFormCell& c) { return core::Value(c.allowsMultipleSelection); })
            .property("allowsEmptySelection",
                      [](const VUIFilterFormCell& c) { return core::Value(c.allowsEmptySelection); })
            .build();
    return info;
}

VUIFilterFormCell::VUIFilterFormCell() : keyLabel_(std::make_shared<ui::UILabel>()) {
    nuiClass = "VUIFilterFormCell";
    contentView()->addSubview(keyLabel_);
}

bool VUIFilterFormCell::tapOption(int index) {
    next_ = value;
    auto it = std::find(next_.begin(), next_.end(), index);
    if (it != next_.end()) {
        next_.erase(it);
        if (!allowsMultipleSelection) next_.clear();
    } else if (allowsMultipleSelection) {
        next_.push_back(index);
    } else {
        next_.assign(1, index);
    }
    return choose(next_);
}

bool VUIFilterFormCell::pick(std::vector<int> indexes) { return choose(indexes); }

bool VUIFilterFormCell::choose(std::vector<int>& indexes) {
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    const int count = static_cast<int>(valueOptions.size());
    bool inRange = std::all_of(indexes.begin(), indexes.end(), [count](int i) { return i >= 0 && i < count; });
    bool allowed = isEditable() && inRange && (allowsMultipleSelection || indexes.size() <= 1) &&
                   (allowsEmptySelection || !indexes.empty());
    if (!allowed) {
        core::SharedLoggerManager::log("vessa", core::Severity::info, "filter cell: selection refused");
        return false;
    }
    value.swap(indexes);
    fire(onChangeHandler, value);
    return true;
}

}  // namespace trc::vessa
