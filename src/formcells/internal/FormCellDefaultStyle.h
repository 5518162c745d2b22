#pragma once
// The style classes a kind of cell had before any host style touched it,
// recorded from the first cell of that kind configured in the process and
// then fixed. A reused cell gets them back when its new row names no style
// of its own, so no row's styles leak into another row.
//
// A cell has three styled parts: the cell itself ("Background"), its
// caption's style class path ("Caption") and one inner view, named by the
// kind ("Value" for a text field, "Switch" for a switch). The caption path
// is always the recorded path plus the row's own caption class, so it never
// grows however often a cell is configured.
//
// One instance per kind, a static of that kind's setters, which registers
// itself to be reset with the process state. Main thread only.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Dictionary.h"
#include "platform/vessa/VessaStyle.h"

namespace trc::ui {
class UIView;
}  // namespace trc::ui

namespace trc::formcells::internal {

class FormCellDefaultStyle {
public:
    // innerKey names the inner view's entry in "Styles"; name is the
    // instance's name among the process state's resets.
    FormCellDefaultStyle(std::string_view innerKey, const std::string& name);
    FormCellDefaultStyle(const FormCellDefaultStyle&) = delete;
    FormCellDefaultStyle& operator=(const FormCellDefaultStyle&) = delete;

    bool isSet() const { return isSet_; }
    // Records the cell's classes unless an earlier cell was recorded.
    void recordOnce(const ui::UIView& cell, const std::vector<vessa::VessaStyle>& captionPath, const ui::UIView& inner);
    // Applies the row's styles, the recorded ones where the row names none,
    // and no class where neither has one.
    void apply(const core::Dictionary& styles, ui::UIView& cell, std::vector<vessa::VessaStyle>& captionPath,
               ui::UIView& inner) const;
    // Back to nothing recorded (a fresh process).
    void reset();

private:
    std::string_view innerKey_;
    bool isSet_ = false;
    std::optional<std::string> background_;
    std::vector<vessa::VessaStyle> caption_;
    std::optional<std::string> inner_;
};

}  // namespace trc::formcells::internal
