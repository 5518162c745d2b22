#pragma once
// The keys every form cell's parameters share, whatever its kind and owner:
// its kind, its name (the key of its callback object), its visibility, its
// current value, an extension row's height and its validation state. The
// kinds' own keys stay with their setters.

namespace trc::formcells {

struct FormCellKeys {
    static constexpr const char* kType = "_Type";
    static constexpr const char* kName = "_Name";
    static constexpr const char* kIsVisible = "IsVisible";
    static constexpr const char* kValue = "Value";
    static constexpr const char* kHeight = "Height";
};

}  // namespace trc::formcells
