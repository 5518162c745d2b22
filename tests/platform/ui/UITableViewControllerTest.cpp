#include <gtest/gtest.h>

#include "platform/ui/UITableViewController.h"
#include "testsupport/ProcessStateReset.h"

using namespace trc;
using namespace trc::ui;

namespace {

class CountingController : public UITableViewController {
public:
    int loads = 0;
    void viewDidLoad() override {
        UITableViewController::viewDidLoad();
        ++loads;
    }
};

class TableViewControllerTest : public ::testing::Test {
protected:
    void SetUp() override { core::ProcessStateReset::resetAll(); }
};

TEST_F(TableViewControllerTest, TheTableIsMadeWithTheViewOnFirstUseAndKeptAfter) {
    auto controller = std::make_shared<CountingController>();
    EXPECT_FALSE(controller->isViewLoaded()) << "nothing is made before it is asked for";
    auto table = controller->tableView();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(controller->view(), table);
    EXPECT_EQ(controller->loads, 1);
    EXPECT_EQ(table->dataSource().get(), static_cast<UITableViewDataSource*>(controller.get()));
    EXPECT_EQ(table->delegate().get(), static_cast<UITableViewDelegate*>(controller.get()));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(controller->tableView(), table);
    EXPECT_EQ(controller->loads, 1) << "a loaded view is not loaded again";
}

TEST_F(TableViewControllerTest, AViewGivenBeforeFirstUseIsKeptAndNoTableIsMade) {
    auto controller = std::make_shared<CountingController>();
    auto plain = std::make_shared<UIView>();
    controller->setView(plain);
    EXPECT_EQ(controller->tableView(), nullptr);
    EXPECT_EQ(controller->view(), plain);
    EXPECT_EQ(controller->loads, 0);
}

}  // namespace
