#pragma once
// What the UI framework's barcode scanner read: the code's text, when it
// could make one out. A plain value; any thread.

#include <optional>
#include <string>

namespace trc::vessa {

class VUIBarcodeScanResult {
public:
    VUIBarcodeScanResult() = default;
    explicit VUIBarcodeScanResult(std::optional<std::string> text) : scanResultString(std::move(text)) {}

    std::optional<std::string> scanResultString;
};

}  // namespace trc::vessa
