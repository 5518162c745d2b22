#include "formcells/FormCellType.h"

namespace trc::formcells {

namespace {
constexpr std::array<std::string_view, FormCellType::kCount> kRawValues = {
    "Control.Type.FormCell.Title",          "Control.Type.FormCell.Note",
    "Control.Type.FormCell.SimpleProperty", "Control.Type.FormCell.ListPicker",
    "Control.Type.FormCell.DatePicker",     "Control.Type.FormCell.DurationPicker",
    "Control.Type.FormCell.Switch",         "Control.Type.FormCell.SegmentedControl",
    "Control.Type.FormCell.Attachment",     "Control.Type.FormCell.Button",
    "Control.Type.FormCell.Filter",         "Control.Type.FormCell.Sorter",
    "Control.Type.FormCell.Extension",      "Control.Type.FormCell.SignatureCapture",
};
}  // namespace

std::optional<FormCellType::Kind> FormCellType::fromRawValue(std::string_view raw) {
    for (std::size_t i = 0; i < kRawValues.size(); ++i) {
        if (kRawValues[i] == raw) return static_cast<Kind>(i);
    }
    return std::nullopt;
}

std::string_view FormCellType::rawValue(Kind kind) { return kRawValues[static_cast<std::size_t>(kind)]; }

const std::array<FormCellType::Kind, FormCellType::kCount>& FormCellType::all() {
    static const std::array<Kind, kCount> kinds = [] {
        std::array<Kind, kCount> a{};
        for (std::size_t i = 0; i < kCount; ++i) a[i] = static_cast<Kind>(i);
        return a;
    }();
    return kinds;
}

}  // namespace trc::formcells
