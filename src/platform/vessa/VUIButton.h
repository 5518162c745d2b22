#pragma once
// The UI framework's button: a UIButton with a title label, images per
// state, a didSelectHandler run on every tap, and a dictionary of cell
// parameters a configurer may hang on it. The handler must not hold the
// button strongly. Main thread only.

#include <functional>
#include <map>
#include <memory>

#include "platform/core/Dictionary.h"
#include "platform/ui/UIButton.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UILabel.h"
#include "platform/ui/UIViewContentMode.h"
#include "platform/vessa/VUIChangeHandler.h"

namespace trc::vessa {

class VUIButton : public ui::UIButton {
    TRC_OBJECT(VUIButton)
public:
    VUIButton();

    VUIChangeHandler<void(VUIButton&)> didSelectHandler;
    core::Dictionary cellParameters;
    // How the button's image view fits the image.
    ui::UIViewContentMode imageContentMode = ui::UIViewContentMode::ScaleToFill;

    std::shared_ptr<ui::UILabel> titleLabel() const { return titleLabel_; }
    // Also shows the title for the present state in the title label.
    void setTitle(std::optional<std::string_view> title, State state = State::Normal) override;
    void setImage(std::shared_ptr<ui::UIImage> image, State state = State::Normal);
    std::shared_ptr<ui::UIImage> image(State state = State::Normal) const;

private:
    std::shared_ptr<ui::UILabel> titleLabel_;
    std::map<State, std::shared_ptr<ui::UIImage>> images_;
};

}  // namespace trc::vessa
