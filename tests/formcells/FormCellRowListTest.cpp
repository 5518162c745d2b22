#include <gtest/gtest.h>

#include "formcells/FormCellRowList.h"
#include "formcells/FormCellType.h"

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
    for (const char* bad : {"control.type.formcell.switch", "Control.Type.FormCell.Switch ", " Control.Type.FormCell.Switch",
                            "Switch", "Control.Type.FormCell.", ""}) {
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
        {core::Value(), true, true},        {true, true, true},          {false, false, false},
        {"true", false, false},             {"false", false, false},     {1, true, false},
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
