#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "formcells/FormCellRowList.h"
#include "formcells/FormCellType.h"
#include "formcells/RowDelegates.h"

using namespace trc;
using formcells::FormCellRowList;
using formcells::FormCellType;

namespace {

core::Dictionary cell(const char* name, core::Value isVisible = {}) {
    core::Dictionary d{{"_Name", name}, {"_Type", "Control.Type.FormCell.Title"}};
    if (!isVisible.isNil()) d.set("IsVisible", isVisible);
    return d;
}

// Every shown row maps to a host row and back, and hidden rows map nowhere.
void expectConsistent(const FormCellRowList& list) {
    int shown = 0;
    for (int r = 0; r < static_cast<int>(list.size()); ++r) {
        int v = list.visibleRow(r);
        if (v >= 0) {
            EXPECT_EQ(v, shown++);
            EXPECT_EQ(list.actualRow(v), r);
        }
    }
    EXPECT_EQ(list.visibleCount(), shown);
    EXPECT_EQ(list.actualRow(shown), -1);
}

}  // namespace

TEST(FormCellType, MatchesExactlyAndWithCase) {
    EXPECT_EQ(FormCellType::fromRawValue("Control.Type.FormCell.Switch"), FormCellType::Kind::Switch);
    EXPECT_EQ(FormCellType::fromRawValue("Control.Type.FormCell.SignatureCapture"),
              FormCellType::Kind::SignatureCapture);
    for (const char* bad : {"control.type.formcell.switch", "Control.Type.FormCell.Switch ",
                            " Control.Type.FormCell.Switch", "Switch", "Control.Type.FormCell.", ""}) {
        EXPECT_FALSE(FormCellType::fromRawValue(bad).has_value()) << bad;
    }
    for (auto kind : FormCellType::all()) EXPECT_EQ(FormCellType::fromRawValue(FormCellType::rawValue(kind)), kind);
}

TEST(FormCellRowListVisibility, ContainerAndSectionRules) {
    struct Case {
        core::Value isVisible;
        bool container;
        bool section;
    } cases[] = {
        {core::Value(), true, true},
        {true, true, true},
        {false, false, false},
        {"true", false, false},
        {"false", false, false},
        {1, true, false},
        {core::Value::null(), true, false},
    };
    for (const auto& c : cases) {
        core::Dictionary d = cell("x", c.isVisible);
        if (c.isVisible.isNil()) d.erase("IsVisible");
        EXPECT_EQ(FormCellRowList::isCellVisible(d), c.container) << c.isVisible.description();
        EXPECT_EQ(FormCellRowList::isSectionCellVisible(d), c.section) << c.isVisible.description();
    }
}

TEST(FormCellRowListMapping, HiddenCellsKeepTheirHostRow) {
    FormCellRowList list;
    list.append(cell("a"));
    list.append(cell("b", false));
    list.append(cell("c"));
    list.append(cell("d", "true"));
    list.append(cell("e"));
    EXPECT_EQ(list.visibleCount(), 3);
    EXPECT_EQ(list.actualRow(0), 0);
    EXPECT_EQ(list.actualRow(1), 2);
    EXPECT_EQ(list.actualRow(2), 4);
    EXPECT_EQ(list.actualRow(3), -1) << "a shown row past the end maps to no host row";
    EXPECT_EQ(list.actualRow(-1), -1);
    EXPECT_EQ(list.visibleRow(1), -1) << "a hidden host row has no shown row";
    EXPECT_EQ(list.visibleRow(3), -1);
    EXPECT_EQ(list.visibleRow(4), 2);
    EXPECT_EQ(list.visibleRow(5), -1);
    EXPECT_EQ(*list.visibleAt(1)->find("_Name"), core::Value("c"));
    expectConsistent(list);
}

TEST(FormCellRowListMapping, ReplaceAndMergeMoveRowsInAndOut) {
    FormCellRowList list;
    for (const char* n : {"a", "b", "c"}) list.append(cell(n));
    ASSERT_TRUE(list.replace(1, cell("b", false)));
    EXPECT_EQ(list.visibleCount(), 2);
    EXPECT_EQ(list.actualRow(1), 2);
    expectConsistent(list);

    ASSERT_TRUE(list.merge(1, core::Dictionary{{"IsVisible", true}, {"Value", "x"}}));
    EXPECT_EQ(list.visibleRow(1), 1);
    EXPECT_EQ(*list.at(1)->find("Value"), core::Value("x"));
    EXPECT_EQ(*list.at(1)->find("_Name"), core::Value("b")) << "a merge keeps keys the update does not name";
    expectConsistent(list);

    list.append(cell("d", false));
    list.append(cell("e"));
    EXPECT_EQ(list.visibleRow(4), 3);
    expectConsistent(list);

    EXPECT_FALSE(list.replace(9, cell("z")));
    EXPECT_FALSE(list.merge(-1, {}));
    EXPECT_FALSE(list.setValue(5, true));
    ASSERT_TRUE(list.setValue(0, true));
    EXPECT_EQ(*list.at(0)->find("Value"), core::Value(true));
}

TEST(FormCellRowListMapping, EmptyAndAllHidden) {
    FormCellRowList list(&FormCellRowList::isSectionCellVisible);
    EXPECT_TRUE(list.allHidden());
    EXPECT_EQ(list.actualRow(0), -1);
    EXPECT_EQ(list.visibleRow(0), -1);
    list.append(cell("a", false));
    list.append(cell("b", 0));
    EXPECT_TRUE(list.allHidden());
    EXPECT_EQ(list.visibleAt(0), nullptr);
    expectConsistent(list);
}

// What an owner found out about a cell holds while the list's generation
// lasts: every change ends it, a refused change or a read does not, and no
// two lists share one.
TEST(FormCellRowListGeneration, EveryChangeEndsItAndNoTwoListsShareOne) {
    FormCellRowList list;
    FormCellRowList other;
    EXPECT_NE(list.generation(), other.generation());
    std::uint64_t seen = list.generation();
    auto changed = [&] {
        const bool was = list.generation() != seen;
        seen = list.generation();
        return was;
    };
    list.append(cell("a"));
    EXPECT_TRUE(changed());
    EXPECT_TRUE(list.setValue(0, core::Value("x")));
    EXPECT_TRUE(changed());
    EXPECT_TRUE(list.merge(0, cell("b")));
    EXPECT_TRUE(changed());
    EXPECT_TRUE(list.replace(0, cell("c")));
    EXPECT_TRUE(changed());
    EXPECT_FALSE(list.setValue(3, core::Value("x")));
    EXPECT_NE(list.visibleAt(0), nullptr);
    EXPECT_EQ(list.visibleCount(), 1);
    EXPECT_FALSE(changed());
    other.append(cell("a"));
    EXPECT_NE(list.generation(), other.generation());
}

// A change to one cell ends what was found out about that cell only, so a
// host update or a person's change on one row leaves the rest alone.
TEST(FormCellRowListGeneration, AChangeToOneCellEndsOnlyItsOwnRowGeneration) {
    FormCellRowList list;
    list.append(cell("a"));
    list.append(cell("b"));
    list.append(cell("c", false));
    EXPECT_EQ(list.rowGeneration(3), 0u);
    EXPECT_EQ(list.rowGeneration(-1), 0u);
    auto generations = [&] {
        return std::vector<std::uint64_t>{list.rowGeneration(0), list.rowGeneration(1), list.rowGeneration(2)};
    };
    struct Change {
        const char* what;
        std::function<bool()> change;
        int row;
    } changes[] = {
        {"setValue", [&] { return list.setValue(1, core::Value("typed")); }, 1},
        {"merge",
         [&] {
             return list.merge(0, core::Dictionary{{"Caption", "new"}});
         },
         0},
        {"replace", [&] { return list.replace(2, cell("d")); }, 2},
        {"append",
         [&] {
             list.append(cell("e"));
             return true;
         },
         -1},
    };
    for (const auto& c : changes) {
        SCOPED_TRACE(c.what);
        const auto before = generations();
        ASSERT_TRUE(c.change());
        const auto after = generations();
        for (int row = 0; row < 3; ++row) {
            EXPECT_EQ(before[static_cast<std::size_t>(row)] != after[static_cast<std::size_t>(row)], row == c.row)
                << row;
        }
    }
    EXPECT_NE(list.rowGeneration(3), 0u);
}

// Each cell's kind is read when it is stored and read again only when a
// change names a type.
TEST(FormCellRowListKinds, TheKindFollowsTheStoredType) {
    using Kind = FormCellType::Kind;
    FormCellRowList list;
    list.append(cell("a"));
    list.append(core::Dictionary{{"_Name", "b"}, {"_Type", "Control.Type.FormCell.Slider"}});
    list.append(core::Dictionary{{"_Name", "c"}});
    EXPECT_EQ(list.kind(0), Kind::Title);
    EXPECT_EQ(list.kind(1), std::nullopt);
    EXPECT_EQ(list.kind(2), std::nullopt);
    EXPECT_EQ(list.kind(3), std::nullopt);
    EXPECT_EQ(list.kind(-1), std::nullopt);

    ASSERT_TRUE(list.merge(0, core::Dictionary{{"_Type", "Control.Type.FormCell.Extension"}}));
    ASSERT_TRUE(list.merge(1, core::Dictionary{{"Caption", "no type"}}));
    ASSERT_TRUE(list.replace(2, core::Dictionary{{"_Type", "Control.Type.FormCell.Switch"}}));
    ASSERT_TRUE(list.setValue(0, core::Value("x")));
    EXPECT_EQ(list.kind(0), Kind::Extension);
    EXPECT_EQ(list.kind(1), std::nullopt);
    EXPECT_EQ(list.kind(2), Kind::Switch);
    ASSERT_TRUE(list.merge(0, core::Dictionary{{"_Type", 3}}));
    EXPECT_EQ(list.kind(0), std::nullopt);
}

// An owner looks a row's callback object up again only for the row that
// changed, or for every row once its map of callback objects changed.
TEST(RowDelegates, ALookupIsKeptUntilItsRowChangesOrTheMapDoes) {
    FormCellRowList list;
    for (const char* name : {"a", "b", "c"}) list.append(cell(name));
    formcells::RowDelegates kept;
    int lookups = 0;
    auto found = std::make_shared<core::Object>();
    auto find = [&](int row) {
        return kept.find(0, list, row, [&] {
            ++lookups;
            return found;
        });
    };
    auto lookupsFor = [&](const std::vector<int>& rows) {
        const int before = lookups;
        for (int row : rows) EXPECT_EQ(find(row), found);
        return lookups - before;
    };
    EXPECT_EQ(lookupsFor({0, 1, 2}), 3);
    EXPECT_EQ(lookupsFor({0, 1, 2}), 0);
    ASSERT_TRUE(list.setValue(1, core::Value("typed")));  // a person's change
    EXPECT_EQ(lookupsFor({0, 1, 2}), 1);
    ASSERT_TRUE(list.merge(2, core::Dictionary{{"Caption", "host"}}));  // a host update
    EXPECT_EQ(lookupsFor({0, 1, 2}), 1);
    list.append(cell("d"));
    EXPECT_EQ(lookupsFor({0, 1, 2, 3}), 1);
    kept.forget();
    EXPECT_EQ(lookupsFor({0, 1, 2, 3}), 4);
    // Rows out of range are answered, never kept.
    EXPECT_EQ(lookupsFor({-1, 4}), 2);
}

// A change that leaves a row's name alone carries what was kept for the
// row over to its new generation (the caller gives the generation the
// change began from, read from the same list); it never revives what the
// map's change or an earlier generation ended, nor passes to another list.
TEST(RowDelegates, AChangeThatKeepsTheNameKeepsTheLookup) {
    FormCellRowList list;
    for (const char* name : {"a", "b"}) list.append(cell(name));
    formcells::RowDelegates kept;
    int lookups = 0;
    auto found = std::make_shared<core::Object>();
    auto find = [&](const FormCellRowList& rows, int row) {
        return kept.find(0, rows, row, [&] {
            ++lookups;
            return found;
        });
    };
    auto carried = [&](int row, auto change) {
        const std::uint64_t before = list.rowGeneration(row);
        change();
        kept.carry(0, list, row, before);
        const int was = lookups;
        EXPECT_EQ(find(list, row), found);
        return lookups == was;
    };
    EXPECT_EQ(find(list, 0), found);
    EXPECT_TRUE(carried(0, [&] { list.setValue(0, core::Value("typed")); }));
    EXPECT_TRUE(carried(0, [&] { list.merge(0, core::Dictionary{{"Caption", "host"}}); }));
    // Nothing kept for the row: nothing to carry.
    EXPECT_FALSE(carried(1, [&] { list.setValue(1, core::Value("typed")); }));
    // Kept for a generation that an earlier change, not carried, ended.
    list.setValue(1, core::Value("again"));
    const std::uint64_t before = list.rowGeneration(1);
    list.setValue(1, core::Value("once more"));
    kept.carry(0, list, 1, before);
    int was = lookups;
    find(list, 1);
    EXPECT_EQ(lookups, was + 1);
    // The map changed since the lookup.
    kept.forget();
    EXPECT_FALSE(carried(0, [&] { list.setValue(0, core::Value("later")); }));
    // Another list at the same place: what was kept for this one is not its.
    FormCellRowList other;
    other.append(cell("a"));
    const std::uint64_t otherBefore = other.rowGeneration(0);
    other.setValue(0, core::Value("typed"));
    kept.carry(0, other, 0, otherBefore);
    was = lookups;
    find(other, 0);
    EXPECT_EQ(lookups, was + 1);
    // Rows and sections out of range carry nothing and do not fail.
    kept.carry(0, list, 7, 1);
    kept.carry(5, list, 0, 1);
    kept.carry(-1, list, -1, 1);
}

// Only a text under "_Name" finds a callback object, so rows without one
// find the same (none) whatever else they hold there.
TEST(RowDelegates, RowsFindTheSameCallbackObjectOnlyUnderTheSameName) {
    struct Case {
        core::Dictionary before;
        core::Dictionary after;
        bool same;
    };
    const Case cases[] = {
        {{{"_Name", "a"}}, {{"_Name", "a"}, {"Value", 1}}, true},
        {{{"_Name", "a"}}, {{"_Name", "b"}}, false},
        {{{"_Name", "a"}}, {}, false},
        {{}, {{"_Name", "a"}}, false},
        {{}, {{"_Name", 3}}, true},
        {{{"_Name", "3"}}, {{"_Name", 3}}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formcells::RowDelegates::sameName(c.before, c.after), c.same)
            << core::Value(c.before).description() << " " << core::Value(c.after).description();
    }
}

// What a table reads of a shown row in one go follows every road that
// changes the rows: hiding and showing (the index is rebuilt), a host's
// replace or update, a person's value, cells appended after the lookups.
TEST(FormCellRowListShown, FollowsEveryChangeToTheRows) {
    FormCellRowList list;
    for (const char* name : {"a", "b", "c"}) list.append(cell(name));
    auto expectShown = [&](int visibleRow) {
        const FormCellRowList::Shown shown = list.shown(visibleRow);
        const int actual = list.actualRow(visibleRow);
        EXPECT_EQ(shown.actualRow, actual) << visibleRow;
        EXPECT_EQ(shown.params, list.at(actual)) << visibleRow;
        EXPECT_EQ(shown.kind, list.kind(actual)) << visibleRow;
        EXPECT_EQ(shown.generation, list.rowGeneration(actual)) << visibleRow;
    };
    auto expectAll = [&] {
        for (int v = -1; v <= list.visibleCount(); ++v) expectShown(v);
    };
    expectAll();
    EXPECT_EQ(list.shown(1).params, list.at(1));

    ASSERT_TRUE(list.replace(0, cell("a", false)));  // hidden: the rows below move up
    EXPECT_EQ(list.shown(0).actualRow, 1);
    expectAll();
    ASSERT_TRUE(list.merge(0, core::Dictionary{{"IsVisible", true}}));  // shown again
    EXPECT_EQ(list.shown(0).actualRow, 0);
    expectAll();

    const std::uint64_t before = list.shown(2).generation;
    ASSERT_TRUE(list.merge(2, core::Dictionary{{"_Type", "Control.Type.FormCell.Switch"}}));
    EXPECT_NE(list.shown(2).generation, before);
    EXPECT_EQ(list.shown(2).kind, FormCellType::Kind::Switch);
    ASSERT_TRUE(list.setValue(1, core::Value("typed")));
    expectAll();

    list.append(cell("d", false));
    list.append(cell("e"));
    EXPECT_EQ(list.shown(3).actualRow, 4);
    EXPECT_EQ(list.shown(4).params, nullptr);
    expectAll();
}

// Each table section keeps its own rows' callback objects: the same host
// row in two sections is two rows.
TEST(RowDelegates, SectionsKeepTheirOwnRows) {
    FormCellRowList first;
    FormCellRowList third;
    first.append(cell("a"));
    third.append(cell("b"));
    formcells::RowDelegates kept;
    auto a = std::make_shared<core::Object>();
    auto b = std::make_shared<core::Object>();
    int lookups = 0;
    auto find = [&](int section, const FormCellRowList& list, const std::shared_ptr<core::Object>& answer) {
        return kept.find(section, list, list.shown(0), [&] {
            ++lookups;
            return answer;
        });
    };
    EXPECT_EQ(find(2, third, b), b);  // a later section first
    EXPECT_EQ(find(0, first, a), a);
    EXPECT_EQ(find(2, third, a), b);  // kept, not looked up again
    EXPECT_EQ(find(0, first, b), a);
    EXPECT_EQ(lookups, 2);
    // No shown row, or no section: answered, never kept.
    EXPECT_EQ(kept.find(0, first, first.shown(1), [&] { return b; }), b);
    EXPECT_EQ(kept.find(-1, first, first.shown(0), [&] { return b; }), b);
    EXPECT_EQ(find(0, first, b), a);
}

// Reading rows ahead for a scrolling table is a hint: at the ends of the
// list, beside hidden runs, over rows without entries or with long texts
// and lists, in either direction and while the index waits for a rebuild,
// it reads nothing out of range and changes no answer of the list.
TEST(FormCellRowListPrefetch, ReadsAheadAnywhereWithoutChangingAnAnswer) {
    const std::string longText(200, 'x');
    FormCellRowList list;
    list.append(cell("hidden-first", false));
    list.append(core::Dictionary{});
    list.append(core::Dictionary{{"_Type", "Control.Type.FormCell.ListPicker"},
                                 {"A key longer than a string keeps inside itself", longText},
                                 {"PickerItems", core::Array{longText, "short", core::Array{}}},
                                 {"Value", core::Array{}}});
    for (const char* name : {"run-1", "run-2", "run-3"}) list.append(cell(name, false));
    list.append(cell("after-run"));
    list.append(cell("hidden-last", false));

    struct Answer {
        int actualRow;
        const core::Dictionary* params;
        std::optional<FormCellType::Kind> kind;
        std::uint64_t generation;
        bool operator==(const Answer&) const = default;
    };
    const auto answers = [&] {
        std::vector<Answer> all;
        for (int v = -1; v <= list.visibleCount(); ++v) {
            const FormCellRowList::Shown s = list.shown(v);
            all.push_back({s.actualRow, s.params, s.kind, s.generation});
        }
        for (int r = -1; r <= static_cast<int>(list.size()); ++r) {
            all.push_back({list.visibleRow(r), list.at(r), list.kind(r), list.rowGeneration(r)});
        }
        return all;
    };
    const auto readAheadEverywhere = [&] {
        const int count = static_cast<int>(list.size());
        for (int v = -8; v <= count + 8; ++v) list.prefetchAfter(v);  // down
        for (int v = count + 8; v >= -8; --v) list.prefetchAfter(v);  // up
        for (int v : {0, 2, 1, 1, 3, -1, 2}) list.prefetchAfter(v);   // back and forth
    };

    const std::vector<Answer> before = answers();
    const std::uint64_t generation = list.generation();
    readAheadEverywhere();
    EXPECT_EQ(answers(), before);
    EXPECT_EQ(list.generation(), generation);
    expectConsistent(list);

    // Waiting for a rebuild: the hint leaves the index to the next question.
    ASSERT_TRUE(list.merge(4, core::Dictionary{{"IsVisible", true}}));
    readAheadEverywhere();
    EXPECT_EQ(list.shown(2).actualRow, 4);
    expectConsistent(list);

    FormCellRowList none;
    none.prefetchAfter(0);
    EXPECT_EQ(none.shown(0).params, nullptr);
}
