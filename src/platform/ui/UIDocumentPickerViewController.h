#pragma once
// The system's document picker: offers the files of the given types (uniform
// type identifiers) and hands back the one a person picks. In import mode the
// picked file is a copy the application may keep. Headless: a person's pick
// comes through pick(), which refuses a file of a type not offered.
//
// Made per use; main thread only.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/foundation/URL.h"
#include "platform/ui/UIViewController.h"

namespace trc::ui {

class UIDocumentPickerViewController : public UIViewController {
    TRC_OBJECT(UIDocumentPickerViewController)
public:
    enum class Mode { Import, Open };

    UIDocumentPickerViewController() = default;
    UIDocumentPickerViewController(std::vector<std::string> documentTypes, Mode mode)
        : documentTypes_(std::move(documentTypes)), mode_(mode) {}

    const std::vector<std::string>& documentTypes() const { return documentTypes_; }
    Mode mode() const { return mode_; }
    bool allowsMultipleSelection = false;

    // Whether a person may pick this file: its extension's type is one of
    // the types offered, or data of any kind is offered.
    bool offers(const std::filesystem::path& file) const;
    // A person picks the file: didPickDocument hears of it. False (nothing
    // picked) for a file of a type not offered or one that is not there.
    bool pick(const std::filesystem::path& file);
    std::function<void(const foundation::URL&)> didPickDocument;

private:
    std::vector<std::string> documentTypes_;
    Mode mode_ = Mode::Import;
};

}  // namespace trc::ui
