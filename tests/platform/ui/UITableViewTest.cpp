#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "platform/core/internal/Logging.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewCell.h"
#include "platform/ui/UITableViewDataSource.h"
#include "platform/ui/UITableViewDelegate.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UIWindow.h"
#include "testsupport/ProcessStateReset.h"

using namespace trc;
using namespace trc::ui;

namespace {

// A cell holding a text field, so focus can live inside a row.
class FieldCell : public UITableViewCell {
public:
    FieldCell() { contentView()->addSubview(field); }
    std::shared_ptr<UITextField> field = std::make_shared<UITextField>();
};

// Rows per section; each built cell's label says which row it shows.
class Rows : public UITableViewDataSource, public UITableViewDelegate {
public:
    std::vector<int> counts{3};
    int built = 0;
    std::vector<IndexPath> selected;
    std::function<void(UITableView&)> duringBuild;
    // When set and answering a cell, that cell is the row's, as is.
    std::function<std::shared_ptr<UITableViewCell>(const IndexPath&)> handOut;
    std::map<IndexPath, double> heights;

    int numberOfSections(UITableView&) override { return static_cast<int>(counts.size()); }
    int numberOfRowsInSection(UITableView&, int section) override { return counts[static_cast<std::size_t>(section)]; }
    std::shared_ptr<UITableViewCell> cellForRowAt(UITableView& table, const IndexPath& p) override {
        ++built;
        if (duringBuild) duringBuild(table);
        if (auto given = handOut ? handOut(p) : nullptr) return given;
        auto cell = table.dequeueReusableCell("row", p);
        if (cell) cell->textLabel()->text = p.description();
        return cell;
    }
    std::optional<double> heightForRowAt(UITableView&, const IndexPath& p) override {
        asked += " height" + p.description();
        auto it = heights.find(p);
        return it == heights.end() ? std::nullopt : std::optional<double>(it->second);
    }
    std::shared_ptr<UIView> viewForHeaderInSection(UITableView&, int section) override {
        asked += " header " + std::to_string(section);
        return nullptr;  // a section header of no view of its own: its title's, if any
    }
    std::optional<double> heightForHeaderInSection(UITableView&, int section) override {
        asked += " headerHeight " + std::to_string(section);
        return headerHeight;
    }
    std::optional<double> headerHeight;
    // What the table asked of the rows and sections, in order.
    std::string asked;
    void didSelectRowAt(UITableView&, const IndexPath& p) override { selected.push_back(p); }
};

class TableTest : public ::testing::Test {
protected:
    void SetUp() override {
        core::ProcessStateReset::resetAll();
        dispatch::MainQueue::resetShared();
        core::internal::Logging::clearCaptured();
        table->registerClass<FieldCell>("row");
        table->setDataSource(rows);
        table->setDelegate(rows);
        window->addSubview(table);
    }

    // "[0, 0] [0, 1]": the rows on screen, each checked against its cell's label.
    std::string shown() {
        std::string out;
        for (const auto& p : table->indexPathsForVisibleRows()) {
            auto cell = table->cellForRow(p);
            EXPECT_EQ(cell->textLabel()->text, p.description()) << "cell shows another row";
            EXPECT_EQ(table->indexPathForCell(*cell), p);
            out += (out.empty() ? "" : " ") + p.description();
        }
        return out;
    }
    bool loggedError() {
        for (const auto& r : core::internal::Logging::captured()) {
            if (r.severity == core::Severity::error) return true;
        }
        return false;
    }

    std::shared_ptr<UIWindow> window = std::make_shared<UIWindow>();
    std::shared_ptr<UITableView> table = std::make_shared<UITableView>();
    std::shared_ptr<Rows> rows = std::make_shared<Rows>();
};

class TableVisibility : public TableTest {};

TEST_F(TableVisibility, NothingIsAskedBeforeTheFirstLayout) {
    table->reloadData();
    EXPECT_EQ(rows->built, 0);
    table->layoutIfNeeded();
    EXPECT_EQ(shown(), "[0, 0] [0, 1] [0, 2]");
}

TEST_F(TableVisibility, OnlyRowsThatFitAreBuiltAndTheRestAreAbsent) {
    rows->counts = {2, 3};
    table->setRowsOnScreen(3);
    table->layoutIfNeeded();
    EXPECT_EQ(shown(), "[0, 0] [0, 1] [1, 0]");
    EXPECT_EQ(table->cellForRow({1, 1}), nullptr);
    EXPECT_EQ(rows->built, 3);
}

TEST_F(TableVisibility, ScrollBuildsTheNewRowsFromReusedCells) {
    rows->counts = {10};
    table->setRowsOnScreen(3);
    table->layoutIfNeeded();
    auto first = table->cellForRow({0, 0});
    table->scrollToRow({0, 5}, UITableView::ScrollPosition::Bottom, false);
    EXPECT_EQ(shown(), "[0, 3] [0, 4] [0, 5]");
    EXPECT_EQ(first->reuseCount(), 1) << "a cell that left the screen comes back for a new row";
    EXPECT_EQ(first->superview(), table);
    table->scrollToRow({0, 9}, UITableView::ScrollPosition::Top, false);
    EXPECT_EQ(shown(), "[0, 7] [0, 8] [0, 9]") << "the window stops at the last row";
    table->scrollToRow({0, 5}, UITableView::ScrollPosition::Middle, false);
    EXPECT_EQ(shown(), "[0, 4] [0, 5] [0, 6]");
    table->scrollToRow({0, 5}, UITableView::ScrollPosition::None, false);
    EXPECT_EQ(shown(), "[0, 4] [0, 5] [0, 6]") << "an on-screen row does not move";
}

TEST_F(TableVisibility, ScrollToARowOutOfRangeIsLoggedAndIgnored) {
    rows->counts = {4};
    table->setRowsOnScreen(2);
    table->layoutIfNeeded();
    table->scrollToRow({0, 4}, UITableView::ScrollPosition::Bottom, false);
    table->scrollToRow({3, 0}, UITableView::ScrollPosition::Bottom, false);
    EXPECT_TRUE(loggedError());
    EXPECT_EQ(shown(), "[0, 0] [0, 1]");
}

TEST_F(TableVisibility, AScrollAsksOnlyTheRowsAndSectionsItBringsOnScreen) {
    rows->counts = {3, 3};
    rows->headerHeight = 20;
    table->setRowsOnScreen(2);
    table->layoutIfNeeded();
    EXPECT_EQ(rows->asked, " header 0 headerHeight 0 height[0, 0] height[0, 1]");
    rows->asked.clear();
    table->scrollToRow({0, 1}, UITableView::ScrollPosition::Top, false);
    EXPECT_EQ(rows->asked, " height[0, 2]") << "the row that stays and its section keep theirs";
    rows->asked.clear();
    table->scrollToRow({0, 2}, UITableView::ScrollPosition::Top, false);
    EXPECT_EQ(rows->asked, " header 1 headerHeight 1 height[1, 0]") << "a section coming on screen is asked";
    EXPECT_EQ(table->cellForRow({1, 0})->frame().minY(), 20 + 44 + 20);
    rows->asked.clear();
    table->scrollToRow({1, 0}, UITableView::ScrollPosition::Top, false);
    table->scrollToRow({0, 2}, UITableView::ScrollPosition::Top, false);
    EXPECT_EQ(rows->asked, " height[1, 1] header 0 headerHeight 0 height[0, 2]") << "one that left is asked again";

    rows->asked.clear();
    table->setNeedsLayout();
    table->layoutIfNeeded();
    EXPECT_EQ(rows->asked, " headerHeight 0 height[0, 2] headerHeight 1 height[1, 0]")
        << "a layout asks every height again";
    rows->asked.clear();
    table->reloadData();
    EXPECT_EQ(rows->asked, " header 0 header 1 headerHeight 0 height[0, 2] headerHeight 1 height[1, 0]")
        << "a reload asks for everything again";
}

TEST_F(TableVisibility, RowFramesFollowTheirHeights) {
    rows->heights[{0, 0}] = 10;
    table->rowHeight = 30;
    table->layoutIfNeeded();
    EXPECT_EQ(table->cellForRow({0, 1})->frame().minY(), 10);
    EXPECT_EQ(table->cellForRow({0, 2})->frame().minY(), 40);
}

TEST_F(TableVisibility, ScrollingKeepsEachRowInOneCellAtItsPlace) {
    rows->counts = {30};
    rows->headerHeight = 12;
    for (int r = 0; r < 30; r += 3) rows->heights[{0, r}] = 10 + r;
    table->setRowsOnScreen(5);
    table->layoutIfNeeded();
    auto focused = std::dynamic_pointer_cast<FieldCell>(table->cellForRow({0, 2}));
    ASSERT_TRUE(focused && focused->field->becomeFirstResponder());
    // Row by row down and back, and jumps within the section and past every row on screen.
    std::vector<int> tops;
    for (int t = 1; t <= 25; ++t) tops.push_back(t);
    for (int t : {24, 23, 21, 14, 15, 3, 0, 2, 25, 25}) tops.push_back(t);
    for (int top : tops) {
        table->scrollToRow({0, top}, UITableView::ScrollPosition::Top, false);
        std::string expected;
        for (int r = top; r < top + 5; ++r) expected += (r == top ? "" : " ") + IndexPath{0, r}.description();
        ASSERT_EQ(shown(), expected) << "scrolled to " << top;
        double y = 12;
        std::set<const UIView*> cells;
        for (int r = top; r < top + 5; ++r) {
            auto cell = table->cellForRow({0, r});
            EXPECT_EQ(cell->superview(), table);
            EXPECT_TRUE(cells.insert(cell.get()).second) << "one cell shows two rows";
            auto height = rows->heights.find({0, r});
            EXPECT_EQ(cell->frame(),
                      CGRect(0, y, table->frame().size.width, height == rows->heights.end() ? 44 : height->second))
                << "row " << r << " at top " << top;
            y += cell->frame().size.height;
        }
        std::set<const UIView*> inTable;
        for (const auto& v : table->subviews()) {
            if (std::dynamic_pointer_cast<UITableViewCell>(v)) inTable.insert(v.get());
        }
        EXPECT_EQ(inTable, cells) << "the table holds exactly the cells of the rows on screen";
        if (top > 2) {
            EXPECT_EQ(window->firstResponder(), nullptr) << "the focused row left the screen";
        }
    }
}

TEST_F(TableVisibility, AOneRowStepHandsTheRowThatLeftToTheRowThatEnters) {
    rows->counts = {12};
    for (int onScreen : {1, 2, 4}) {
        SCOPED_TRACE("rows on screen " + std::to_string(onScreen));
        table->setRowsOnScreen(onScreen);
        table->scrollToRow({0, 0}, UITableView::ScrollPosition::Top, false);
        table->layoutIfNeeded();
        // Down one row at a time, then back up: the row leaving at one end is
        // the only one in its pool, so the row entering at the other gets it.
        std::vector<std::pair<int, int>> steps;  // (top before, top after)
        for (int top = 0; top + onScreen < 12; ++top) steps.emplace_back(top, top + 1);
        for (int top = 12 - onScreen; top > 0; --top) steps.emplace_back(top, top - 1);
        for (const auto& [before, after] : steps) {
            const bool down = after > before;
            const IndexPath leaving{0, down ? before : before + onScreen - 1};
            const IndexPath entering{0, down ? after + onScreen - 1 : after};
            auto cell = table->cellForRow(leaving);
            const int reused = cell->reuseCount();
            table->scrollToRow({0, after}, UITableView::ScrollPosition::Top, false);
            ASSERT_EQ(table->cellForRow(entering), cell) << before << " -> " << after;
            EXPECT_EQ(cell->reuseCount(), reused + 1);
            EXPECT_EQ(table->cellForRow(leaving), nullptr);
            // The table holds the rows on screen, each once, in the order they came.
            std::vector<IndexPath> inTable;
            for (const auto& v : table->subviews()) {
                if (auto c = std::dynamic_pointer_cast<UITableViewCell>(v))
                    inTable.push_back(*table->indexPathForCell(*c));
            }
            ASSERT_EQ(inTable.size(), static_cast<std::size_t>(onScreen));
            EXPECT_EQ(inTable.back(), entering) << "the cell that entered was added last";
            std::sort(inTable.begin(), inTable.end());
            EXPECT_EQ(inTable, table->indexPathsForVisibleRows());
        }
    }
    EXPECT_FALSE(loggedError());
}

TEST_F(TableVisibility, ALongScrollRowByRowKeepsTheRowsPlacesAndTheTablesSubviewsInOrder) {
    // Many one-row steps down and up: the rows on screen and the table's
    // subviews keep taking back the room their leaving rows free.
    rows->counts = {160};
    for (int r = 0; r < 160; r += 7) rows->heights[{0, r}] = 20 + r % 5;
    table->setRowsOnScreen(20);
    table->layoutIfNeeded();
    std::vector<const UIView*> order;  // the table's subviews, oldest first
    for (int r = 0; r < 20; ++r) order.push_back(table->cellForRow({0, r}).get());
    std::vector<int> tops;
    for (int t = 1; t <= 140; ++t) tops.push_back(t);
    for (int t = 139; t >= 0; --t) tops.push_back(t);
    for (int t = 1; t <= 60; ++t) tops.push_back(t);
    int top = 0;
    for (int next : tops) {
        const bool down = next > top;
        std::erase(order, table->cellForRow({0, down ? top : top + 19}).get());
        table->scrollToRow({0, next}, UITableView::ScrollPosition::Top, false);
        top = next;
        order.push_back(table->cellForRow({0, down ? top + 19 : top}).get());
        std::string expected;
        for (int r = top; r < top + 20; ++r) expected += (r == top ? "" : " ") + IndexPath{0, r}.description();
        ASSERT_EQ(shown(), expected) << "top " << top;
        double y = 0;
        for (int r = top; r < top + 20; ++r) {
            const auto height = rows->heights.find({0, r});
            ASSERT_EQ(table->cellForRow({0, r})->frame(),
                      CGRect(0, y, table->frame().size.width, height == rows->heights.end() ? 44 : height->second))
                << "row " << r << " at top " << top;
            y += table->cellForRow({0, r})->frame().size.height;
        }
        const auto subviews = table->subviews();
        ASSERT_EQ(subviews.size(), order.size()) << "top " << top;
        for (std::size_t i = 0; i < order.size(); ++i) ASSERT_EQ(subviews[i].get(), order[i]) << "top " << top;
    }
    EXPECT_FALSE(loggedError());
}

TEST_F(TableVisibility, ARowThatStaysIsPutBackInPlaceAndMarkedForLayoutOnlyWhenItMoves) {
    rows->counts = {30};
    table->setRowsOnScreen(5);
    table->layoutIfNeeded();
    table->scrollToRow({0, 1}, UITableView::ScrollPosition::Top, false);
    table->layoutIfNeeded();
    const double width = table->frame().size.width;
    // Something other than the table moved one row that stays and resized another.
    auto moved = table->cellForRow({0, 3});
    moved->setFrame(CGRect(7, 0, width + 5, 44));
    auto taller = table->cellForRow({0, 4});
    taller->setFrame(CGRect(0, taller->frame().minY(), width, 60));
    table->layoutIfNeeded();
    table->scrollToRow({0, 2}, UITableView::ScrollPosition::Top, false);
    EXPECT_EQ(moved->frame(), CGRect(0, 44, width, 44));
    EXPECT_EQ(taller->frame(), CGRect(0, 88, width, 60)) << "a row that stays keeps its height";
    EXPECT_EQ(table->cellForRow({0, 5})->frame(), CGRect(0, 148, width, 44));
    table->layoutIfNeeded();
    // The same place again moves no row: none is marked for layout.
    table->scrollToRow({0, 2}, UITableView::ScrollPosition::Top, false);
    for (int r = 2; r < 7; ++r) EXPECT_FALSE(table->cellForRow({0, r})->needsLayout()) << "row " << r;
    table->scrollToRow({0, 3}, UITableView::ScrollPosition::Top, false);
    EXPECT_TRUE(taller->needsLayout()) << "a row that moved up is laid out again";
}

class TableReuse : public TableTest {};

TEST_F(TableReuse, UnknownIdentifierGivesAnErrorAndAStandInCell) {
    EXPECT_EQ(table->dequeueReusableCell("nope", {0, 0}), nullptr);
    EXPECT_TRUE(loggedError());
    EXPECT_EQ(table->dequeueReusableCell("nope"), nullptr);
    table->registerClass<FieldCell>("other");
    table->registerCell(
        "row", [] { return nullptr; }, "Broken");
    table->layoutIfNeeded();
    ASSERT_NE(table->cellForRow({0, 0}), nullptr) << "rows without a cell get an empty one";
    EXPECT_EQ(dynamic_cast<FieldCell*>(table->cellForRow({0, 0}).get()), nullptr);
}

// The rows that stay are moved without a look at whether they hold a cell:
// rows the data source gave none must hold their stand-ins through scrolls.
TEST_F(TableReuse, RowsGivenNoCellScrollWithTheirStandInsInPlace) {
    table->registerCell(
        "row", [] { return nullptr; }, "Broken");
    rows->counts = {8};
    rows->heights[{0, 3}] = 30;
    table->setRowsOnScreen(3);
    table->layoutIfNeeded();
    // The three rows from first on each hold a cell, one under the other.
    const auto placed = [&](int first) {
        SCOPED_TRACE("rows from " + std::to_string(first));
        double y = 0;
        for (int row = first; row < first + 3; ++row) {
            auto cell = table->cellForRow({0, row});
            ASSERT_NE(cell, nullptr) << "row " << row;
            EXPECT_EQ(cell->frame().minY(), y) << "row " << row;
            y += row == 3 ? 30 : 44;
        }
    };
    for (int first = 1; first <= 5; ++first) {
        table->scrollToRow({0, first + 2}, UITableView::ScrollPosition::Bottom, false);  // one row down
        placed(first);
    }
    for (int first = 4; first >= 0; --first) {
        table->scrollToRow({0, first}, UITableView::ScrollPosition::Top, false);  // one row up
        placed(first);
    }
}

TEST_F(TableReuse, RegisteringAgainReplacesTheClass) {
    table->registerClass<UITableViewCell>("row");
    EXPECT_EQ(table->registeredClassName("row"), "UITableViewCell");
    auto cell = table->dequeueReusableCell("row", {0, 0});
    EXPECT_EQ(cell->cellReuseIdentifier(), "row");
    EXPECT_EQ(dynamic_cast<FieldCell*>(cell.get()), nullptr);
}

TEST_F(TableReuse, RegisteringTheSameClassAgainKeepsTheCellsThatLeftTheScreen) {
    rows->counts = {3};
    table->setRowsOnScreen(1);
    table->layoutIfNeeded();
    std::weak_ptr<UITableViewCell> left = table->cellForRow({0, 0});
    rows->counts = {0};
    table->reloadData();
    ASSERT_FALSE(left.expired()) << "the cell waits in the reuse pool";

    table->registerClass<FieldCell>("row");
    ASSERT_FALSE(left.expired()) << "the same class again keeps the pool";
    rows->counts = {1};
    table->reloadData();
    EXPECT_EQ(table->cellForRow({0, 0}), left.lock()) << "and the next row takes the cell";

    rows->counts = {0};
    table->reloadData();
    table->registerCell(
        "row", [] { return std::make_shared<UITableViewCell>(); }, "UITableViewCell");
    EXPECT_TRUE(left.expired()) << "another class empties it";
}

TEST_F(TableReuse, AnotherClassRegisteredWhileRowsAreOnScreenGetsNoneOfTheirCells) {
    rows->counts = {6};
    table->setRowsOnScreen(2);
    table->layoutIfNeeded();
    std::weak_ptr<UITableViewCell> before = table->cellForRow({0, 0});
    table->registerClass<UITableViewCell>("row");
    // Row by row down: each row that leaves was built as the class replaced.
    for (int top = 1; top <= 4; ++top) {
        table->scrollToRow({0, top}, UITableView::ScrollPosition::Top, false);
        auto entering = table->cellForRow({0, top + 1});
        ASSERT_TRUE(entering);
        EXPECT_EQ(dynamic_cast<FieldCell*>(entering.get()), nullptr) << "top " << top;
        EXPECT_EQ(entering->cellReuseIdentifier(), "row");
    }
    EXPECT_TRUE(before.expired()) << "the replaced class's cell is let go, not pooled";
    // Cells of the new class go back to the pool and come out again.
    auto kept = table->cellForRow({0, 5});
    table->scrollToRow({0, 0}, UITableView::ScrollPosition::Top, false);
    EXPECT_TRUE(table->cellForRow({0, 0}) == kept || table->cellForRow({0, 1}) == kept);
    // The same class registered again keeps its cells in the pool.
    table->registerClass<UITableViewCell>("row");
    auto stays = table->cellForRow({0, 1});
    table->scrollToRow({0, 4}, UITableView::ScrollPosition::Top, false);
    EXPECT_TRUE(table->cellForRow({0, 4}) == stays || table->cellForRow({0, 5}) == stays);
    EXPECT_FALSE(loggedError());
}

TEST_F(TableReuse, ANewDataSourceStartsTheTableOver) {
    table->layoutIfNeeded();
    auto old = table->cellForRow({0, 0});
    auto other = std::make_shared<Rows>();
    other->counts = {1, 2};
    table->setDataSource(other);
    EXPECT_EQ(shown(), "") << "no cell of the old rows stays";
    EXPECT_EQ(old->superview(), nullptr);
    EXPECT_EQ(other->built, 0) << "nothing is asked before the next layout";
    EXPECT_EQ(table->rowCounts(), (std::vector<int>{1, 2})) << "the old counts are gone";
    table->layoutIfNeeded();
    EXPECT_EQ(shown(), "[0, 0] [1, 0] [1, 1]");
    EXPECT_EQ(old->reuseCount(), 1) << "the old rows' cells were given back for reuse";
    EXPECT_EQ(rows->built, 3);

    table->setDataSource(other);
    EXPECT_EQ(shown(), "[0, 0] [1, 0] [1, 1]") << "the same data source again changes nothing";
}

TEST_F(TableReuse, IdentifiersThatDifferInOneCharacterKeepTheirOwnClasses) {
    // Alike in length, start, middle and end: only the tenth character differs.
    const std::string field = "aaaaaaaaaXaaaaaaaaaaaaaaaaaaaa";
    const std::string plain = "aaaaaaaaaYaaaaaaaaaaaaaaaaaaaa";
    table->registerClass<FieldCell>(field);
    table->registerClass<UITableViewCell>(plain);
    for (const auto& id : {"", "a", "aaaaaaaa", "aaaaaaaaa"}) table->registerClass<UITableViewCell>(id);
    EXPECT_NE(std::dynamic_pointer_cast<FieldCell>(table->dequeueReusableCell(field)), nullptr);
    auto other = table->dequeueReusableCell(plain);
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(std::dynamic_pointer_cast<FieldCell>(other), nullptr);
    EXPECT_EQ(other->cellReuseIdentifier(), plain);
    for (const auto& id : {"", "a", "aaaaaaaa", "aaaaaaaaa"}) {
        auto cell = table->dequeueReusableCell(id);
        ASSERT_NE(cell, nullptr) << id;
        EXPECT_EQ(cell->cellReuseIdentifier(), id);
    }
    EXPECT_EQ(table->dequeueReusableCell("aaaaaaaaaZaaaaaaaaaaaaaaaaaaaa"), nullptr);
}

TEST_F(TableReuse, ACellFromAnotherTableGoesToThePoolOfTheTableItLeaves) {
    // The data source gives row 0 a cell another table handed out.
    class Foreign : public Rows {
    public:
        std::shared_ptr<UITableViewCell> cell;
        std::shared_ptr<UITableViewCell> cellForRowAt(UITableView& t, const IndexPath& p) override {
            if (p.row != 0 || !cell) return Rows::cellForRowAt(t, p);
            cell->textLabel()->text = p.description();
            return std::exchange(cell, nullptr);
        }
    };
    auto other = std::make_shared<UITableView>();
    other->registerClass<FieldCell>("row");
    auto foreign = std::make_shared<Foreign>();
    foreign->cell = other->dequeueReusableCell("row");
    auto given = foreign->cell;
    foreign->counts = {3};
    table->setDataSource(foreign);
    table->setRowsOnScreen(1);
    table->layoutIfNeeded();
    ASSERT_EQ(table->cellForRow({0, 0}), given);
    table->scrollToRow({0, 1}, UITableView::ScrollPosition::Top, false);
    table->scrollToRow({0, 2}, UITableView::ScrollPosition::Top, false);
    EXPECT_EQ(table->cellForRow({0, 2}), given) << "the cell went back to this table's pool";
    EXPECT_NE(other->dequeueReusableCell("row"), given) << "not to the pool of the table that made it";
}

TEST_F(TableReuse, DataSourceGoneMeansNoRows) {
    table->layoutIfNeeded();
    rows.reset();
    table->reloadData();
    EXPECT_EQ(shown(), "");
    EXPECT_EQ(table->numberOfSections(), 0);
}

// A data source may hand out a cell of its own instead of dequeuing one.
class TableCellsHandedOut : public TableTest {
protected:
    using Road = std::pair<const char*, std::function<void()>>;
    void SetUp() override { fresh(); }
    // A table of its own for each road.
    void fresh() {
        window = std::make_shared<UIWindow>();
        table = std::make_shared<UITableView>();
        rows = std::make_shared<Rows>();
        TableTest::SetUp();
        rows->counts = {10};
        table->setRowsOnScreen(4);
        table->layoutIfNeeded();
    }
};

TEST_F(TableCellsHandedOut, ACellStillOnScreenIsNotGivenToASecondRow) {
    const std::vector<Road> roads = {
        {"nothing", [] {}},
        {"a scroll by one row",
         [&] {
             table->scrollToRow({0, 1}, UITableView::ScrollPosition::Top, false);
         }},
        {"a row inserted above",
         [&] {
             rows->counts = {11};
             table->insertRows({{0, 0}}, UITableView::RowAnimation::None);
         }},
        {"another row deleted",
         [&] {
             rows->counts = {9};
             table->deleteRows({{0, 3}}, UITableView::RowAnimation::None);
         }},
        {"another row reloaded",
         [&] {
             table->reloadRows({{0, 3}}, UITableView::RowAnimation::None);
         }},
        {"a reload", [&] { table->reloadData(); }},
    };
    for (const auto& [name, road] : roads) {
        fresh();
        road();
        auto visible = table->indexPathsForVisibleRows();
        ASSERT_EQ(visible.size(), 4u) << name;
        auto staying = table->cellForRow(visible[1]);
        core::internal::Logging::clearCaptured();
        rows->handOut = [&](const IndexPath&) { return staying; };
        // Both ways a row is built: a scroll brings it, a reload rebuilds it.
        table->scrollToRow({0, visible[0].row + 1}, UITableView::ScrollPosition::Top, false);
        table->reloadRows({visible[2]}, UITableView::RowAnimation::None);
        EXPECT_EQ(table->cellForRow(visible[1]), staying) << name;
        EXPECT_TRUE(loggedError()) << name;
        std::set<const UITableViewCell*> cells;
        for (const auto& cell : table->visibleCells()) {
            EXPECT_TRUE(cells.insert(cell.get()).second) << "one cell shows two rows after " << name;
        }
    }
}

TEST_F(TableCellsHandedOut, ACellThatLeftTheRowsMayBeGivenOutAgain) {
    const std::vector<Road> roads = {
        {"scrolled away",
         [&] {
             table->scrollToRow({0, 6}, UITableView::ScrollPosition::Top, false);
         }},
        {"its row reloaded",
         [&] {
             table->reloadRows({{0, 0}}, UITableView::RowAnimation::None);
         }},
        {"its section reloaded", [&] { table->reloadSections({0}, UITableView::RowAnimation::None); }},
        {"a reload", [&] { table->reloadData(); }},
        {"its row deleted",
         [&] {
             rows->counts = {9};
             table->deleteRows({{0, 0}}, UITableView::RowAnimation::None);
         }},
        {"a new data source",
         [&] {
             auto fresher = rows->handOut;
             rows = std::make_shared<Rows>();
             rows->counts = {10};
             rows->handOut = fresher;
             table->setDataSource(rows);
             table->layoutIfNeeded();
         }},
    };
    for (const auto& [name, road] : roads) {
        fresh();
        auto gone = table->cellForRow({0, 0});
        // Rows the road builds get new cells, so the one that left stays off screen.
        rows->handOut = [](const IndexPath&) { return std::make_shared<UITableViewCell>(); };
        road();
        ASSERT_EQ(table->indexPathForCell(*gone), std::nullopt) << name;
        core::internal::Logging::clearCaptured();
        rows->handOut = [&](const IndexPath&) { return gone; };
        const IndexPath row = table->indexPathsForVisibleRows()[1];
        table->reloadRows({row}, UITableView::RowAnimation::None);
        EXPECT_EQ(table->cellForRow(row), gone) << name;
        EXPECT_FALSE(loggedError()) << name;
    }
}

class TableReloads : public TableTest {};

TEST_F(TableReloads, ReloadRowsGivesTheRowAnotherCellAndDropsItsFocus) {
    table->recordUpdates();
    table->layoutIfNeeded();
    auto cell = std::static_pointer_cast<FieldCell>(table->cellForRow({0, 1}));
    ASSERT_TRUE(cell->field->becomeFirstResponder());
    table->reloadRows({{0, 1}}, UITableView::RowAnimation::Automatic);
    EXPECT_NE(table->cellForRow({0, 1}), cell);
    EXPECT_FALSE(cell->field->isFirstResponder());
    EXPECT_EQ(window->firstResponder(), nullptr);
    EXPECT_EQ(shown(), "[0, 0] [0, 1] [0, 2]");
    EXPECT_EQ(table->updateLog().back(), "reloadRows [0, 1] automatic");
}

TEST_F(TableReloads, TheUpdateLogIsKeptOnlyWhenAskedForAndHoldsTheLatestEntries) {
    rows->counts = {10};
    table->setRowsOnScreen(3);
    table->layoutIfNeeded();
    for (int row = 0; row < 10; ++row) table->scrollToRow({0, row}, UITableView::ScrollPosition::Top, false);
    table->reloadData();
    EXPECT_TRUE(table->updateLog().empty()) << "a table nobody watches keeps no log";

    table->recordUpdates(2);
    table->reloadRows({{0, 7}}, UITableView::RowAnimation::Fade);
    table->scrollToRow({0, 2}, UITableView::ScrollPosition::Top, false);
    table->beginUpdates();
    EXPECT_EQ(table->updateLog(), (std::vector<std::string>{"scrollToRow [0, 2] top", "beginUpdates"}));
    table->endUpdates();
    table->clearUpdateLog();
    EXPECT_TRUE(table->updateLog().empty());
    table->reloadData();
    EXPECT_EQ(table->updateLog(), std::vector<std::string>{"reloadData"}) << "clearing keeps recording";
}

TEST_F(TableReloads, ReloadDataFollowsNewCounts) {
    table->setRowsOnScreen(4);
    table->layoutIfNeeded();
    rows->counts = {1, 2};
    table->reloadData();
    EXPECT_EQ(shown(), "[0, 0] [1, 0] [1, 1]");
    EXPECT_EQ(table->rowCounts(), (std::vector<int>{1, 2}));
}

TEST_F(TableReloads, ReloadSectionsRebuildsOnlyThoseSections) {
    rows->counts = {2, 2};
    table->layoutIfNeeded();
    auto keep = table->cellForRow({0, 0});
    auto replaced = table->cellForRow({1, 0});
    rows->counts = {2, 3};
    table->reloadSections({1}, UITableView::RowAnimation::Automatic);
    EXPECT_EQ(table->cellForRow({0, 0}), keep);
    EXPECT_NE(table->cellForRow({1, 0}), replaced);
    EXPECT_EQ(shown(), "[0, 0] [0, 1] [1, 0] [1, 1] [1, 2]");
}

TEST_F(TableReloads, ReloadRowsWithChangedCountsRecoversWithAFullReload) {
    table->layoutIfNeeded();
    rows->counts = {5};
    table->reloadRows({{0, 0}}, UITableView::RowAnimation::None);
    EXPECT_TRUE(loggedError());
    EXPECT_EQ(shown(), "[0, 0] [0, 1] [0, 2] [0, 3] [0, 4]");
}

TEST_F(TableReloads, AReloadAskedForWhileBuildingRunsAfterwards) {
    table->layoutIfNeeded();
    bool once = true;
    rows->duringBuild = [&](UITableView& t) {
        if (once) {
            once = false;
            rows->counts = {4};
            t.reloadData();
        }
    };
    table->reloadRows({{0, 0}}, UITableView::RowAnimation::None);
    EXPECT_EQ(shown(), "[0, 0] [0, 1] [0, 2] [0, 3]");
}

TEST_F(TableReloads, EndlessReloadsFromBuildingStop) {
    table->layoutIfNeeded();
    rows->duringBuild = [](UITableView& t) { t.reloadData(); };
    table->reloadData();
    EXPECT_TRUE(loggedError());
}

class TableUpdates : public TableTest {};

TEST_F(TableUpdates, DeleteInsideUpdatesShiftsTheCellsBelow) {
    rows->counts = {4};
    table->layoutIfNeeded();
    auto last = table->cellForRow({0, 3});
    table->beginUpdates();
    rows->counts = {3};
    table->deleteRows({{0, 1}}, UITableView::RowAnimation::None);
    EXPECT_EQ(table->numberOfRowsInSection(0), 4) << "applied at endUpdates";
    table->endUpdates();
    EXPECT_EQ(table->cellForRow({0, 2}), last);
    EXPECT_EQ(table->beginUpdatesCount(), 1);
    EXPECT_EQ(table->endUpdatesCount(), 1);
    EXPECT_FALSE(loggedError());
}

// An update that inserts and deletes nothing keeps every row's cell and the
// selection, and lets the rows' heights follow; counts that changed all the
// same still make the whole table reload.
TEST_F(TableUpdates, AnUpdateThatChangesNoRowsKeepsTheCellsAndLaysThemOutAnew) {
    rows->counts = {4};
    table->layoutIfNeeded();
    std::vector<std::shared_ptr<UITableViewCell>> before;
    for (int row = 0; row < 4; ++row) before.push_back(table->cellForRow({0, row}));
    ASSERT_TRUE(table->selectRow({0, 2}));
    rows->heights[{0, 1}] = 80;
    const int built = rows->built;
    table->beginUpdates();
    table->endUpdates();
    for (int row = 0; row < 4; ++row) EXPECT_EQ(table->cellForRow({0, row}), before[static_cast<std::size_t>(row)]);
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 2}));
    EXPECT_EQ(table->cellForRow({0, 2})->frame().minY(), 44 + 80);
    EXPECT_EQ(rows->built, built);
    EXPECT_FALSE(loggedError());

    rows->counts = {5};
    table->beginUpdates();
    table->endUpdates();
    EXPECT_TRUE(loggedError());
    EXPECT_EQ(table->rowCounts(), (std::vector<int>{5}));
    EXPECT_EQ(shown(), "[0, 0] [0, 1] [0, 2] [0, 3] [0, 4]");
}

TEST_F(TableUpdates, ADeleteTheDataSourceDidNotMakeIsAnErrorNotACrash) {
    table->layoutIfNeeded();
    table->deleteRows({{0, 0}}, UITableView::RowAnimation::None);
    EXPECT_TRUE(loggedError());
    EXPECT_EQ(table->numberOfRowsInSection(0), 3);
    table->endUpdates();
    EXPECT_EQ(table->endUpdatesCount(), 1);
}

TEST_F(TableUpdates, InsertAddsARowAndKeepsOthers) {
    table->layoutIfNeeded();
    auto second = table->cellForRow({0, 1});
    rows->counts = {4};
    table->insertRows({{0, 0}}, UITableView::RowAnimation::Automatic);
    EXPECT_EQ(table->cellForRow({0, 2}), second);
    EXPECT_EQ(table->rowCounts(), (std::vector<int>{4}));
}

// A scroll finds a section's rows from where the section starts in the
// rows taken as one list; every road that changes the counts must move the
// starts and the total with them, or the window lands in the wrong section
// or stops short of the last rows.
TEST_F(TableUpdates, ScrollsFindTheSectionsAfterEveryChangeOfTheCounts) {
    using Change = std::function<void(UITableView&, std::shared_ptr<Rows>&)>;
    const auto recount = [](std::vector<int> counts) {
        return [counts](UITableView& t, std::shared_ptr<Rows>& r) {
            r->counts = counts;
            t.reloadData();
        };
    };
    struct Case {
        const char* name;
        Change change;
        bool logsError = false;
    };
    const std::vector<Case> cases = {
        {"reload with more rows in front", recount({5, 4, 6})},
        {"reload with fewer rows in front", recount({1, 2, 6})},
        {"reload with a section added in front", recount({2, 3, 4, 6})},
        {"reload with a section taken away", recount({7, 6})},
        {"rows inserted in front",
         [](UITableView& t, std::shared_ptr<Rows>& r) {
             r->counts = {5, 4, 6};
             t.insertRows({{0, 0}, {0, 1}}, UITableView::RowAnimation::None);
         }},
        {"rows deleted in front",
         [](UITableView& t, std::shared_ptr<Rows>& r) {
             r->counts = {1, 4, 6};
             t.deleteRows({{0, 0}, {0, 1}}, UITableView::RowAnimation::None);
         }},
        {"rows inserted and deleted between beginUpdates and endUpdates",
         [](UITableView& t, std::shared_ptr<Rows>& r) {
             t.beginUpdates();
             r->counts = {4, 2, 6};
             t.insertRows({{0, 0}}, UITableView::RowAnimation::None);
             t.deleteRows({{1, 0}, {1, 1}}, UITableView::RowAnimation::None);
             t.endUpdates();
         }},
        {"counts changed without an update",
         [](UITableView& t, std::shared_ptr<Rows>& r) {
             r->counts = {6, 4, 6};
             t.beginUpdates();
             t.endUpdates();
         },
         true},
        {"a section reloaded with more rows",
         [](UITableView& t, std::shared_ptr<Rows>& r) {
             r->counts = {8, 4, 6};
             t.reloadSections({0}, UITableView::RowAnimation::None);
         }},
        {"another data source",
         [](UITableView& t, std::shared_ptr<Rows>& r) {
             r = std::make_shared<Rows>();
             r->counts = {9, 1, 6};
             t.setDataSource(r);
             t.setDelegate(r);
         }},
    };
    for (const auto& [name, change, logsError] : cases) {
        SCOPED_TRACE(name);
        core::internal::Logging::clearCaptured();
        table = std::make_shared<UITableView>();
        rows = std::make_shared<Rows>();
        table->registerClass<FieldCell>("row");
        table->setDataSource(rows);
        table->setDelegate(rows);
        window->addSubview(table);
        rows->counts = {3, 4, 6};
        table->setRowsOnScreen(3);
        table->layoutIfNeeded();
        table->scrollToRow({2, 0}, UITableView::ScrollPosition::Top, false);
        table->scrollToRow({2, 1}, UITableView::ScrollPosition::Top, false);
        ASSERT_EQ(shown(), "[2, 1] [2, 2] [2, 3]");

        change(*table, rows);
        table->layoutIfNeeded();
        const std::string last = std::to_string(rows->counts.size() - 1);
        const int lastSection = static_cast<int>(rows->counts.size()) - 1;
        table->scrollToRow({lastSection, 1}, UITableView::ScrollPosition::Top, false);
        table->scrollToRow({lastSection, 2}, UITableView::ScrollPosition::Top, false);  // one row down in the section
        EXPECT_EQ(shown(), "[" + last + ", 2] [" + last + ", 3] [" + last + ", 4]");
        table->scrollToRow({lastSection, 5}, UITableView::ScrollPosition::Top, false);
        EXPECT_EQ(shown(), "[" + last + ", 3] [" + last + ", 4] [" + last + ", 5]")
            << "the window stops at the last row";
        EXPECT_EQ(loggedError(), logsError);
    }
}

class TableSelection : public TableTest {};

TEST_F(TableSelection, TapSelectsAndTellsTheDelegate) {
    rows->counts = {5};
    table->setRowsOnScreen(2);
    table->layoutIfNeeded();
    EXPECT_TRUE(table->selectRow({0, 1}));
    EXPECT_TRUE(table->cellForRow({0, 1})->isSelected);
    EXPECT_FALSE(table->selectRow({0, 4})) << "a row off screen cannot be tapped";
    ASSERT_EQ(rows->selected.size(), 1u);
    EXPECT_EQ(rows->selected[0], (IndexPath{0, 1}));
}

TEST(IndexPathText, TypedCharactersAndUtf16Ranges) {
    EXPECT_EQ(typedCharacters("aé€😀").size(), 4u);
    EXPECT_EQ(utf16Length("aé😀"), 4u);
    EXPECT_EQ(replacingCharacters("a😀b", {1, 2}, "x"), "axb");
    EXPECT_EQ(replacingCharacters("a😀b", {2, 1}, "x"), std::nullopt) << "half a character";
    EXPECT_EQ(replacingCharacters("ab", {3, 0}, "x"), std::nullopt);
}

}  // namespace
