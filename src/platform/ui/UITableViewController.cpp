#include "platform/ui/UITableViewController.h"

#include "platform/core/ClassInfo.h"

namespace trc::ui {

const core::ClassInfo& UITableViewController::classInfo() {
    static const core::ClassInfo& info =
        core::ClassBuilder<UITableViewController>("UITableViewController", UIViewController::classInfo())
            .constructible()
            .property(
                "tableView",
                [](const UITableViewController& c) { return c.tableView_ ? core::Value(c.tableView_) : core::Value(); })
            .build();
    return info;
}

std::shared_ptr<UITableView> UITableViewController::tableView() {
    // Asked at every scroll: a loaded view is not taken (and let go) again.
    if (!isViewLoaded()) loadViewIfNeeded();
    return tableView_;
}

void UITableViewController::loadView() { adoptTableView(std::make_shared<UITableView>(style_)); }

void UITableViewController::adoptTableView(const std::shared_ptr<UITableView>& table) {
    tableView_ = table;
    auto self = std::static_pointer_cast<UITableViewController>(shared_from_this());
    tableView_->setDataSource(std::shared_ptr<UITableViewDataSource>(self, static_cast<UITableViewDataSource*>(this)));
    tableView_->setDelegate(std::shared_ptr<UITableViewDelegate>(self, static_cast<UITableViewDelegate*>(this)));
    setView(tableView_);
}

}  // namespace trc::ui
