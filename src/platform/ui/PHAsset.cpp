#include "platform/ui/PHAsset.h"

#include <algorithm>
#include <cctype>

#include "platform/core/ClassInfo.h"
#include "platform/dispatch/GlobalQueue.h"

namespace trc::ui {

const core::ClassInfo& PHAsset::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<PHAsset>("PHAsset", core::Object::classInfo())
            .property("localIdentifier", [](const PHAsset& a) { return core::Value(a.localIdentifier_); })
            .property(kFilenameKey,
                      [](const PHAsset& a) { return a.filename_ ? core::Value(*a.filename_) : core::Value(); })
            .build();
    return info;
}

PHAsset::PHAsset(std::string localIdentifier, MediaType mediaType, std::filesystem::path file,
                 std::optional<std::string> filename)
    : localIdentifier_(std::move(localIdentifier)),
      mediaType_(mediaType),
      file_(std::move(file)),
      filename_(std::move(filename)) {}

std::string PHAsset::assetURL() const {
    std::string ext = file_.extension().string();
    if (!ext.empty()) ext.erase(0, 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::toupper(c); });
    return std::string(kAssetsLibraryScheme) + "://asset/asset." + ext +
           "?id=" + foundation::URL::addingPercentEncoding(localIdentifier_, foundation::URL::AllowedCharacters::Path) +
           "&ext=" + ext;
}

void PHAsset::requestContentEditingInput(
    std::function<void(std::optional<foundation::URL> fullSizeImageURL)> completion) const {
    std::optional<foundation::URL> url;
    if (mediaType_ == MediaType::Image) url = foundation::URL::fileURLWithPath(file_);
    dispatch::GlobalQueue::shared().async([completion = std::move(completion), url] { completion(url); });
}

}  // namespace trc::ui
