#include "formcells/FocusUtil.h"

#include <gtest/gtest.h>

#include "formcells/FormCellOwner.h"
#include "formcells/FormTestSupport.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewDataSource.h"
#include "platform/ui/UITextField.h"
#include "platform/ui/UIWindow.h"
#include "platform/vessa/VUISwitchFormCell.h"
#include "platform/vessa/VUITextFieldFormCell.h"

namespace trc::formcells {
namespace {

// Rows of text field cells, one switch row at index 1, counting every time
// a text field is asked to take the focus.
class FieldRows : public ui::UITableViewDataSource {
public:
    int numberOfRowsInSection(ui::UITableView& /*tableView*/, int /*section*/) override { return rows; }
    std::shared_ptr<ui::UITableViewCell> cellForRowAt(ui::UITableView& tableView, const ui::IndexPath& path) override {
        if (path.row == 1) return tableView.dequeueReusableCell("switch", path);
        auto cell = std::dynamic_pointer_cast<vessa::VUITextFieldFormCell>(tableView.dequeueReusableCell("text", path));
        cell->setEditable(path.row != 2);
        return cell;
    }
    int rows = 10;
};

class FocusTest : public testing::FreshProcessTest {
protected:
    void SetUp() override {
        FreshProcessTest::SetUp();
        window->makeKeyAndVisible();
        window->addSubview(table);
        table->registerClass<vessa::VUITextFieldFormCell>("text");
        table->registerClass<vessa::VUISwitchFormCell>("switch");
        table->setDataSource(rows);
        table->setRowsOnScreen(4);
        table->layoutIfNeeded();
    }
    std::shared_ptr<ui::UITextField> field(int row) {
        auto cell = std::dynamic_pointer_cast<vessa::VUITextFieldFormCell>(table->cellForRow({0, row}));
        return cell ? cell->valueTextField() : nullptr;
    }
    dispatch::MainQueue& queue() { return dispatch::MainQueue::shared(); }

    std::shared_ptr<ui::UIWindow> window = std::make_shared<ui::UIWindow>();
    std::shared_ptr<ui::UITableView> table = std::make_shared<ui::UITableView>();
    std::shared_ptr<FieldRows> rows = std::make_shared<FieldRows>();
};

class FocusChecks : public FocusTest {};

TEST_F(FocusChecks, HeldFocusIsCheckedAtPointSixPointNineAndOnePointTwoSecondsOnly) {
    FocusUtil::setFocus(table, {0, 0});
    EXPECT_TRUE(field(0)->isFirstResponder());
    queue().advance(0.59);
    EXPECT_EQ(queue().pendingCount(), 1u);
    queue().advance(0.02);  // 0.61: first check, one success
    queue().advance(0.3);   // 0.91: second success
    EXPECT_EQ(queue().pendingCount(), 1u);
    queue().advance(0.3);  // 1.21: the focus held twice; the chain ends
    EXPECT_EQ(queue().pendingCount(), 0u);
}

TEST_F(FocusChecks, AFocusLostBetweenChecksIsRequestedAgainAtTheNextCheck) {
    FocusUtil::setFocus(table, {0, 0});
    queue().advance(0.7);
    field(0)->resignFirstResponder();
    queue().advance(0.19);
    EXPECT_FALSE(field(0)->isFirstResponder());
    queue().advance(0.02);  // 0.91
    EXPECT_TRUE(field(0)->isFirstResponder());
}

TEST_F(FocusChecks, AFocusThatNeverHoldsEndsAfterFiveChecks) {
    FocusUtil::setFocus(table, {0, 0});
    int checks = 0;
    while (queue().pendingCount() > 0 && checks < 10) {
        field(0)->resignFirstResponder();
        queue().advance(0.3);
        if (queue().pendingCount() == 0) break;
        ++checks;
    }
    queue().advance(5);
    EXPECT_EQ(queue().pendingCount(), 0u);
    EXPECT_LE(checks, 5);
}

class FocusTargets : public FocusTest {};

TEST_F(FocusTargets, ARowBelowTheScreenIsScrolledToTheBottomAndFocused) {
    FocusUtil::setFocus(table, {0, 8});
    ASSERT_NE(field(8), nullptr);
    EXPECT_TRUE(field(8)->isFirstResponder());
    auto visible = table->indexPathsForVisibleRows();
    EXPECT_EQ(visible.back(), (ui::IndexPath{0, 8}));
}

TEST_F(FocusTargets, ReadOnlyAndSwitchRowsAndMissingRowsStartNoChecks) {
    FocusUtil::setFocus(table, {0, 1});
    FocusUtil::setFocus(table, {0, 2});
    FocusUtil::setFocus(table, {0, 42});
    FocusUtil::setFocus(table, {3, 0});
    EXPECT_EQ(window->firstResponder(), nullptr);
    EXPECT_EQ(queue().pendingCount(), 0u);
    EXPECT_EQ(table->indexPathsForVisibleRows().front(), (ui::IndexPath{0, 0}));
}

TEST_F(FocusTargets, AChainKeepsCheckingItsRowAfterTheTableIsReleasedByOthers) {
    FocusUtil::setFocus(table, {0, 0});
    std::weak_ptr<ui::UITableView> weak = table;
    window->subviews().front()->removeFromSuperview();
    table.reset();
    EXPECT_FALSE(weak.expired());
    queue().advance(2);
    EXPECT_TRUE(weak.expired());
}

// Where the owner shows its named row; nothing while it is hidden.
class MovingRow : public FormCellOwner {
public:
    void updateParamsWithValue(const core::Dictionary&, const ui::IndexPath&) override {}
    std::optional<ui::IndexPath> indexPathOfShownCell(const std::string& name) const override {
        return name == "amount" ? shownAt : std::nullopt;
    }
    std::optional<ui::IndexPath> shownAt = ui::IndexPath{0, 3};
};

class FocusFollowsItsRow : public FocusTest {
protected:
    // The host showed or hid rows above: the table rebuilt its rows, so the
    // focus went with the old cells.
    void rowsChanged(std::optional<ui::IndexPath> now) {
        owner->shownAt = now;
        table->reloadData();
        ASSERT_EQ(window->firstResponder(), nullptr);
    }
    std::shared_ptr<MovingRow> owner = std::make_shared<MovingRow>();
};

TEST_F(FocusFollowsItsRow, EveryCheckFindsTheRowByItsName) {
    FocusUtil::setFocus(table, {0, 3}, owner, "amount");
    EXPECT_TRUE(field(3)->isFirstResponder());
    queue().advance(0.2);
    rowsChanged(ui::IndexPath{0, 0});  // rows above were hidden
    queue().advance(0.41);             // 0.61: the first check
    EXPECT_TRUE(field(0)->isFirstResponder()) << "never the row that moved into its place";
    rowsChanged(ui::IndexPath{0, 3});  // and shown again
    queue().advance(0.3);
    EXPECT_TRUE(field(3)->isFirstResponder());
}

TEST_F(FocusFollowsItsRow, AHiddenRowIsNotFocusedAndNothingElseIs) {
    FocusUtil::setFocus(table, {0, 3}, owner, "amount");
    rowsChanged(std::nullopt);
    queue().advance(0.61);
    EXPECT_EQ(window->firstResponder(), nullptr);
    rowsChanged(ui::IndexPath{0, 0});  // shown again before the checks ran out
    queue().advance(0.3);
    EXPECT_TRUE(field(0)->isFirstResponder());
}

TEST_F(FocusFollowsItsRow, WithoutANameOrOnceTheOwnerIsGoneTheChecksStayWhereTheyWere) {
    FocusUtil::setFocus(table, {0, 3}, owner, std::nullopt);
    rowsChanged(ui::IndexPath{0, 0});
    queue().advance(0.61);
    EXPECT_TRUE(field(3)->isFirstResponder()) << "an unnamed row is checked where it was";
    queue().advance(5);

    FocusUtil::setFocus(table, {0, 3}, owner, "amount");
    owner.reset();
    table->reloadData();
    queue().advance(5);
    EXPECT_EQ(window->firstResponder(), nullptr) << "a gone owner shows no row to focus";
    EXPECT_EQ(queue().pendingCount(), 0u);
}

}  // namespace
}  // namespace trc::formcells
