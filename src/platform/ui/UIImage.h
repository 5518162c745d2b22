#pragma once
// An image handle. Nothing is drawn, so an image is its name (a system
// symbol, an icon of the UI framework, or a file path), a size and how it
// would be rendered (as is, or as a template tinted by its view).

#include <memory>
#include <string>

#include "platform/ui/CGRect.h"

namespace trc::ui {

class UIImage {
public:
    enum class RenderingMode { Automatic, AlwaysOriginal, AlwaysTemplate };

    explicit UIImage(std::string name, CGSize size = {}) : name_(std::move(name)), size_(size) {}
    static std::shared_ptr<UIImage> systemNamed(const std::string& name) { return std::make_shared<UIImage>(name); }

    const std::string& name() const { return name_; }
    CGSize size() const { return size_; }
    RenderingMode renderingMode() const { return mode_; }
    // A copy rendered the given way; the original is unchanged.
    std::shared_ptr<UIImage> withRenderingMode(RenderingMode mode) const {
        auto copy = std::make_shared<UIImage>(*this);
        copy->mode_ = mode;
        return copy;
    }

private:
    std::string name_;
    CGSize size_;
    RenderingMode mode_ = RenderingMode::Automatic;
};

}  // namespace trc::ui
