// Feeds arbitrary edits to the number filter of simple-property rows: the
// field's text, a range and the replacement a person types, in plain and
// secure fields. Whatever the edit, the filter answers; what it lets through
// leaves a number text, or inserts a number text into a field whose text
// already was none (a secure field takes digits only), or deletes.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "formcells/FormCellNumberFilter.h"
#include "platform/ui/NSRange.h"
#include "platform/ui/UITextField.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using trc::formcells::FormCellNumberFilter;
    if (size < 3) return 0;
    const bool secure = data[0] & 1;
    const trc::ui::NSRange range{data[1], static_cast<std::size_t>(data[2] % 16)};
    const std::string rest(reinterpret_cast<const char*>(data + 3), size - 3);
    const std::size_t cut = rest.find('\0');
    const std::string text = rest.substr(0, cut);
    const std::string replacement = cut == std::string::npos ? std::string() : rest.substr(cut + 1);

    auto field = std::make_shared<trc::ui::UITextField>();
    field->text = text;
    field->isSecureTextEntry = secure;
    const bool allowed = FormCellNumberFilter::shouldChangeCharacters(*field, range, replacement);
    if (allowed && !replacement.empty()) {
        if (secure) {
            if (!FormCellNumberFilter::isDigits(replacement)) std::abort();
        } else {
            auto after = trc::ui::replacingCharacters(text, range, replacement);
            if (!after) std::abort();
            const bool wasNumber = FormCellNumberFilter::isNumberText(text);
            if (wasNumber && !FormCellNumberFilter::isNumberText(*after)) std::abort();
            if (!wasNumber && !FormCellNumberFilter::isNumberText(*after) &&
                !FormCellNumberFilter::isNumberText(replacement)) {
                std::abort();
            }
        }
    }
    (void)FormCellNumberFilter::isNumberText(rest);
    (void)FormCellNumberFilter::isDigits(rest);
    return 0;
}
