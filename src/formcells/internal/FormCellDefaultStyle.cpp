#include "formcells/internal/FormCellDefaultStyle.h"

#include <algorithm>

#include "formcells/internal/SetterSupport.h"
#include "platform/core/ProcessState.h"
#include "platform/ui/UIView.h"

namespace trc::formcells::internal {

namespace {

// An empty class name is a view without a class.
std::optional<std::string> classOf(const ui::UIView& view) {
    return view.nuiClass.empty() ? std::nullopt : std::optional<std::string>(view.nuiClass);
}

// The row's class, else the recorded default, else none. A reused cell
// mostly has that class already: comparing costs less than copying it again.
[[gnu::always_inline]] inline void assignClass(std::string& target, const std::string* given,
                                               const std::optional<std::string>& recorded) {
    const std::string* wanted = given ? given : recorded ? &*recorded : nullptr;
    if (!wanted) {
        target.clear();
    } else if (target != *wanted) {
        target = *wanted;
    }
}

// The row's class under key; most rows name no style, and an empty
// dictionary needs no look-up.
const std::string* styleClassIn(const core::Dictionary& styles, std::string_view key) {
    return styles.empty() ? nullptr : SetterSupport::styleClass(styles, key);
}

}  // namespace

FormCellDefaultStyle::FormCellDefaultStyle(std::string_view innerKey, const std::string& name) : innerKey_(innerKey) {
    core::ProcessState::registerReset(name, [this] { reset(); });
}

void FormCellDefaultStyle::recordOnce(const ui::UIView& cell, const std::vector<vessa::VessaStyle>& captionPath,
                                      const ui::UIView& inner) {
    if (isSet_) return;
    background_ = classOf(cell);
    caption_ = captionPath;
    inner_ = classOf(inner);
    isSet_ = true;
}

void FormCellDefaultStyle::apply(const core::Dictionary& styles, ui::UIView& cell,
                                 std::vector<vessa::VessaStyle>& captionPath, ui::UIView& inner) const {
    // Assigned in place: a reused cell keeps the room its classes had.
    assignClass(cell.nuiClass, styleClassIn(styles, SetterSupport::kBackground), background_);
    // A reused cell mostly has the recorded path already, perhaps with its
    // last row's own class after it: then it is cut back, not copied anew.
    const bool recordedFirst =
        captionPath.size() >= caption_.size() && std::equal(caption_.begin(), caption_.end(), captionPath.begin());
    if (recordedFirst) {
        captionPath.resize(caption_.size());
    } else {
        captionPath = caption_;
    }
    if (const std::string* caption = styleClassIn(styles, SetterSupport::kCaption)) {
        captionPath.push_back(vessa::VessaStyle{*caption});
    }
    assignClass(inner.nuiClass, styleClassIn(styles, innerKey_), inner_);
}

void FormCellDefaultStyle::reset() {
    isSet_ = false;
    background_.reset();
    caption_.clear();
    inner_.reset();
}

}  // namespace trc::formcells::internal
