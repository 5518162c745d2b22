#include "formcells/internal/AttachmentTemporaryFiles.h"

#include <algorithm>
#include <fstream>
#include <system_error>

#include "platform/core/StandardOutput.h"
#include "platform/foundation/Sandbox.h"
#include "platform/foundation/UUID.h"

namespace trc::formcells::internal {

namespace {

namespace fs = std::filesystem;

// The longest file name the usual file systems take, in bytes.
constexpr std::size_t kMaxNameBytes = 255;
constexpr std::size_t kMaxExtensionBytes = 16;
// Beyond this many same-named files something is wrong; stop looking.
constexpr int kMaxNameVariants = 1000;

bool sameBytes(const fs::path& a, const fs::path& b, std::error_code& ec) {
    if (fs::equivalent(a, b, ec)) return true;
    ec.clear();
    const auto sizeA = fs::file_size(a, ec);
    if (ec) return false;
    const auto sizeB = fs::file_size(b, ec);
    if (ec || sizeA != sizeB) return false;
    std::ifstream inA(a, std::ios::binary), inB(b, std::ios::binary);
    char bufA[8192], bufB[8192];
    while (inA && inB) {
        inA.read(bufA, sizeof bufA);
        inB.read(bufB, sizeof bufB);
        if (inA.gcount() != inB.gcount()) return false;
        if (!std::equal(bufA, bufA + inA.gcount(), bufB)) return false;
    }
    return inA.eof() && inB.eof();
}

// The copy of source in folder under name: the file there when it holds the
// same bytes, else a new copy under the first free variant of the name.
std::optional<fs::path> placeCopy(const fs::path& source, const fs::path& folder, const std::string& name,
                                  fs::path& tried, std::error_code& ec) {
    if (!fs::is_regular_file(source, ec)) {
        if (!ec) ec = std::make_error_code(std::errc::no_such_file_or_directory);
        tried = folder / name;
        return std::nullopt;
    }
    const fs::path stem = fs::path(name).stem();
    const fs::path extension = fs::path(name).extension();
    for (int n = 0; n < kMaxNameVariants; ++n) {
        const fs::path candidate =
            n == 0 ? folder / name : folder / (stem.string() + "-" + std::to_string(n) + extension.string());
        tried = candidate;
        if (!fs::exists(candidate, ec)) {
            if (ec) return std::nullopt;
            if (!fs::copy_file(source, candidate, ec)) return std::nullopt;
            return candidate;
        }
        if (fs::is_regular_file(candidate, ec) && sameBytes(source, candidate, ec)) return candidate;
        if (ec) return std::nullopt;
    }
    ec = std::make_error_code(std::errc::file_exists);
    return std::nullopt;
}

std::optional<fs::path> sourcePath(const foundation::URL& source, std::error_code& ec) {
    if (!source.isFileURL() || source.path().empty()) {
        ec = std::make_error_code(std::errc::invalid_argument);
        return std::nullopt;
    }
    return fs::path(source.path());
}

}  // namespace

std::string AttachmentTemporaryFiles::safeFileName(std::string_view name) {
    const bool unsafe = name.empty() || name == "." || name == ".." || name.size() > kMaxNameBytes ||
                        name.find('/') != std::string_view::npos || name.find('\0') != std::string_view::npos;
    if (!unsafe) return std::string(name);
    std::string extension;
    if (const auto dot = name.rfind('.'); dot != std::string_view::npos && dot + 1 < name.size()) {
        extension = std::string(name.substr(dot));
        if (extension.size() > kMaxExtensionBytes || extension.find('/') != std::string::npos ||
            extension.find('\0') != std::string::npos) {
            extension.clear();
        }
    }
    return foundation::UUID().uuidString() + extension;
}

std::optional<foundation::URL> AttachmentTemporaryFiles::saveFileToTempFolder(const foundation::URL& source) {
    std::error_code ec;
    const fs::path folder = foundation::Sandbox::tmp() / kAttachmentsFolder;
    fs::path tried;
    std::optional<fs::path> copied;
    if (auto from = sourcePath(source, ec)) {
        fs::create_directory(folder, ec);
        if (!ec) copied = placeCopy(*from, folder, safeFileName(source.lastPathComponent()), tried, ec);
    }
    if (!copied) {
        core::StandardOutput::print("ERROR: Failed copy file " + source.description() +
                                    " to temp attachment folder: " + ec.message());
        return std::nullopt;
    }
    return foundation::URL::fileURLWithPath(*copied);
}

std::optional<foundation::URL> AttachmentTemporaryFiles::renameFilename(const foundation::URL& source,
                                                                        std::string_view filename) {
    std::error_code ec;
    const fs::path folder = foundation::Sandbox::tmp();
    const std::string name = safeFileName(filename);
    fs::path tried = folder / name;
    std::optional<fs::path> copied;
    if (auto from = sourcePath(source, ec)) copied = placeCopy(*from, folder, name, tried, ec);
    if (!copied) {
        core::StandardOutput::print("ERROR: Failed rename file " + source.description() + " to " +
                                    foundation::URL::fileURLWithPath(tried).description() + ": " + ec.message());
        return std::nullopt;
    }
    return foundation::URL::fileURLWithPath(*copied);
}

std::optional<core::Data> AttachmentTemporaryFiles::readContent(const foundation::URL& url) {
    if (!url.isFileURL()) return std::nullopt;
    const fs::path path(url.path());
    std::error_code ec;
    if (path.empty() || !fs::is_regular_file(path, ec)) return std::nullopt;
    const auto size = fs::file_size(path, ec);
    if (ec || size > kMaxContentBytes) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    core::Data bytes(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
        return std::nullopt;
    return bytes;
}

}  // namespace trc::formcells::internal
