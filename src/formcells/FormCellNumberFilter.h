#pragma once
// What the number fields of simple-property rows accept while a person
// types, for both owners of form cells (each is the text-field delegate of
// its number fields and asks here).
//
// The filter judges the text the change would leave: digits (any script's
// decimal digits), at most one decimal separator ("." or ","), and a minus
// only as the first character. When the text before the change already
// breaks that rule (the host filled the field with "1,234.5" or "12 kg"),
// only what the change inserts is judged by it, so digits always go in. A
// secure field (a number password) takes digits only. A deletion is always
// allowed, so a person can clear a text the host set. A range that does not
// lie in the text is refused.
// Stateless; main thread only.

#include <string>
#include <string_view>

#include "platform/ui/NSRange.h"

namespace trc::ui {
class UITextField;
}

namespace trc::formcells {

class FormCellNumberFilter {
public:
    static bool shouldChangeCharacters(const ui::UITextField& textField, ui::NSRange range,
                                       const std::string& replacement);
    // "-"? digits, then at most one separator followed by digits.
    static bool isNumberText(std::string_view text);
    static bool isDigits(std::string_view text);
};

}  // namespace trc::formcells
