#include "formcells/SegmentTitleLists.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formcells/FormCellSetters.h"
#include "formcells/FormCellSettersTestSupport.h"
#include "platform/vessa/VUISegmentedControlFormCell.h"

namespace trc::formcells {
namespace {

using Titles = std::vector<std::string>;

core::Value list(core::Array items) { return core::Value(std::move(items)); }

// What a list of segments shows, as a plain list of texts; "nil" for none.
std::string shown(const core::Value& titles) {
    if (titles.isNil()) return "nil";
    std::string out;
    for (const core::Value& t : *titles.ifArray()) out += "[" + *t.ifString() + "]";
    return out;
}

struct Case {
    const char* what;
    core::Value segments;
    std::string titles;
    bool itself;  // the list is shown as it stands
};

std::vector<Case> cases() {
    return {
        {"texts", list({"Low", "High"}), "[Low][High]", true},
        {"no item", list({}), "", true},
        {"some empty", list({"", "Low", "", "High", ""}), "[Low][High]", false},
        {"all empty", list({"", ""}), "", false},
        {"a number among texts", list({"Low", 2}), "nil", false},
        {"dictionaries", list({core::Dictionary{}}), "nil", false},
        {"a text", core::Value("Low"), "nil", false},
        {"null", core::Value::null(), "nil", false},
        {"nil", core::Value(), "nil", false},
    };
}

TEST(SegmentTitleLists, EachListShowsItsTextsButTheEmptyOnesAskedOnceOrAgain) {
    SegmentTitleLists lists;
    const std::vector<Case> all = cases();
    for (int asked = 0; asked < 3; ++asked) {
        for (const Case& c : all) {
            SCOPED_TRACE(c.what);
            const core::Value read = SegmentTitleLists::titlesOf(c.segments);
            const core::Value& remembered = lists.titles(c.segments);
            EXPECT_EQ(shown(read), c.titles);
            EXPECT_EQ(shown(remembered), c.titles);
            EXPECT_EQ(read.ifArray() == c.segments.ifArray() && read.ifArray(), c.itself);
            EXPECT_EQ(remembered.ifArray() == c.segments.ifArray() && remembered.ifArray(), c.itself);
        }
    }
}

// Freed, a list's array leaves its address to the next list of its size:
// what was remembered of the old list must never be taken for the new one.
TEST(SegmentTitleLists, ANewListAtTheAddressOfAFreedOneIsReadAgain) {
    SegmentTitleLists lists;
    for (int round = 0; round < 8; ++round) {
        {
            const core::Value texts = list({"Low", "High"});
            ASSERT_EQ(shown(lists.titles(texts)), "[Low][High]");
        }
        {
            const core::Value mixed = list({"Low", 2});
            EXPECT_EQ(shown(lists.titles(mixed)), "nil") << round;
        }
        const core::Value empties = list({"", "Mid"});
        EXPECT_EQ(shown(lists.titles(empties)), "[Mid]") << round;
    }
}

// A host's update may change the row's stored list where it lies.
TEST(SegmentTitleLists, AListChangedInPlaceIsReadAgain) {
    SegmentTitleLists lists;
    core::Value segments = list({"Low", "High"});
    ASSERT_EQ(shown(lists.titles(segments)), "[Low][High]");
    segments.mutableArray()[0] = core::Value("");
    EXPECT_EQ(shown(lists.titles(segments)), "[High]");
    segments.mutableArray().emplace_back(3);
    EXPECT_EQ(shown(lists.titles(segments)), "nil");
    segments.mutableArray().back() = core::Value("Top");
    EXPECT_EQ(shown(lists.titles(segments)), "[High][Top]");
}

// More lists than are remembered: all are forgotten when one more comes,
// every answer stays right.
TEST(SegmentTitleLists, ManyListsAreEachToldRight) {
    SegmentTitleLists lists;
    std::vector<core::Value> all;
    const std::size_t count = SegmentTitleLists::kMostLists + 3000;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        if (i % 3 == 0) all.push_back(list({"Low", n}));
        if (i % 3 == 1) all.push_back(list({"Low", 1}));
        if (i % 3 == 2) all.push_back(list({"", n}));
    }
    for (int asked = 0; asked < 2; ++asked) {
        for (std::size_t i = 0; i < all.size(); ++i) {
            const std::string n = std::to_string(i);
            const std::string expected = i % 3 == 0 ? "[Low][" + n + "]" : i % 3 == 1 ? "nil" : "[" + n + "]";
            ASSERT_EQ(shown(lists.titles(all[i])), expected) << i;
            ASSERT_LE(lists.size(), SegmentTitleLists::kMostLists);
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
        R"({"Segments": null})",
        R"({"Segments": "Low"})",
        R"({"Value": 1})",
    };
    SegmentTitleLists lists;
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
    SegmentTitleLists lists;
    auto cell = shown<vessa::VUISegmentedControlFormCell>();
    for (SegmentTitleLists* memory : {static_cast<SegmentTitleLists*>(nullptr), &lists}) {
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
