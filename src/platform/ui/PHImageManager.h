#pragma once
// Reads the content of photo library assets: a picture scaled to fit a
// target size (answered at once, as a synchronous request is), the asset's
// image bytes, and a video's file. The last two answer later, on a
// background queue, as the platform's do; callers hand the answer to the
// main queue themselves. A missing or unreadable file answers none.
//
// Stateless; the requests may be made on any thread.

#include <functional>
#include <memory>
#include <optional>

#include "platform/core/Value.h"
#include "platform/foundation/URL.h"
#include "platform/ui/CGRect.h"
#include "platform/ui/PHAsset.h"
#include "platform/ui/UIImage.h"
#include "platform/ui/UIViewContentMode.h"

namespace trc::ui {

class PHImageManager {
public:
    // The picture scaled down (never up) to fit targetSize (aspect fit) or
    // fill it (aspect fill, the rest cropped); none for a video or a file
    // that holds no picture.
    static std::shared_ptr<UIImage> requestImage(const PHAsset& asset, CGSize targetSize,
                                                 UIViewContentMode contentMode);
    static void requestImageData(const std::shared_ptr<PHAsset>& asset,
                                 std::function<void(std::optional<core::Data>)> completion);
    // The video's file; none for an asset that is no video.
    static void requestAVAsset(const std::shared_ptr<PHAsset>& asset,
                               std::function<void(std::optional<foundation::URL>)> completion);

    // An image scaled as requestImage scales, for other readers of pictures.
    static std::shared_ptr<UIImage> scaled(const UIImage& image, CGSize targetSize, UIViewContentMode contentMode);
};

}  // namespace trc::ui
