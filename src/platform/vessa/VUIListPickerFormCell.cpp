#include "platform/vessa/VUIListPickerFormCell.h"

#include <functional>

#include "platform/core/ClassInfo.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/ui/UINavigationController.h"
#include "platform/ui/UIValues.h"
#include "platform/vessa/VUIListPickerTableViewController.h"

namespace trc::vessa {

const core::ClassInfo& VUIListPickerFormCell::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIListPickerFormCell>("VUIListPickerFormCell",
                                                  VUIInlineValidationTableViewCell::classInfo())
            .constructible()
            .classProperty("reuseIdentifier", [] { return core::Value(reuseIdentifier()); })
            .property("keyName", [](const VUIListPickerFormCell& c) { return ui::textOrNil(c.keyName()); })
            .property("keyLabel", [](const VUIListPickerFormCell& c) { return core::Value(c.keyLabel()); })
            .property("valueLabel", [](const VUIListPickerFormCell& c) { return core::Value(c.valueLabel()); })
            .property("listPicker", [](const VUIListPickerFormCell& c) { return core::Value(c.listPicker()); })
            .property("value", [](const VUIListPickerFormCell& c) { return ui::valueArray(c.value()); })
            .property("uuidValues", [](const VUIListPickerFormCell& c) { return ui::valueArray(c.uuidValues); })
            .property("valueOptions", [](const VUIListPickerFormCell& c) { return c.valueOptions.value(); })
            .property("allowsMultipleSelection",
                      [](const VUIListPickerFormCell& c) { return core::Value(c.allowsMultipleSelection); })
            .property("allowsEmptySelection",
                      [](const VUIListPickerFormCell& c) { return core::Value(c.allowsEmptySelection); })
            .property("isPickerDismissedOnSelection",
                      [](const VUIListPickerFormCell& c) { return core::Value(c.isPickerDismissedOnSelection); })
            .build();
    return info;
}

VUIListPickerFormCell::VUIListPickerFormCell()
    : keyLabel_(std::make_shared<ui::UILabel>()),
      valueLabel_(std::make_shared<ui::UILabel>()),
      listPicker_(std::make_shared<VUIListPicker>()) {
    nuiClass = "VUIListPickerFormCell";
    accessoryType = AccessoryType::DisclosureIndicator;
    contentView()->addSubview(keyLabel_);
    contentView()->addSubview(valueLabel_);
    listPicker_->cell_ = this;
}

VUIListPickerFormCell::~VUIListPickerFormCell() { listPicker_->cell_ = nullptr; }

void VUIListPickerFormCell::setValue(std::span<const int> indexes) {
    // Copied into the room value_ and the label's text have: a reused cell
    // given its new row's selection allocates nothing when it fits.
    const int* begin = value_.data();
    if (std::less_equal<>()(begin, indexes.data()) && std::less<>()(indexes.data(), begin + value_.size())) {
        value_ = std::vector<int>(indexes.begin(), indexes.end());  // a part of value_ itself
    } else {
        value_.assign(indexes.begin(), indexes.end());
    }
    if (valueOptions.empty() || value_.empty()) return;
    std::string& text = valueLabel_->text ? *valueLabel_->text : valueLabel_->text.emplace();
    const auto count = static_cast<int>(valueOptions.size());
    if (value_.size() == 1 && value_[0] >= 0 && value_[0] < count) {
        text.assign(valueOptions[static_cast<std::size_t>(value_[0])]);  // the one chosen title, as a rule
        return;
    }
    text.clear();
    for (int i : value_) {
        if (i < 0 || i >= static_cast<int>(valueOptions.size())) continue;
        if (!text.empty()) text += ", ";
        text += valueOptions[static_cast<std::size_t>(i)];
    }
}

bool VUIListPickerFormCell::selectionAllowed(std::size_t count) const {
    return isEditable() && (allowsMultipleSelection || count <= 1) && (allowsEmptySelection || count > 0);
}

bool VUIListPickerFormCell::pick(std::vector<int> indexes) {
    bool inRange = true;
    if (!listPicker_->dataSource()) {
        for (int i : indexes) inRange = inRange && i >= 0 && i < static_cast<int>(valueOptions.size());
    }
    if (!inRange || !selectionAllowed(indexes.size())) {
        core::SharedLoggerManager::log("vessa", core::Severity::info, "list picker cell: selection refused");
        return false;
    }
    setValue(std::move(indexes));
    if (auto source = listPicker_->dataSource()) {
        if (auto text = source->descriptionOfSelectedIndexes(value_)) valueLabel_->text = std::move(*text);
    }
    fire(onChangeHandler, value_);
    return true;
}

bool VUIListPickerFormCell::pickUniqueIdentifiers(std::vector<std::string> identifiers) {
    if (!selectionAllowed(identifiers.size())) {
        core::SharedLoggerManager::log("vessa", core::Severity::info, "list picker cell: selection refused");
        return false;
    }
    uuidValues = std::move(identifiers);
    if (auto source = listPicker_->dataSource()) {
        if (auto text = source->descriptionOfSelectedUniqueIdentifiers(uuidValues))
            valueLabel_->text = std::move(*text);
    }
    fire(onUuidChangeHandler, uuidValues);
    return true;
}

std::shared_ptr<VUIListPickerTableViewController> VUIListPickerFormCell::openPicker() {
    if (!isEditable()) return nullptr;
    auto shownBy = controller();
    if (!shownBy) return nullptr;
    listPicker_->willOpen();
    auto screen = std::make_shared<VUIListPickerTableViewController>(listPicker_);
    screen->title = keyName();
    if (auto nav = shownBy->navigationController()) {
        nav->pushViewController(screen, true);
    } else {
        shownBy->present(ui::UINavigationController::make(screen), true);
    }
    return screen;
}

std::shared_ptr<VUIListPickerTableViewController> VUIListPickerFormCell::openPickerScreen() const {
    return listPicker_->openScreen();
}

std::shared_ptr<VUIListPicker> VUIListPickerFormCell::detachListPicker() {
    auto detached = std::move(listPicker_);
    detached->cell_ = nullptr;
    listPicker_ = std::make_shared<VUIListPicker>();
    listPicker_->cell_ = this;
    return detached;
}

void VUIListPickerFormCell::attachListPicker(std::shared_ptr<VUIListPicker> listPicker) {
    if (!listPicker || listPicker == listPicker_) return;
    // A picker still held by another cell leaves it.
    if (auto* previous = listPicker->cell_; previous && previous != this) previous->detachListPicker();
    listPicker_->cell_ = nullptr;
    listPicker_ = std::move(listPicker);
    listPicker_->cell_ = this;
}

}  // namespace trc::vessa
