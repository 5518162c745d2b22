#pragma once
// A view controller whose view is a table it serves as data source and
// delegate. Subclasses answer the data source and delegate calls; the base
// has no rows. Make it with std::make_shared; main thread only.

#include <memory>

#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewDataSource.h"
#include "platform/ui/UITableViewDelegate.h"
#include "platform/ui/UIViewController.h"

namespace trc::ui {

class UITableViewController : public UIViewController, public UITableViewDataSource, public UITableViewDelegate {
    TRC_OBJECT(UITableViewController)
public:
    explicit UITableViewController(UITableView::Style style = UITableView::Style::Plain) : style_(style) {}

    // The table, made (with the view) on first use.
    std::shared_ptr<UITableView> tableView();

    void loadView() override;

    int numberOfRowsInSection(UITableView& /*tableView*/, int /*section*/) override { return 0; }
    std::shared_ptr<UITableViewCell> cellForRowAt(UITableView& /*tableView*/, const IndexPath& /*indexPath*/) override {
        return nullptr;
    }

protected:
    // Makes table the view, served by this controller.
    void adoptTableView(const std::shared_ptr<UITableView>& table);

private:
    UITableView::Style style_;
    std::shared_ptr<UITableView> tableView_;
};

}  // namespace trc::ui
