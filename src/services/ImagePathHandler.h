#pragma once
// Finds the image an image string names: "res://Name.png" is a resource of
// the application's main bundle (a path below the bundle folder, "res://"
// then folders and the file name), anything else without a scheme is a path
// in the file system. The image is the decoded PNG or JPEG in that file.
//
// Static and stateless; main thread (the main bundle is read there). Never
// fails the caller: an empty string, a resource path that climbs out of the
// bundle, another scheme (web addresses are not loaded here), a missing file
// or a file that holds no image all give none, each with a log line.

#include <memory>
#include <optional>
#include <string_view>

#include "platform/ui/UIColor.h"
#include "platform/ui/UIImage.h"

namespace trc::services {

class ImagePathHandler {
public:
    static constexpr std::string_view kResourceScheme = "res://";

    // With renderAsAlwaysTemplate true the image renders as a template (its
    // view tints it); with a colour filter it is painted in that colour.
    static std::shared_ptr<ui::UIImage> image(std::string_view from,
                                              std::optional<bool> renderAsAlwaysTemplate = std::nullopt,
                                              std::optional<ui::UIColor> colorFilter = std::nullopt);
};

}  // namespace trc::services
