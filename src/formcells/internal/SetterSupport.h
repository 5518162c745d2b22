#pragma once
// What the per-kind form cell setters share: the parameter keys several
// kinds read, the "Styles" sub-dictionary, and reads that turn a host number
// into a cell's int or refuse it with a log line. Static, stateless; main
// thread only, like the setters. Not for use outside the form cells.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "formcells/FormCellKeys.h"
#include "platform/core/Value.h"
#include "services/ParameterHelper.h"

namespace trc::ui {
class UIView;
}  // namespace trc::ui

namespace trc::vessa {
class VUIBaseTableViewCell;
}  // namespace trc::vessa

namespace trc::formcells::internal {

class SetterSupport {
public:
    using Params = core::Dictionary;

    static constexpr std::string_view kValue = FormCellKeys::kValue;
    static constexpr std::string_view kPlaceHolder = "PlaceHolder";
    static constexpr std::string_view kCaption = "Caption";
    static constexpr std::string_view kIsEditable = "IsEditable";
    static constexpr std::string_view kStyles = "Styles";
    static constexpr std::string_view kBackground = "Background";

    // The row's "Styles", or an empty dictionary when it has none; read in
    // place, valid until params changes. Inline with applyStyleClass: most
    // rows name no style, and then no call is made.
    static const core::Dictionary& styles(const Params& params) {
        const core::Dictionary* styles = services::ParameterHelper::dictionaryIn(params, kStyles);
        return styles ? *styles : noStyles();
    }
    // The class name under key in styles, when it is a string; read in place.
    static const std::string* styleClass(const core::Dictionary& styles, std::string_view key);
    // Sets the view's style class from styles[key]; leaves it when that is no string.
    static void applyStyleClass(const core::Dictionary& styles, std::string_view key, ui::UIView& view) {
        if (!styles.empty()) applyNamedStyleClass(styles, key, view);
    }
    // "IsEditable" when it is a boolean.
    static void applyEditable(const Params& params, vessa::VUIBaseTableViewCell& cell);

    // An integer parameter that fits the cell's int and is not below minimum.
    // A number out of that range is refused with a log line naming the key,
    // so a host's 2^32 + 15 never reaches a cell as 15.
    static std::optional<int> intParameter(const Params& params, std::string_view key, int minimum) {
        // Most rows leave such keys out: the key bits rule them out inline.
        return params.mayContain(key) ? readInt(params, key, minimum) : std::nullopt;
    }

    // The row's "_Name", when it is a string: what work that outlives a
    // table change (a scanner, a picker, a signature pad) finds the row by.
    static std::optional<std::string> rowName(const Params& params);

    static void warn(const std::string& message);

private:
    static std::optional<int> readInt(const Params& params, std::string_view key, int minimum);
    static const core::Dictionary& noStyles() {
        static const core::Dictionary none;
        return none;
    }
    static void applyNamedStyleClass(const core::Dictionary& styles, std::string_view key, ui::UIView& view);
};

}  // namespace trc::formcells::internal
