#include "formcells/ListPickerRowKeys.h"

#include <cstring>
#include <string_view>

#include "formcells/FormCellKeys.h"
#include "formcells/internal/SetterSupport.h"

namespace trc::formcells {

namespace {

constexpr std::string_view kName = FormCellKeys::kName;
constexpr std::string_view kCaption = internal::SetterSupport::kCaption;
constexpr std::string_view kPickerItems = ListPickerRowKeys::kPickerItems;
constexpr std::string_view kValue = FormCellKeys::kValue;

// Whether held, of key's length, is key: a compare of constant length, inline.
template <const std::string_view& key>
bool is(const std::string& held) {
    return std::memcmp(held.data(), key.data(), key.size()) == 0;
}

}  // namespace

ListPickerRowKeys ListPickerRowKeys::of(const core::Dictionary& params) {
    // The entry's length tells which key it can be; the lengths differ but
    // for the name and the value.
    static_assert(kName.size() == kValue.size());
    static_assert(kCaption.size() != kName.size() && kPickerItems.size() != kName.size() &&
                  kCaption.size() != kPickerItems.size());
    ListPickerRowKeys keys;
    for (const auto& [key, value] : params) {
        switch (key.size()) {
        case kName.size():
            if (is<kName>(key)) {
                keys.name = &value;
            } else if (is<kValue>(key)) {
                keys.value = &value;
            }
            break;
        case kCaption.size():
            if (is<kCaption>(key)) keys.caption = &value;
            break;
        case kPickerItems.size():
            if (is<kPickerItems>(key)) keys.pickerItems = &value;
            break;
        default: break;
        }
    }
    return keys;
}

}  // namespace trc::formcells
