#include "platform/ui/UIDocumentPickerViewController.h"

#include "platform/core/ClassInfo.h"
#include "platform/core/SharedLoggerManager.h"
#include "platform/foundation/UTType.h"

namespace trc::ui {

const core::ClassInfo& UIDocumentPickerViewController::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UIDocumentPickerViewController>("UIDocumentPickerViewController",
                                                           UIViewController::classInfo())
            .constructible()
            .property("documentTypes",
                      [](const UIDocumentPickerViewController& p) {
                          core::Array types;
                          for (const auto& t : p.documentTypes_) types.emplace_back(t);
                          return core::Value(std::move(types));
                      })
            .property("mode",
                      [](const UIDocumentPickerViewController& p) {
                          return core::Value(p.mode_ == Mode::Import ? "import" : "open");
                      })
            .property("allowsMultipleSelection",
                      [](const UIDocumentPickerViewController& p) { return core::Value(p.allowsMultipleSelection); })
            .build();
    return info;
}

bool UIDocumentPickerViewController::offers(const std::filesystem::path& file) const {
    std::string ext = file.extension().string();
    if (!ext.empty()) ext.erase(0, 1);
    const std::string type = foundation::UTType::preferredIdentifier(ext).value_or("");
    for (const auto& offered : documentTypes_) {
        if (foundation::UTType::conforms(type, offered)) return true;
    }
    return false;
}

bool UIDocumentPickerViewController::pick(const std::filesystem::path& file) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        core::SharedLoggerManager::log("ui", core::Severity::info, "document picker: no file " + file.string());
        return false;
    }
    if (!offers(file)) {
        core::SharedLoggerManager::log("ui", core::Severity::info,
                                       "document picker: " + file.filename().string() + " is not of a type offered");
        return false;
    }
    if (didPickDocument) didPickDocument(foundation::URL::fileURLWithPath(file));
    return true;
}

}  // namespace trc::ui
