#pragma once
// The fourteen kinds of form cell, named by the "_Type" of a cell's
// parameters. Matching is exact and case-sensitive: a lower-case name, a
// missing prefix or surrounding blanks name no kind. The order of the kinds
// is the order every dispatch over them follows.

#include <array>
#include <optional>
#include <string_view>

namespace trc::formcells {

class FormCellType {
public:
    enum class Kind {
        Title,
        Note,
        SimpleProperty,
        ListPicker,
        DatePicker,
        DurationPicker,
        Switch,
        SegmentedControl,
        Attachment,
        Button,
        Filter,
        Sorter,
        Extension,
        SignatureCapture,
    };
    static constexpr std::size_t kCount = 14;

    static std::optional<Kind> fromRawValue(std::string_view raw);
    static std::string_view rawValue(Kind kind);
    static const std::array<Kind, kCount>& all();
};

}  // namespace trc::formcells
