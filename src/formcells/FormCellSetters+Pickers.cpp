// The date, duration, switch and segmented rows. Date rows are shown and
// picked in the factory's shared locale as it stands when they are configured.

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>

#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include "formcells/FormCellFactory.h"
#include "formcells/FormCellSetters.h"
#include "formcells/OptionTitleLists.h"
#include "formcells/internal/FormCellDefaultStyle.h"
#include "formcells/internal/SetterSupport.h"
#include "platform/core/TextAssignment.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/foundation/DateFormatter.h"
#include "platform/vessa/VUIDatePickerFormCell.h"
#include "platform/vessa/VUIDurationPickerFormCell.h"
#include "platform/vessa/VUISegmentedControlFormCell.h"
#include "platform/vessa/VUISwitchFormCell.h"
#include "services/ParameterHelper.h"

namespace trc::formcells {

namespace {

using services::ParameterHelper;
using S = internal::SetterSupport;
using Style = foundation::DateFormatter::Style;

constexpr std::string_view kMode = "Mode";
// Lower case: modeWordOf folds the text to them.
constexpr std::string_view kModeDate = "date";
constexpr std::string_view kModeTime = "time";
constexpr std::string_view kMinuteInterval = "MinuteInterval";
constexpr std::string_view kSwitch = "Switch";
constexpr std::string_view kSegments = "Segments";
constexpr std::string_view kApportionsSegmentWidthsByContent = "ApportionsSegmentWidthsByContent";

internal::FormCellDefaultStyle& switchDefaultStyle() {
    static internal::FormCellDefaultStyle style(kSwitch, "FormCellSetters.switchDefaultStyle");
    return style;
}

// Now, for a new date row without a date. On a virtual clock (tests, the
// host simulator) its time counts as seconds since 1970, so a new row shows
// the same date on every run; on the system clock it is the wall clock's.
core::Date currentDate() {
    const dispatch::MainQueue& queue = dispatch::MainQueue::shared();
    if (queue.isVirtual()) return core::Date{queue.now()};
    using namespace std::chrono;
    return core::Date{duration<double>(system_clock::now().time_since_epoch()).count()};
}

// A duration a row may give: finite and not negative.
bool isDuration(std::optional<double> seconds) { return seconds && std::isfinite(*seconds) && *seconds >= 0; }

// Case folded as ICU folds it. Nothing beyond ASCII folds to the letters of
// the mode words (as "K", the kelvin sign, folds to "k"), so a text of ASCII
// alone is compared in one pass, without ICU and without the C library's
// locale-dependent case.
bool sameWithoutCaseInICU(std::string_view text, std::string_view word) {
    return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())))
               .caseCompare(
                   icu::UnicodeString::fromUTF8(icu::StringPiece(word.data(), static_cast<int32_t>(word.size()))),
                   U_FOLD_CASE_DEFAULT) == 0;
}

enum class ModeWord { Date, Time, Other };

// Whether text is ASCII alone, eight bytes at a time.
bool isAscii(std::string_view text) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080ULL;
    std::size_t at = 0;
    for (; at + sizeof(std::uint64_t) <= text.size(); at += sizeof(std::uint64_t)) {
        std::uint64_t word = 0;
        std::memcpy(&word, text.data() + at, sizeof word);
        if (word & kHighBits) return false;
    }
    for (; at < text.size(); ++at) {
        if (static_cast<unsigned char>(text[at]) >= 0x80) return false;
    }
    return true;
}

ModeWord modeWordOf(std::string_view text) {
    static_assert(kModeDate.size() == kModeTime.size());
    if (isAscii(text)) {
        if (text.size() != kModeDate.size()) return ModeWord::Other;
        std::array<char, kModeDate.size()> folded{};
        std::transform(text.begin(), text.end(), folded.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
        const std::string_view word(folded.data(), folded.size());
        return word == kModeDate ? ModeWord::Date : word == kModeTime ? ModeWord::Time : ModeWord::Other;
    }
    if (sameWithoutCaseInICU(text, kModeDate)) return ModeWord::Date;
    return sameWithoutCaseInICU(text, kModeTime) ? ModeWord::Time : ModeWord::Other;
}

// A formatter as new in the shared locale, its styles by "Mode"; without a
// "Mode" the picker keeps its mode and the formatter has no styles. The
// owners hand a row's stored parameters to the setter after a host update,
// so an update of the date alone keeps the row's "Mode" and never blanks
// the shown date, and a row without "Mode" never takes the styles of the
// row a reused cell showed before. The cell's formatter is made new in
// place when nothing else shows with it, so a reused cell makes none.
void setDatePickerFormatter(vessa::VUIDatePickerFormCell& cell, const core::Dictionary& params,
                            std::optional<core::Date> date) {
    // Held by the cell alone: made as new in place, its texts kept where
    // they are the same already, and no count taken on it. Each setting is
    // set once, to what the row gives, so one the row keeps stays unchanged.
    const std::shared_ptr<foundation::DateFormatter>& held = cell.dateFormatter();
    std::shared_ptr<foundation::DateFormatter> made;
    static const foundation::DateFormatter fresh;
    if (held && held.use_count() == 1) {
        held->setTimeZone(fresh.timeZone());
        held->setDateFormat(fresh.dateFormat());
    } else {
        made = std::make_shared<foundation::DateFormatter>();
    }
    foundation::DateFormatter& formatter = made ? *made : *held;
    formatter.setLocale(FormCellFactory::locale());
    const auto& picker = cell.datePicker();
    core::assignText(picker->locale, formatter.locale().identifier());
    Style dateStyle = fresh.dateStyle();
    Style timeStyle = fresh.timeStyle();
    if (auto mode = ParameterHelper::textIn(params, kMode)) {
        const ModeWord word = modeWordOf(*mode);
        if (word == ModeWord::Date) {
            picker->datePickerMode = ui::UIDatePicker::Mode::Date;
            dateStyle = Style::Medium;
            timeStyle = Style::None;
        } else if (word == ModeWord::Time) {
            picker->datePickerMode = ui::UIDatePicker::Mode::Time;
            dateStyle = Style::None;
            timeStyle = Style::Short;
        } else {
            picker->datePickerMode = ui::UIDatePicker::Mode::DateAndTime;
            dateStyle = Style::Medium;
            timeStyle = Style::Short;
        }
    }
    formatter.setDateStyle(dateStyle);
    formatter.setTimeStyle(timeStyle);
    // With the row's date, so that is formatted once, with the row's formatter.
    if (!made) {
        if (date) {
            cell.setValue(*date);
        } else {
            cell.dateFormatterDidChange();
        }
    } else if (date) {
        cell.setValue(*date, std::move(made));
    } else {
        cell.setDateFormatter(std::move(made));
    }
}

}  // namespace

void FormCellSetters::initDefaultDatePickerFormCellView(const std::shared_ptr<vessa::VUIDatePickerFormCell>& cell,
                                                        const Params& params) {
    if (!cell) return;
    if (!ParameterHelper::getParameterAsDate(params, S::kValue)) cell->setValue(currentDate());
}

void FormCellSetters::initDefaultDurationPickerFormCellView(
    const std::shared_ptr<vessa::VUIDurationPickerFormCell>& cell, const Params& params) {
    if (!cell) return;
    // Whenever the setter takes no duration from the row.
    if (!isDuration(ParameterHelper::getParameterAsDouble(params, S::kValue))) cell->setValue(0);
}

void FormCellSetters::initDefaultSwitchFormCellView(const std::shared_ptr<vessa::VUISwitchFormCell>& cell,
                                                    const Params& params) {
    if (cell && !ParameterHelper::getParameterAsBool(params, S::kValue)) cell->setValue(false);
}

void FormCellSetters::initDefaultSegmentedControlFormCellView(
    const std::shared_ptr<vessa::VUISegmentedControlFormCell>& cell, const Params& params) {
    if (!cell) return;
    // Whenever the setter takes no index from the row.
    const auto index = ParameterHelper::getParameterAsInt(params, S::kValue);
    if (!index || *index < std::numeric_limits<int>::min() || *index > std::numeric_limits<int>::max()) {
        cell->setValue(ui::UISegmentedControl::noSegment);
    }
}

namespace {

// The rows' keys; the value each initDefault setter also reads is handed in.
void applyDateRow(vessa::VUIDatePickerFormCell& cell, const FormCellSetters::Params& params,
                  std::optional<core::Date> date) {
    if (auto caption = ParameterHelper::textIn(params, S::kCaption)) cell.setKeyName(*caption);
    if (auto text = ParameterHelper::textIn(params, S::kPlaceHolder)) core::assignText(cell.keyLabel()->text, *text);
    S::applyEditable(params, cell);
    setDatePickerFormatter(cell, params, date);
    const core::Dictionary& styles = S::styles(params);
    S::applyStyleClass(styles, S::kBackground, cell);
    S::applyStyleClass(styles, S::kCaption, *cell.keyLabel());
    S::applyStyleClass(styles, S::kValue, *cell.valueLabel());
}

void applyDurationRow(vessa::VUIDurationPickerFormCell& cell, const FormCellSetters::Params& params,
                      std::optional<double> seconds) {
    if (auto caption = ParameterHelper::textIn(params, S::kCaption)) cell.setKeyName(*caption);
    S::applyEditable(params, cell);
    if (auto interval = S::intParameter(params, kMinuteInterval, 1))
        cell.durationPicker()->setMinuteInterval(*interval);
    if (seconds) {
        if (isDuration(seconds)) {
            cell.setValue(*seconds);
        } else {
            S::warn("form cell: a duration of " + std::to_string(*seconds) + " seconds is no duration; ignored");
        }
    }
    const core::Dictionary& styles = S::styles(params);
    S::applyStyleClass(styles, S::kBackground, cell);
    S::applyStyleClass(styles, S::kCaption, *cell.keyLabel());
    S::applyStyleClass(styles, S::kValue, *cell.valueLabel());
}

void applySwitchRow(vessa::VUISwitchFormCell& cell, const FormCellSetters::Params& params, std::optional<bool> on) {
    if (auto caption = ParameterHelper::textIn(params, S::kCaption)) cell.setKeyName(*caption);
    if (on) cell.setValue(*on);
    S::applyEditable(params, cell);
    internal::FormCellDefaultStyle& defaultStyle = switchDefaultStyle();
    defaultStyle.recordOnce(cell, cell.titleStyleClassPath, *cell.switchView());
    defaultStyle.apply(S::styles(params), cell, cell.titleStyleClassPath, *cell.switchView());
}

std::optional<int> segmentIndex(const FormCellSetters::Params& params) {
    return S::intParameter(params, S::kValue, std::numeric_limits<int>::min());
}

// The segments' texts but the empty ones, shared with the host's list (or
// one made once for it); a list that is not all texts leaves the cell's.
void showSegments(vessa::VUISegmentedControlFormCell& cell, const FormCellSetters::Params& params,
                  OptionTitleLists* lists) {
    using Form = OptionTitleLists::Form;
    const core::Value* segments = params.find(kSegments);
    if (!segments) return;
    switch (lists ? lists->form(*segments) : OptionTitleLists::formOf(*segments)) {
    case Form::NoTexts: break;
    case Form::NoItem: cell.shareValueOptions(core::Value()); break;
    case Form::Texts: cell.shareValueOptions(*segments); break;
    case Form::SomeEmpty:
        if (lists) {
            cell.shareValueOptions(lists->nonEmptyTexts(*segments));
        } else {
            cell.shareValueOptions(OptionTitleLists::nonEmptyTextsOf(*segments));
        }
        break;
    }
}

void applySegmentedRow(vessa::VUISegmentedControlFormCell& cell, const FormCellSetters::Params& params,
                       std::optional<int> index, OptionTitleLists* lists) {
    if (auto caption = ParameterHelper::textIn(params, S::kCaption)) cell.setKeyName(*caption);
    showSegments(cell, params, lists);
    if (index) cell.setValue(*index);
    S::applyEditable(params, cell);
    if (auto apportions = ParameterHelper::getParameterAsBool(params, kApportionsSegmentWidthsByContent)) {
        cell.setApportionsSegmentWidthsByContent(*apportions);
    }
    const core::Dictionary& styles = S::styles(params);
    S::applyStyleClass(styles, S::kBackground, cell);
    S::applyStyleClass(styles, S::kCaption, *cell.keyLabel());
}

}  // namespace

void FormCellSetters::setDatePickerFormCellView(const std::shared_ptr<vessa::VUIDatePickerFormCell>& cell,
                                                const Params& params) {
    if (cell) applyDateRow(*cell, params, ParameterHelper::getParameterAsDate(params, S::kValue));
}

void FormCellSetters::setDurationPickerFormCellView(const std::shared_ptr<vessa::VUIDurationPickerFormCell>& cell,
                                                    const Params& params) {
    if (cell) applyDurationRow(*cell, params, ParameterHelper::getParameterAsDouble(params, S::kValue));
}

void FormCellSetters::setSwitchFormCellView(const std::shared_ptr<vessa::VUISwitchFormCell>& cell,
                                            const Params& params) {
    if (cell) applySwitchRow(*cell, params, ParameterHelper::getParameterAsBool(params, S::kValue));
}

void FormCellSetters::setSegmentedControlFormCellView(const std::shared_ptr<vessa::VUISegmentedControlFormCell>& cell,
                                                      const Params& params) {
    if (cell) applySegmentedRow(*cell, params, segmentIndex(params), nullptr);
}

void FormCellSetters::buildDatePickerFormCellView(const std::shared_ptr<vessa::VUIDatePickerFormCell>& cell,
                                                  const Params& params) {
    if (!cell) return;
    const auto date = ParameterHelper::getParameterAsDate(params, S::kValue);
    if (!date) cell->setValue(currentDate());
    applyDateRow(*cell, params, date);
}

void FormCellSetters::buildDurationPickerFormCellView(const std::shared_ptr<vessa::VUIDurationPickerFormCell>& cell,
                                                      const Params& params) {
    if (!cell) return;
    const auto seconds = ParameterHelper::getParameterAsDouble(params, S::kValue);
    if (!isDuration(seconds)) cell->setValue(0);
    applyDurationRow(*cell, params, seconds);
}

void FormCellSetters::buildSwitchFormCellView(const std::shared_ptr<vessa::VUISwitchFormCell>& cell,
                                              const Params& params) {
    if (!cell) return;
    const auto on = ParameterHelper::getParameterAsBool(params, S::kValue);
    if (!on) cell->setValue(false);
    applySwitchRow(*cell, params, on);
}

void FormCellSetters::buildSegmentedControlFormCellView(const std::shared_ptr<vessa::VUISegmentedControlFormCell>& cell,
                                                        const Params& params) {
    buildSegmentedControlFormCellViewWithLists(cell, params, nullptr);
}

void FormCellSetters::buildSegmentedControlFormCellViewWithLists(
    const std::shared_ptr<vessa::VUISegmentedControlFormCell>& cell, const Params& params, OptionTitleLists* lists) {
    if (!cell) return;
    const auto index = segmentIndex(params);
    if (!index) cell->setValue(ui::UISegmentedControl::noSegment);
    applySegmentedRow(*cell, params, index, lists);
}

}  // namespace trc::formcells
