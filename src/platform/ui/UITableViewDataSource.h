#pragma once
// What a table asks of whoever supplies its rows. The table holds its data
// source weakly; the owner (usually the view controller that owns the
// table) keeps it alive. Called on the main thread, from layout and reloads.

#include <memory>
#include <optional>
#include <string>

#include "platform/ui/IndexPath.h"

namespace trc::ui {

class UITableView;
class UITableViewCell;

class UITableViewDataSource {
public:
    virtual ~UITableViewDataSource() = default;

    virtual int numberOfSections(UITableView& /*tableView*/) { return 1; }
    virtual int numberOfRowsInSection(UITableView& tableView, int section) = 0;
    // The cell for a row; a null answer gets an empty stand-in cell and a log line.
    virtual std::shared_ptr<UITableViewCell> cellForRowAt(UITableView& tableView, const IndexPath& indexPath) = 0;
    virtual std::optional<std::string> titleForHeaderInSection(UITableView& /*tableView*/, int /*section*/) {
        return std::nullopt;
    }
    virtual std::optional<std::string> titleForFooterInSection(UITableView& /*tableView*/, int /*section*/) {
        return std::nullopt;
    }
};

}  // namespace trc::ui
