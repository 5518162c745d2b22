#pragma once
// The keys a list picker row is built from, found in one pass over the row's
// parameters instead of one look-up each: its name, caption, items and
// selection. Every row of the kind asks all four, and a row's parameters
// hold a handful of entries. Pointers into the parameters: valid until they
// change, as Dictionary::find's are.

#include <string_view>

#include "platform/core/Dictionary.h"

namespace trc::formcells {

struct ListPickerRowKeys {
    const core::Value* name = nullptr;         // "_Name"
    const core::Value* caption = nullptr;      // "Caption"
    const core::Value* pickerItems = nullptr;  // "PickerItems"
    const core::Value* value = nullptr;        // "Value"

    // The key of a list picker row's items.
    static constexpr std::string_view kPickerItems = "PickerItems";

    // The same entries params.find gives for each key.
    static ListPickerRowKeys of(const core::Dictionary& params);
};

}  // namespace trc::formcells
