#include "services/ImagePathHandler.h"

#include <filesystem>

#include "platform/core/SharedLoggerManager.h"
#include "platform/foundation/Bundle.h"

namespace trc::services {

namespace {

namespace fs = std::filesystem;

void note(core::Severity severity, const std::string& message) {
    core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, severity, message);
}

std::shared_ptr<ui::UIImage> resourceImage(std::string_view from) {
    // The bundle refuses paths that leave its folder.
    const fs::path relative(from.substr(ImagePathHandler::kResourceScheme.size()));
    const fs::path file = relative.filename();
    std::string ext = file.extension().string();
    if (!ext.empty()) ext.erase(0, 1);
    std::optional<fs::path> path =
        foundation::Bundle::main()->pathForResource(file.stem().string(), ext, relative.parent_path().string());
    if (!path) {
        note(core::Severity::info, "no resource \"" + std::string(from) + "\" in the application bundle");
        return nullptr;
    }
    return ui::UIImage::contentsOfFile(path->string());
}

}  // namespace

std::shared_ptr<ui::UIImage> ImagePathHandler::image(std::string_view from, std::optional<bool> renderAsAlwaysTemplate,
                                                     std::optional<ui::UIColor> colorFilter) {
    std::shared_ptr<ui::UIImage> found;
    if (from.empty()) {
        note(core::Severity::warn, "an empty image string names no image");
    } else if (from.starts_with(kResourceScheme)) {
        found = resourceImage(from);
    } else if (from.find("://") != std::string_view::npos) {
        note(core::Severity::warn,
             "image \"" + std::string(from) + "\": only \"res://\" resources and file paths are loaded");
    } else {
        found = ui::UIImage::contentsOfFile(std::string(from));
        if (!found) note(core::Severity::info, "no image at \"" + std::string(from) + "\"");
    }
    if (!found) return nullptr;
    if (renderAsAlwaysTemplate.value_or(false))
        found = found->withRenderingMode(ui::UIImage::RenderingMode::AlwaysTemplate);
    if (colorFilter) found = found->withTintColor(*colorFilter);
    return found;
}

}  // namespace trc::services
