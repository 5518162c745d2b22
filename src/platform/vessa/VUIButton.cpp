#include "platform/vessa/VUIButton.h"

#include "platform/core/ClassInfo.h"
#include "platform/core/TextAssignment.h"

namespace trc::vessa {

const core::ClassInfo& VUIButton::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<VUIButton>("VUIButton", ui::UIButton::classInfo())
            .constructible()
            .property("titleLabel", [](const VUIButton& b) { return core::Value(b.titleLabel()); })
            .property("imageName",
                      [](const VUIButton& b) { return b.image() ? core::Value(b.image()->name()) : core::Value(); })
            .property("cellParameters", [](const VUIButton& b) { return core::Value(b.cellParameters); })
            .property("imageContentMode",
                      [](const VUIButton& b) { return core::Value(ui::contentModeName(b.imageContentMode)); })
            .property("imageRenderingMode",
                      [](const VUIButton& b) {
                          auto image = b.image();
                          if (!image) return core::Value();
                          switch (image->renderingMode()) {
                          case ui::UIImage::RenderingMode::AlwaysTemplate: return core::Value("alwaysTemplate");
                          case ui::UIImage::RenderingMode::AlwaysOriginal: return core::Value("alwaysOriginal");
                          case ui::UIImage::RenderingMode::Automatic: break;
                          }
                          return core::Value("automatic");
                      })
            .build();
    return info;
}

VUIButton::VUIButton() : titleLabel_(std::make_shared<ui::UILabel>()) {
    addSubview(titleLabel_);
    // The button owns this action; it reaches the button through the sender.
    addAction(Event::TouchUpInside, [](ui::UIControl& sender) {
        auto& self = static_cast<VUIButton&>(sender);
        if (self.didSelectHandler) {
            auto handler = self.didSelectHandler;  // the handler may replace itself
            handler(self);
        }
    });
}

void VUIButton::setTitle(std::optional<std::string_view> title, State state) {
    UIButton::setTitle(title, state);
    const std::string* current = currentTitleText();
    core::assignText(titleLabel_->text, current ? std::optional<std::string_view>(*current) : std::nullopt);
}

void VUIButton::setImage(std::shared_ptr<ui::UIImage> image, State state) {
    if (image) {
        images_[state] = std::move(image);
    } else {
        images_.erase(state);
    }
}

std::shared_ptr<ui::UIImage> VUIButton::image(State state) const {
    auto it = images_.find(state);
    if (it == images_.end()) it = images_.find(State::Normal);
    return it == images_.end() ? nullptr : it->second;
}

}  // namespace trc::vessa
