#include "formcells/OptionTitleLists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formcells/FormCellSetters.h"
#include "formcells/FormCellSettersTestSupport.h"
#include "platform/vessa/VUISegmentedControlFormCell.h"

namespace trc::formcells {
namespace {

using Titles = std::vector<std::string>;
using Form = OptionTitleLists::Form;

core::Value list(core::Array items) { return core::Value(std::move(items)); }

// A list of texts as one text; "nil" for none.
std::string shown(const core::Value& texts) {
    if (texts.isNil()) return "nil";
    std::string out;
    for (const core::Value& t : *texts.ifArray()) out += "[" + *t.ifString() + "]";
    return out;
}

// The titles a segmented row shows for a list: none when it is not all
// texts, the list itself, or its texts but the empty ones.
std::string titles(Form form, const core::Value& texts, const core::Value& nonEmpty) {
    switch (form) {
    case Form::NoTexts: return "leave";
    case Form::NoItem: return "";
    case Form::Texts: return shown(texts);
    case Form::SomeEmpty: return shown(nonEmpty);
    }
    return "?";
}
std::string read(const core::Value& l) {
    const Form form = OptionTitleLists::formOf(l);
    return titles(form, l, form == Form::SomeEmpty ? OptionTitleLists::nonEmptyTextsOf(l) : core::Value());
}
std::string remembered(OptionTitleLists& lists, const core::Value& l) {
    const Form form = lists.form(l);
    return titles(form, l, form == Form::SomeEmpty ? lists.nonEmptyTexts(l) : core::Value());
}

struct Case {
    const char* what;
    core::Value items;
    Form form;
    std::string titles;
};

std::vector<Case> cases() {
    return {
        {"texts", list({"Low", "High"}), Form::Texts, "[Low][High]"},
        {"no item", list({}), Form::NoItem, ""},
        {"some empty", list({"", "Low", "", "High", ""}), Form::SomeEmpty, "[Low][High]"},
        {"all empty", list({"", ""}), Form::SomeEmpty, "nil"},
        {"a number among texts", list({"Low", 2}), Form::NoTexts, "leave"},
        {"dictionaries", list({core::Dictionary{}}), Form::NoTexts, "leave"},
        {"a text", core::Value("Low"), Form::NoTexts, "leave"},
        {"null", core::Value::null(), Form::NoTexts, "leave"},
        {"nil", core::Value(), Form::NoTexts, "leave"},
    };
}

TEST(OptionTitleLists, EachListIsToldRightReadOrRememberedOnceOrAgain) {
    OptionTitleLists lists;
    const std::vector<Case> all = cases();
    for (int asked = 0; asked < 3; ++asked) {
        for (const Case& c : all) {
            SCOPED_TRACE(c.what);
            EXPECT_EQ(OptionTitleLists::formOf(c.items), c.form);
            EXPECT_EQ(lists.form(c.items), c.form);
            EXPECT_EQ(read(c.items), c.titles);
            EXPECT_EQ(remembered(lists, c.items), c.titles);
        }
    }
}

// Freed, a list's array leaves its address to the next list of its size:
// what was remembered of the old list must never be taken for the new one.
TEST(OptionTitleLists, ANewListAtTheAddressOfAFreedOneIsReadAgain) {
    OptionTitleLists lists;
    for (int round = 0; round < 8; ++round) {
        {
            const core::Value texts = list({"Low", "High"});
            ASSERT_EQ(remembered(lists, texts), "[Low][High]");
        }
        {
            const core::Value mixed = list({"Low", 2});
            EXPECT_EQ(lists.form(mixed), Form::NoTexts) << round;
        }
        {
            const core::Value empties = list({"", "Mid"});
            EXPECT_EQ(remembered(lists, empties), "[Mid]") << round;
        }
        const core::Value texts = list({"Top", "End"});
        EXPECT_EQ(remembered(lists, texts), "[Top][End]") << round;
    }
}

// A host's update may change the row's stored list where it lies.
TEST(OptionTitleLists, AListChangedInPlaceIsReadAgain) {
    OptionTitleLists lists;
    core::Value segments = list({"Low", "High"});
    ASSERT_EQ(remembered(lists, segments), "[Low][High]");
    segments.mutableArray()[0] = core::Value("");
    EXPECT_EQ(remembered(lists, segments), "[High]");
    segments.mutableArray().emplace_back(3);
    EXPECT_EQ(remembered(lists, segments), "leave");
    segments.mutableArray().back() = core::Value("Top");
    EXPECT_EQ(remembered(lists, segments), "[High][Top]");
    segments.mutableArray().clear();
    EXPECT_EQ(lists.form(segments), Form::NoItem);
}

// More lists than are remembered: all are forgotten when one more comes,
// every answer stays right.
TEST(OptionTitleLists, ManyListsAreEachToldRight) {
    OptionTitleLists lists;
    std::vector<core::Value> all;
    const std::size_t count = OptionTitleLists::kMostLists + 3000;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        if (i % 3 == 0) all.push_back(list({"Low", n}));
        if (i % 3 == 1) all.push_back(list({"Low", 1}));
        if (i % 3 == 2) all.push_back(list({"", n}));
    }
    for (int asked = 0; asked < 2; ++asked) {
        for (std::size_t i = 0; i < all.size(); ++i) {
            const std::string n = std::to_string(i);
            const std::string expected = i % 3 == 0 ? "[Low][" + n + "]" : i % 3 == 1 ? "leave" : "[" + n + "]";
            ASSERT_EQ(remembered(lists, all[i]), expected) << i;
            ASSERT_LE(lists.size(), OptionTitleLists::kMostLists);
        }
    }
}

// A segmented row built with the owner's lists shows what one built
// without them shows, whatever its cell showed before.
class SegmentedRowWithLists : public testing::SetterTest {};

TEST_F(SegmentedRowWithLists, ShowsWhatTheRowsSegmentsSay) {
    const char* rows[] = {
        R"({"Segments": ["Low", "High"], "Value": 1})",
        R"({"Segments": ["", "Low", ""], "Value": 0})",
        R"({"Segments": ["Low", 2], "Value": 1})",
        R"({"Segments": [], "Value": 0})",
        R"({"Segments": ["", ""]})",
        R"({"Segments": null})",
        R"({"Segments": "Low"})",
        R"({"Value": 1})",
    };
    OptionTitleLists lists;
    auto cell = shown<vessa::VUISegmentedControlFormCell>();
    auto withLists = shown<vessa::VUISegmentedControlFormCell>();
    std::vector<core::Dictionary> kept;
    for (const char* json : rows) kept.push_back(params(json));
    for (int asked = 0; asked < 2; ++asked) {
        for (std::size_t row = 0; row < kept.size(); ++row) {
            for (const core::Dictionary& before : kept) {
                FormCellSetters::buildSegmentedControlFormCellView(cell, before);
                FormCellSetters::buildSegmentedControlFormCellViewWithLists(withLists, before, &lists);
                FormCellSetters::buildSegmentedControlFormCellView(cell, kept[row]);
                FormCellSetters::buildSegmentedControlFormCellViewWithLists(withLists, kept[row], &lists);
                ASSERT_EQ(withLists->valueOptions(), cell->valueOptions()) << rows[row];
                ASSERT_EQ(withLists->segmentedControl()->selectedSegmentIndex,
                          cell->segmentedControl()->selectedSegmentIndex)
                    << rows[row];
            }
        }
    }
}

// The titles shown stay as the row gave them when the host later changes
// its list in place, with or without the owner's lists.
TEST_F(SegmentedRowWithLists, ShownTitlesStayAsGivenWhenTheHostChangesItsList) {
    OptionTitleLists lists;
    auto cell = shown<vessa::VUISegmentedControlFormCell>();
    for (OptionTitleLists* memory : {static_cast<OptionTitleLists*>(nullptr), &lists}) {
        for (const char* json : {R"({"Segments": ["Low", "High"]})", R"({"Segments": ["Low", "", "High"]})"}) {
            core::Dictionary row = params(json);
            FormCellSetters::buildSegmentedControlFormCellViewWithLists(cell, row, memory);
            row.find("Segments")->mutableArray()[0] = core::Value("Changed");
            EXPECT_EQ(cell->valueOptions(), (Titles{"Low", "High"})) << json;
            EXPECT_EQ(cell->segmentedControl()->segmentTitles.value(), core::Value(core::Array{"Low", "High"}));
            FormCellSetters::buildSegmentedControlFormCellViewWithLists(cell, row, memory);
            EXPECT_EQ(cell->valueOptions(), (Titles{"Changed", "High"})) << json;
        }
    }
}

}  // namespace
}  // namespace trc::formcells
