#include <gtest/gtest.h>

#include "formcells/FormCellFactory.h"
#include "formcells/FormCellSetters.h"
#include "formcells/FormCellSettersTestSupport.h"
#include "platform/vessa/VUIDatePickerFormCell.h"
#include "platform/vessa/VUIDurationPickerFormCell.h"
#include "platform/vessa/VUISegmentedControlFormCell.h"
#include "platform/vessa/VUISwitchFormCell.h"

using namespace trc;
using namespace trc::vessa;
using trc::formcells::FormCellFactory;
using trc::formcells::FormCellSetters;
using trc::formcells::testing::SetterTest;
using Mode = ui::UIDatePicker::Mode;
using Style = foundation::DateFormatter::Style;

namespace {

// 2026-01-31T10:00:00Z
constexpr core::Date kJan31{1769853600};

// ---------------------------------------------------------------- date picker

using DatePickerSetter = SetterTest;

TEST_F(DatePickerSetter, ANewRowWithoutADateShowsNowOnTheMainQueueClock) {
    dispatch::MainQueue::resetShared(std::make_unique<dispatch::VirtualClock>(kJan31.secondsSince1970));
    auto cell = shown<VUIDatePickerFormCell>();
    cell->setValue(core::Date{5});
    FormCellSetters::initDefaultDatePickerFormCellView(cell, params(R"({"Value": "31.01.2026"})"));
    EXPECT_EQ(cell->value(), kJan31) << "an unreadable date counts as none";

    dispatch::MainQueue::shared().advance(60);
    FormCellSetters::initDefaultDatePickerFormCellView(cell, params(R"({"Value": "2026-01-31T10:00:00Z"})"));
    EXPECT_EQ(cell->value(), kJan31) << "a row with a date keeps it for the setter";
}

struct ModeCase {
    const char* mode;
    Mode pickerMode;
    Style dateStyle;
    Style timeStyle;
};
void PrintTo(const ModeCase& c, std::ostream* os) { *os << '"' << c.mode << '"'; }

class DateModes : public SetterTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(DateModes, PickTheModeAndStylesWithoutRegardToCase) {
    auto cell = shown<VUIDatePickerFormCell>();
    FormCellSetters::setDatePickerFormCellView(cell, core::Dictionary{{"Mode", GetParam().mode}});
    EXPECT_EQ(cell->datePicker()->datePickerMode, GetParam().pickerMode) << GetParam().mode;
    ASSERT_TRUE(cell->dateFormatter());
    EXPECT_EQ(cell->dateFormatter()->dateStyle(), GetParam().dateStyle) << GetParam().mode;
    EXPECT_EQ(cell->dateFormatter()->timeStyle(), GetParam().timeStyle) << GetParam().mode;
}

INSTANTIATE_TEST_SUITE_P(Table, DateModes,
                         ::testing::Values(ModeCase{"date", Mode::Date, Style::Medium, Style::None},
                                           ModeCase{"DATE", Mode::Date, Style::Medium, Style::None},
                                           ModeCase{"Time", Mode::Time, Style::None, Style::Short},
                                           ModeCase{"datetime", Mode::DateAndTime, Style::Medium, Style::Short},
                                           ModeCase{" date", Mode::DateAndTime, Style::Medium, Style::Short},
                                           ModeCase{"", Mode::DateAndTime, Style::Medium, Style::Short},
                                           // Beyond ASCII: "TIM\u00C9" and "DAT\u0130" fold to other letters and the
                                           // full-width "\uFF24" to itself: none is a mode word.
                                           ModeCase{"TIM\xC3\x89", Mode::DateAndTime, Style::Medium, Style::Short},
                                           ModeCase{"DAT\xC4\xB0", Mode::DateAndTime, Style::Medium, Style::Short},
                                           ModeCase{"\xEF\xBC\xA4"
                                                    "ATE",
                                                    Mode::DateAndTime, Style::Medium, Style::Short},
                                           ModeCase{"TiMe", Mode::Time, Style::None, Style::Short},
                                           ModeCase{"date\xC3\x89", Mode::DateAndTime, Style::Medium, Style::Short},
                                           ModeCase{"dat", Mode::DateAndTime, Style::Medium, Style::Short},
                                           ModeCase{"dates", Mode::DateAndTime, Style::Medium, Style::Short}));

TEST_F(DatePickerSetter, WithoutModeTheFormatterHasNoStylesWhateverTheCellShowedBefore) {
    FormCellFactory::setLocale(foundation::Locale("en_US"));
    auto cell = shown<VUIDatePickerFormCell>();
    FormCellSetters::setDatePickerFormCellView(cell, params(R"({"Mode": "time", "Value": "2026-01-31T10:00:00Z"})"));
    auto first = cell->dateFormatter();
    EXPECT_FALSE(cell->valueLabel()->text->empty());

    // Owners hand the setter a row's stored parameters, so a row without
    // "Mode" is one that never had one.
    FormCellSetters::setDatePickerFormCellView(cell, params(R"({"Value": "2026-02-01T10:00:00Z"})"));
    EXPECT_NE(cell->dateFormatter(), first) << "a formatter held elsewhere is left as it is";
    EXPECT_EQ(first->timeStyle(), Style::Short);
    EXPECT_EQ(cell->datePicker()->datePickerMode, Mode::Time) << "the picker keeps its mode";
    EXPECT_EQ(cell->dateFormatter()->dateStyle(), Style::None);
    EXPECT_EQ(cell->dateFormatter()->timeStyle(), Style::None);
    EXPECT_EQ(cell->valueLabel()->text, "");

    // The cell's own formatter is set anew in place, as a new one would be.
    first.reset();
    cell->dateFormatter()->setTimeZone("Asia/Tokyo");
    cell->dateFormatter()->setDateFormat("yyyy");
    FormCellSetters::setDatePickerFormCellView(cell, params(R"({"Mode": "date", "Value": "2026-02-01T10:00:00Z"})"));
    const foundation::DateFormatter& now = *cell->dateFormatter();
    EXPECT_EQ(now.timeZone(), foundation::DateFormatter().timeZone());
    EXPECT_EQ(now.dateFormat(), "");
    EXPECT_EQ(now.dateStyle(), Style::Medium);
    EXPECT_EQ(cell->valueLabel()->text, "Feb 1, 2026");
    EXPECT_EQ(&now, cell->dateFormatter().get()) << "the cell's own formatter is kept";

    // Changed in place, the shown text follows the row whether it gives a
    // date or the cell keeps the one it shows.
    FormCellSetters::setDatePickerFormCellView(cell, params(R"({"Mode": "time"})"));
    EXPECT_EQ(&now, cell->dateFormatter().get());
    EXPECT_EQ(cell->valueLabel()->text, "10:00\u202FAM");
    FormCellSetters::setDatePickerFormCellView(cell, params(R"({"Mode": "date", "Value": "2026-03-01T10:00:00Z"})"));
    EXPECT_EQ(cell->valueLabel()->text, "Mar 1, 2026");
    FormCellSetters::setDatePickerFormCellView(cell, params("{}"));
    EXPECT_EQ(&now, cell->dateFormatter().get());
    EXPECT_EQ(cell->valueLabel()->text, "");
}

struct LocaleCase {
    const char* identifier;
    const char* shows;
};
void PrintTo(const LocaleCase& c, std::ostream* os) { *os << c.identifier; }

class DateLocales : public SetterTest, public ::testing::WithParamInterface<LocaleCase> {};

TEST_P(DateLocales, ShowAndPickNewRowsInTheSharedLocale) {
    auto shownEarlier = shown<VUIDatePickerFormCell>();
    FormCellSetters::setDatePickerFormCellView(shownEarlier,
                                               params(R"({"Mode": "date", "Value": "2026-01-31T10:00:00Z"})"));
    const auto before = shownEarlier->valueLabel()->text;

    FormCellFactory::setLocale(foundation::Locale(GetParam().identifier));
    auto cell = shown<VUIDatePickerFormCell>();
    FormCellSetters::setDatePickerFormCellView(cell, params(R"({"Mode": "date", "Value": "2026-01-31T10:00:00Z"})"));
    EXPECT_EQ(cell->valueLabel()->text, GetParam().shows);
    EXPECT_EQ(cell->datePicker()->locale, GetParam().identifier);
    EXPECT_EQ(cell->dateFormatter()->locale().identifier(), GetParam().identifier);
    EXPECT_EQ(shownEarlier->valueLabel()->text, before) << "a row on screen changes only when configured again";
}

INSTANTIATE_TEST_SUITE_P(Table, DateLocales,
                         ::testing::Values(LocaleCase{"en_US", "Jan 31, 2026"}, LocaleCase{"de_DE", "31.01.2026"},
                                           LocaleCase{"fr_FR", "31 janv. 2026"}, LocaleCase{"ja_JP", "2026/01/31"},
                                           LocaleCase{"en_GB", "31 Jan 2026"}));

// ---------------------------------------------------------------- duration picker

using DurationPickerSetter = SetterTest;

TEST_F(DurationPickerSetter, RefusesWhatIsNoDurationOrInterval) {
    auto cell = shown<VUIDurationPickerFormCell>();
    FormCellSetters::setDurationPickerFormCellView(cell, params(R"({"MinuteInterval": 15, "Value": 90.5})"));
    FormCellSetters::setDurationPickerFormCellView(cell, params(R"({"MinuteInterval": 4294967311, "Value": -60})"));
    EXPECT_EQ(cell->durationPicker()->minuteInterval(), 15) << "2^32 + 15 is not 15";
    EXPECT_EQ(cell->value(), 90.5);
    EXPECT_TRUE(logged(core::Severity::warn, "MinuteInterval"));
    EXPECT_TRUE(logged(core::Severity::warn, "duration"));
    FormCellSetters::setDurationPickerFormCellView(cell, params(R"({"Value": "5400", "MinuteInterval": 7.5})"));
    EXPECT_EQ(cell->value(), 90.5);
    EXPECT_EQ(cell->durationPicker()->minuteInterval(), 15);
    FormCellSetters::setDurationPickerFormCellView(cell, params(R"({"Value": 1e300})"));
    EXPECT_FALSE(cell->valueLabel()->text->empty()) << "a huge duration still shows";
}

// ---------------------------------------------------------------- switch

using SwitchSetter = SetterTest;

TEST_F(SwitchSetter, HostStylesNeverLeakIntoALaterRow) {
    auto cell = shown<VUISwitchFormCell>();
    const std::string background = cell->nuiClass;
    const std::string knob = cell->switchView()->nuiClass;
    const auto caption = cell->titleStyleClassPath;

    const auto styled = params(R"({"Styles": {"Background": "bg", "Caption": "cap", "Switch": "sw"}})");
    FormCellSetters::setSwitchFormCellView(cell, styled);
    FormCellSetters::setSwitchFormCellView(cell, styled);
    EXPECT_EQ(cell->nuiClass, "bg");
    EXPECT_EQ(cell->switchView()->nuiClass, "sw");
    ASSERT_EQ(cell->titleStyleClassPath.size(), caption.size() + 1) << "the caption path does not grow";
    EXPECT_EQ(cell->titleStyleClassPath.back(), VessaStyle{"cap"});

    FormCellSetters::setSwitchFormCellView(cell, params(R"({"Styles": {"Caption": 1}})"));
    EXPECT_EQ(cell->nuiClass, background);
    EXPECT_EQ(cell->switchView()->nuiClass, knob);
    EXPECT_EQ(cell->titleStyleClassPath, caption);

    // A path changed elsewhere, longer than the recorded one, is the recorded one again.
    cell->titleStyleClassPath.insert(cell->titleStyleClassPath.begin(), {VessaStyle{"x"}, VessaStyle{"y"}});
    FormCellSetters::setSwitchFormCellView(cell, params("{}"));
    EXPECT_EQ(cell->titleStyleClassPath, caption);
}

// ---------------------------------------------------------------- segmented control

using SegmentedControlSetter = SetterTest;

TEST_F(SegmentedControlSetter, LeavesTheCellForWhatItCannotRead) {
    auto cell = shown<VUISegmentedControlFormCell>();
    FormCellSetters::setSegmentedControlFormCellView(cell, params(R"({"Segments": ["A", "B"], "Value": 0})"));
    FormCellSetters::setSegmentedControlFormCellView(
        cell, params(R"({"Segments": ["C", 3], "Value": 4294967296, "ApportionsSegmentWidthsByContent": 1})"));
    EXPECT_EQ(cell->valueOptions(), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(cell->value(), 0) << "2^32 is not segment 0";
    EXPECT_FALSE(cell->apportionsSegmentWidthsByContent());
    EXPECT_TRUE(logged(core::Severity::warn, "Value"));
}

// A reused cell given a row with as many segments, of texts as long, shows
// the new row's texts, each in its place, also where a text is one letter
// apart from the old one; and a later change to the row's list does not
// reach the cell.
TEST_F(SegmentedControlSetter, AReusedCellShowsTheNewRowsSegmentsOfTheSameCount) {
    auto cell = shown<VUISegmentedControlFormCell>();
    core::Dictionary first = params(R"({"Segments": ["Waiting for the approver", "Approved by the approver"]})");
    FormCellSetters::buildSegmentedControlFormCellView(cell, first);
    first.find("Segments")->mutableArray()[0] = core::Value("Changed later by the host");
    EXPECT_EQ(cell->valueOptions(), (std::vector<std::string>{"Waiting for the approver", "Approved by the approver"}));
    FormCellSetters::buildSegmentedControlFormCellView(
        cell, params(R"({"Segments": ["Waiting for the approvers", "Approved by the approver!"], "Value": 1})"));
    EXPECT_EQ(cell->valueOptions(),
              (std::vector<std::string>{"Waiting for the approvers", "Approved by the approver!"}));
    FormCellSetters::buildSegmentedControlFormCellView(cell, params(R"({"Segments": ["Short", "Tiny"]})"));
    EXPECT_EQ(cell->valueOptions(), (std::vector<std::string>{"Short", "Tiny"}));
    EXPECT_EQ(cell->value(), ui::UISegmentedControl::noSegment) << "no value: no segment, not the last row's";
}

// ---------------------------------------------------------------- one road for a new row

// A new row built in one pass ends as its initDefault setter and its setter
// leave it, over a cell that showed a row naming every key before.
using PickerBuild = SetterTest;

constexpr const char* kPickerRows[] = {
    "{}",
    R"({"Value": "2026-01-31T10:00:00Z", "Mode": "date", "Caption": "Due"})",
    R"({"Value": 90.5, "MinuteInterval": 15, "PlaceHolder": "When"})",
    R"({"Value": -3, "Segments": ["A", "", "B"]})",
    R"({"Value": true, "IsEditable": false})",
    R"({"Value": 1, "Segments": ["A", "B"], "ApportionsSegmentWidthsByContent": true})",
    R"({"Value": 4294967296, "Styles": {"Background": "b", "Caption": "c", "Value": "v", "Switch": "s"}})",
    R"({"Value": "on"})",
    R"({"Value": null})",
};
constexpr const char* kPickerBefore = R"({"Value": 2, "Mode": "time", "Caption": "Old", "PlaceHolder": "Was",
    "MinuteInterval": 5, "Segments": ["X", "Y", "Z"], "IsEditable": false, "ApportionsSegmentWidthsByContent": true,
    "Styles": {"Background": "ob", "Caption": "oc", "Value": "ov", "Switch": "os"}})";
constexpr const char* kSwitchBefore = R"({"Value": true, "Caption": "Old"})";
constexpr const char* kDateBefore = R"({"Value": "2026-02-01T10:00:00Z", "Mode": "time", "Caption": "Old"})";

TEST_F(PickerBuild, DateDurationSwitchAndSegmentedRowsEndAsTheTwoSettersLeaveThem) {
    dispatch::MainQueue::resetShared(std::make_unique<dispatch::VirtualClock>(kJan31.secondsSince1970));
    auto date = shown<VUIDatePickerFormCell>(), dateBuilt = shown<VUIDatePickerFormCell>();
    auto duration = shown<VUIDurationPickerFormCell>(), durationBuilt = shown<VUIDurationPickerFormCell>();
    auto toggle = shown<VUISwitchFormCell>(), toggleBuilt = shown<VUISwitchFormCell>();
    auto segmented = shown<VUISegmentedControlFormCell>(), segmentedBuilt = shown<VUISegmentedControlFormCell>();
    for (const char* json : kPickerRows) {
        for (const char* row : {kPickerBefore, kDateBefore, kSwitchBefore, json}) {
            const auto p = params(row);
            // The two setters on the first cell, the one pass on the second.
            const auto bothRoads = [&p](auto init, auto set, auto build, const auto& cell, const auto& built) {
                init(cell, p);
                set(cell, p);
                build(built, p);
            };
            bothRoads(FormCellSetters::initDefaultDatePickerFormCellView, FormCellSetters::setDatePickerFormCellView,
                      FormCellSetters::buildDatePickerFormCellView, date, dateBuilt);
            bothRoads(FormCellSetters::initDefaultDurationPickerFormCellView,
                      FormCellSetters::setDurationPickerFormCellView, FormCellSetters::buildDurationPickerFormCellView,
                      duration, durationBuilt);
            bothRoads(FormCellSetters::initDefaultSwitchFormCellView, FormCellSetters::setSwitchFormCellView,
                      FormCellSetters::buildSwitchFormCellView, toggle, toggleBuilt);
            bothRoads(FormCellSetters::initDefaultSegmentedControlFormCellView,
                      FormCellSetters::setSegmentedControlFormCellView,
                      FormCellSetters::buildSegmentedControlFormCellView, segmented, segmentedBuilt);
        }
        EXPECT_EQ(dateBuilt->value(), date->value()) << json;
        EXPECT_EQ(dateBuilt->valueLabel()->text, date->valueLabel()->text) << json;
        EXPECT_EQ(dateBuilt->datePicker()->datePickerMode, date->datePicker()->datePickerMode) << json;
        EXPECT_EQ(dateBuilt->keyLabel()->text, date->keyLabel()->text) << json;
        EXPECT_EQ(dateBuilt->nuiClass, date->nuiClass) << json;

        EXPECT_EQ(durationBuilt->value(), duration->value()) << json;
        EXPECT_EQ(durationBuilt->durationPicker()->minuteInterval(), duration->durationPicker()->minuteInterval())
            << json;
        EXPECT_EQ(durationBuilt->valueLabel()->nuiClass, duration->valueLabel()->nuiClass) << json;

        EXPECT_EQ(toggleBuilt->value(), toggle->value()) << json;
        EXPECT_EQ(toggleBuilt->isEditable(), toggle->isEditable()) << json;
        EXPECT_EQ(toggleBuilt->switchView()->nuiClass, toggle->switchView()->nuiClass) << json;

        EXPECT_EQ(segmentedBuilt->value(), segmented->value()) << json;
        EXPECT_EQ(segmentedBuilt->valueOptions(), segmented->valueOptions()) << json;
        EXPECT_EQ(segmentedBuilt->apportionsSegmentWidthsByContent(), segmented->apportionsSegmentWidthsByContent())
            << json;
        EXPECT_EQ(segmentedBuilt->keyName(), segmented->keyName()) << json;
        dispatch::MainQueue::shared().advance(60);  // a new "now" for every row
    }
    FormCellSetters::buildDatePickerFormCellView(nullptr, params("{}"));  // no cell: nothing to do
    FormCellSetters::buildDurationPickerFormCellView(nullptr, params("{}"));
    FormCellSetters::buildSwitchFormCellView(nullptr, params("{}"));
    FormCellSetters::buildSegmentedControlFormCellView(nullptr, params("{}"));
}

}  // namespace
