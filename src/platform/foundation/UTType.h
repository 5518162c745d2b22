#pragma once
// Uniform type identifiers of file name extensions and their preferred MIME
// types, as attachments name their content and the document picker names
// the documents it offers.
//
// A small built-in table holds the common types under their usual
// identifiers ("public.png", "public.jpeg", "com.adobe.pdf"...); every other
// extension the system's MIME table (/etc/mime.types) knows gets an
// identifier of its own, "dyn.mime." followed by its MIME type, whose
// preferred MIME type is that one. Extensions match in any letter case. An
// extension neither knows has no identifier, and so no MIME type.
//
// The system table is read once, on first use, and kept; a missing or
// unreadable table leaves the built-in one. Any thread.

#include <optional>
#include <string>
#include <string_view>

namespace trc::foundation {

class UTType {
public:
    // The type every file's content conforms to.
    static constexpr const char* kData = "public.data";
    static constexpr const char* kSystemMimeTable = "/etc/mime.types";
    static constexpr const char* kMimeIdentifierPrefix = "dyn.mime.";

    // The identifier of the type files with this extension (no dot) hold.
    static std::optional<std::string> preferredIdentifier(std::string_view filenameExtension);
    static std::optional<std::string> preferredMIMEType(std::string_view identifier);
    // Both steps at once: the MIME type of files with this extension.
    static std::optional<std::string> mimeTypeOfExtension(std::string_view filenameExtension);
    // Whether content of type identifier may be offered where `to` is asked
    // for: the same type, or any type where data is asked for.
    static bool conforms(std::string_view identifier, std::string_view to);
};

}  // namespace trc::foundation
