#pragma once
// Where attachment rows keep copies of what a person attached: picked
// documents in the "attachments" folder of the application's temporary
// folder, library photos in the temporary folder itself, each under its own
// file name, so that the same file attached twice is one copy (and one
// attachment).
//
// A file already there under that name is reused only when it holds the
// same bytes; a different file of the same name is copied beside it as
// "name-1.ext", "name-2.ext"..., never mistaken for the earlier one. Names
// are made safe first: a name that is empty, "." or "..", holds a '/' or a
// NUL, or is longer than a file name may be becomes a fresh UUID keeping the
// extension, so no copy lands outside its folder.
//
// Failures print the messages the form cells have always printed to the
// standard output and give none. Static; main thread only.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/core/Value.h"
#include "platform/foundation/URL.h"

namespace trc::formcells::internal {

class AttachmentTemporaryFiles {
public:
    static constexpr const char* kAttachmentsFolder = "attachments";

    // Copies the file into the attachments folder (made when missing) under
    // its own name.
    static std::optional<foundation::URL> saveFileToTempFolder(const foundation::URL& source);
    // Copies the file into the temporary folder under filename.
    static std::optional<foundation::URL> renameFilename(const foundation::URL& source, std::string_view filename);

    static std::string safeFileName(std::string_view name);

    // The whole file a file URL names, when it is a regular file of at most
    // kMaxContentBytes; none for any other URL.
    static constexpr std::uintmax_t kMaxContentBytes = 64u << 20;
    static std::optional<core::Data> readContent(const foundation::URL& url);
};

}  // namespace trc::formcells::internal
