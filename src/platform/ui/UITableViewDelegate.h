#pragma once
// What a table asks of its delegate: heights, header and footer views, and
// the news that a person selected a row. Every answer is optional; without
// one the table uses its own settings. Held weakly by the table; main
// thread only.

#include <memory>
#include <optional>

#include "platform/ui/IndexPath.h"

namespace trc::ui {

class UITableView;
class UIView;

class UITableViewDelegate {
public:
    virtual ~UITableViewDelegate() = default;

    virtual std::optional<double> heightForRowAt(UITableView& /*tableView*/, const IndexPath& /*indexPath*/) {
        return std::nullopt;
    }
    virtual std::optional<double> heightForHeaderInSection(UITableView& /*tableView*/, int /*section*/) {
        return std::nullopt;
    }
    virtual std::optional<double> heightForFooterInSection(UITableView& /*tableView*/, int /*section*/) {
        return std::nullopt;
    }
    virtual std::shared_ptr<UIView> viewForHeaderInSection(UITableView& /*tableView*/, int /*section*/) {
        return nullptr;
    }
    virtual std::shared_ptr<UIView> viewForFooterInSection(UITableView& /*tableView*/, int /*section*/) {
        return nullptr;
    }
    virtual void didSelectRowAt(UITableView& /*tableView*/, const IndexPath& /*indexPath*/) {}
};

}  // namespace trc::ui
