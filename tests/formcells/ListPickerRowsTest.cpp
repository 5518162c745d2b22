#include "formcells/ListPickerRows.h"

#include <gtest/gtest.h>

#include <new>
#include <string>
#include <utility>

#include "platform/ui/UINavigationController.h"
#include "platform/vessa/VUIListPicker.h"
#include "platform/vessa/VUIListPickerFormCell.h"
#include "platform/vessa/VUIListPickerTableViewController.h"

namespace trc::formcells {
namespace {

using Cell = std::shared_ptr<vessa::VUIListPickerFormCell>;

Cell newCell() { return std::make_shared<vessa::VUIListPickerFormCell>(); }

// What tapping the row does, without a form around it: the picker's screen
// on a navigation stack of its own.
std::shared_ptr<ui::UINavigationController> openPicker(const Cell& cell) {
    auto screen = std::make_shared<vessa::VUIListPickerTableViewController>(cell->listPicker());
    auto nav = ui::UINavigationController::make(screen);
    screen->loadViewIfNeeded();
    return nav;
}

TEST(ListPickerRowMemory, AnOpenPickerFollowsItsRowFromCellToCell) {
    ListPickerRows rows;
    Cell a = newCell(), b = newCell();
    rows.willBuild("tool", a);
    rows.willBuild("part", b);
    auto nav = openPicker(b);
    ASSERT_TRUE(b->openPickerScreen());
    auto open = b->listPicker();

    // The host showed a row above: the rows are built again, into each other's cells.
    rows.willBuild("tool", b);
    EXPECT_NE(b->listPicker(), open) << "the tool row never shows the part row's picker";
    EXPECT_EQ(open->cell(), nullptr) << "waiting for its row, it takes no selection";
    EXPECT_FALSE(b->openPickerScreen());
    rows.willBuild("part", a);
    EXPECT_EQ(a->listPicker(), open);
    EXPECT_EQ(open->cell(), a.get());
    EXPECT_TRUE(a->openPickerScreen());

    rows.willBuild("part", a);
    EXPECT_EQ(a->listPicker(), open) << "the same cell again keeps it";

    Cell c = newCell();
    rows.willBuild("part", c);
    EXPECT_EQ(c->listPicker(), open) << "a new cell takes it from the row's cell before";
    EXPECT_NE(a->listPicker(), open);
    EXPECT_EQ(a->listPicker()->cell(), a.get()) << "and leaves that cell a picker of its own";

    rows.willBuild("tool", c);
    rows.willBuild("other", a);
    EXPECT_EQ(open->cell(), nullptr) << "a row hidden meanwhile keeps its picker waiting";
}

TEST(ListPickerRowMemory, AnOpenPickerWhoseCellIsGoneFollowsItsRowIntoANewCell) {
    ListPickerRows rows;
    Cell a = newCell();
    rows.willBuild("tool", a);
    auto nav = openPicker(a);
    std::weak_ptr<vessa::VUIListPicker> open = a->listPicker();
    a.reset();  // the table let the hidden row's cell go
    ASSERT_FALSE(open.expired()) << "its screen keeps the picker";
    EXPECT_EQ(open.lock()->cell(), nullptr);

    Cell b = newCell();
    rows.willBuild("part", b);
    EXPECT_NE(b->listPicker(), open.lock()) << "another row never takes it";
    Cell c = newCell();
    rows.willBuild("tool", c);
    EXPECT_EQ(c->listPicker(), open.lock());
    EXPECT_EQ(open.lock()->cell(), c.get()) << "picks land again";
    EXPECT_TRUE(c->openPickerScreen());
}

// Names alike but for their middle, or short, or empty, are each their own row.
TEST(ListPickerRowMemory, RowsNamedAlikeKeepTheirOwnOpenPickers) {
    const std::pair<std::string, std::string> pairs[] = {
        {"WorkOrderAFormRow1", "WorkOrderBFormRow1"},
        {"Row17", "Row18"},
        {"", "x"},
        {"17Code", "18Code"},
    };
    for (const auto& [first, second] : pairs) {
        SCOPED_TRACE(first + " / " + second);
        ListPickerRows rows;
        Cell a = newCell(), b = newCell();
        rows.willBuild(first, a);
        rows.willBuild(second, b);
        auto nav = openPicker(b);
        auto open = b->listPicker();
        rows.willBuild(first, b);
        EXPECT_NE(b->listPicker(), open);
        rows.willBuild(second, a);
        EXPECT_EQ(a->listPicker(), open);
        EXPECT_TRUE(a->openPickerScreen());
    }
}

// A new cell at the address of one that is gone is another cell: a row
// built into it leaves the gone cell's row and its waiting picker alone.
TEST(ListPickerRowMemory, ANewCellAtAGoneCellsAddressIsAnotherCell) {
    alignas(vessa::VUIListPickerFormCell) static unsigned char room[sizeof(vessa::VUIListPickerFormCell)];
    const auto inRoom = [] {
        return Cell(new (room) vessa::VUIListPickerFormCell(),
                    [](vessa::VUIListPickerFormCell* c) { c->~VUIListPickerFormCell(); });
    };
    ListPickerRows rows;
    Cell a = inRoom();
    rows.willBuild("tool", a);
    auto nav = openPicker(a);
    auto open = a->listPicker();
    a.reset();
    Cell b = inRoom();
    ASSERT_EQ(static_cast<void*>(b.get()), static_cast<void*>(room));
    rows.willBuild("part", b);
    EXPECT_NE(b->listPicker(), open);
    Cell c = newCell();
    rows.willBuild("tool", c);
    EXPECT_EQ(c->listPicker(), open) << "the tool row's picker still waits for it";
    b.reset();
}

TEST(ListPickerRowMemory, APickerClosedWhileItWaitedIsForgotten) {
    ListPickerRows rows;
    Cell a = newCell(), b = newCell();
    rows.willBuild("tool", a);
    auto nav = openPicker(a);
    auto open = a->listPicker();
    rows.willBuild("part", a);
    EXPECT_NE(a->listPicker(), open);
    nav.reset();
    open.reset();
    rows.willBuild("tool", b);
    EXPECT_FALSE(b->openPickerScreen()) << "the row keeps the cell's own picker";
    EXPECT_EQ(b->listPicker()->cell(), b.get());
}

TEST(ListPickerRowMemory, AClosedPickerStaysWithItsCell) {
    ListPickerRows rows;
    Cell a = newCell(), b = newCell();
    rows.willBuild("tool", a);
    rows.willBuild("part", b);
    auto pickerA = a->listPicker(), pickerB = b->listPicker();
    rows.willBuild("tool", b);
    rows.willBuild("part", a);
    EXPECT_EQ(a->listPicker(), pickerA);
    EXPECT_EQ(b->listPicker(), pickerB);
}

TEST(ListPickerRowMemory, PicksAreRememberedPerRow) {
    ListPickerRows rows;
    EXPECT_TRUE(rows.pickedItems("city").empty());
    rows.setPickedItems("city",
                        {core::Dictionary{{"UniqueId", core::Value("lon")}, {"DisplayValue", core::Value("London")}}});
    ASSERT_EQ(rows.pickedItems("city").size(), 1u);
    EXPECT_TRUE(rows.pickedItems("town").empty());
    rows.setPickedItems("city", {});
    EXPECT_TRUE(rows.pickedItems("city").empty());
}

// ---- The form of a row's items ----------------------------------------------------------

using Form = ListPickerRows::ItemsForm;

core::Value list(core::Array items) { return core::Value(std::move(items)); }

TEST(ListPickerItemForms, EachListIsToldByItsItemsWhetherRememberedOrNot) {
    const core::Dictionary oak{{"DisplayValue", "Oak"}};
    const struct {
        const char* what;
        core::Value items;
        Form form;
    } cases[] = {
        {"a text", core::Value("Oak"), Form::NoList},
        {"a dictionary", core::Value(oak), Form::NoList},
        {"no item", list({}), Form::Dictionaries},
        {"dictionaries", list({oak, oak}), Form::Dictionaries},
        {"texts", list({"Oak", "Elm"}), Form::Texts},
        {"a number among texts", list({"Oak", "Elm", 3}), Form::Mixed},
        {"a text among dictionaries", list({oak, "Elm"}), Form::Mixed},
        {"a list of texts", list({list({"Oak"})}), Form::Mixed},
    };
    ListPickerRows rows;
    EXPECT_EQ(ListPickerRows::formOf(nullptr), Form::NoList);
    EXPECT_EQ(rows.itemsForm(nullptr), Form::NoList);
    for (int asked = 0; asked < 2; ++asked) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.what);
            EXPECT_EQ(ListPickerRows::formOf(&c.items), c.form);
            EXPECT_EQ(rows.itemsForm(&c.items), c.form);
        }
    }
}

// Freed, a list's array leaves its address to the next one of its size: a
// form found for the old list must never be taken for the new one.
TEST(ListPickerItemForms, ANewListAtTheAddressOfAFreedOneIsReadAgain) {
    ListPickerRows rows;
    for (int round = 0; round < 8; ++round) {
        {
            const core::Value texts = list({"Oak", "Elm"});
            ASSERT_EQ(rows.itemsForm(&texts), Form::Texts);
        }
        const core::Value mixed = list({"Oak", 2});
        EXPECT_EQ(rows.itemsForm(&mixed), Form::Mixed);
        const core::Value dictionaries = list({core::Dictionary{}, core::Dictionary{}});
        EXPECT_EQ(rows.itemsForm(&dictionaries), Form::Dictionaries);
    }
}

// A host's update may change the row's stored list where it lies.
TEST(ListPickerItemForms, AListChangedInPlaceIsReadAgain) {
    ListPickerRows rows;
    core::Value items = list({"Oak", "Elm"});
    ASSERT_EQ(rows.itemsForm(&items), Form::Texts);
    items.mutableArray().emplace_back(3);
    EXPECT_EQ(rows.itemsForm(&items), Form::Mixed);
    items.mutableArray() = {core::Dictionary{}};
    EXPECT_EQ(rows.itemsForm(&items), Form::Dictionaries);
}

// More lists than are remembered: the ones forgotten are read again, every
// answer right.
TEST(ListPickerItemForms, ManyListsAreEachToldRight) {
    ListPickerRows rows;
    std::vector<core::Value> lists;
    for (int i = 0; i < 12000; ++i) {
        if (i % 3 == 0) lists.push_back(list({"Oak", std::to_string(i)}));
        if (i % 3 == 1) lists.push_back(list({"Oak", i}));
        if (i % 3 == 2) lists.push_back(list({core::Dictionary{}}));
    }
    const Form forms[] = {Form::Texts, Form::Mixed, Form::Dictionaries};
    for (int asked = 0; asked < 2; ++asked) {
        for (std::size_t i = 0; i < lists.size(); ++i) ASSERT_EQ(rows.itemsForm(&lists[i]), forms[i % 3]) << i;
    }
}

}  // namespace
}  // namespace trc::formcells
