#pragma once
// The common base of every section of a sectioned page: how many items it
// may show (maxItemCount), where the page placed it (sectionIndex), the page
// itself (parentTable, held weakly: the page owns its sections) and the
// host's callback object for the section.
//
// Creation is two-phase, because a constructor cannot reach an override:
// BaseSection::make<T>(params, callback) constructs T with its fields at
// their starting values, then runs init(), which resets the base fields,
// stores the callback and ends by calling the overridable setData(params) on
// the finished object, so a subclass's setData runs during creation. Always
// create sections through make<T>() (or SectionFactory), never with
// std::make_shared alone.
//
// The page asks a section for its rows only through the page hooks below
// (row count, registration, cells, heights, taps); the base shows no rows.
// The host's operations on form cell sections have do-nothing defaults and
// are sent by selector ("updateFormCellWithParams:row:" and the like), so a
// bridge may send them to any section; arguments of the wrong kind are
// logged and change nothing. Main thread only.

#include <cstdint>
#include <memory>
#include <optional>
#include <type_traits>

#include "platform/core/ClassInfo.h"
#include "platform/core/Object.h"
#include "platform/ui/IndexPath.h"

namespace trc::ui {
class UITableView;
class UITableViewCell;
}  // namespace trc::ui

namespace trc::services {

class SectionedTableViewController;

class BaseSection : public core::Object {
    TRC_OBJECT(BaseSection)
public:
    static constexpr int kDefaultMaxItemCount = 1;
    static constexpr int kUnplacedSectionIndex = -1;

    template <class T>
    static std::shared_ptr<T> make(const core::Dictionary& params, std::shared_ptr<core::Object> callback) {
        static_assert(std::is_base_of_v<BaseSection, T>, "sections derive from BaseSection");
        auto section = std::make_shared<T>();
        static_cast<BaseSection&>(*section).init(params, std::move(callback));
        return section;
    }

    BaseSection() = default;

    // As the host gave it (64 bits); the page shows no row while it is 0.
    std::int64_t maxItemCount = kDefaultMaxItemCount;
    int sectionIndex = kUnplacedSectionIndex;

    std::shared_ptr<SectionedTableViewController> parentTable() const { return parentTable_.lock(); }
    void setParentTable(const std::shared_ptr<SectionedTableViewController>& page) { parentTable_ = page; }
    const std::shared_ptr<core::Object>& callback() const { return callback_; }

    // Reads the section's own keys; subclasses call the base first.
    virtual void setData(const core::Dictionary& params);
    virtual void redraw(const core::Dictionary& data);

    // Host operations that only form cell sections act on.
    virtual void setFormCellSectionItem(const core::Dictionary& params, const std::shared_ptr<core::Object>& delegate);
    virtual void updateFormCell(const core::Dictionary& params, int row);
    virtual void updateFormCells(const core::Array& params);
    virtual void hideLazyLoadingIndicator();

    // Page hooks.
    // Rows shown while maxItemCount is not 0.
    virtual int numberOfRows() const { return 0; }
    // Called before the page's table asks for rows; registers what the rows dequeue.
    virtual void registerCells(ui::UITableView& /*tableView*/) {}
    virtual std::shared_ptr<ui::UITableViewCell> cellForRow(ui::UITableView& tableView, const ui::IndexPath& indexPath,
                                                            const std::shared_ptr<SectionedTableViewController>& page);
    // A height of the section's own, else the page's default.
    virtual std::optional<double> heightForRow(int /*row*/) const { return std::nullopt; }
    virtual void didSelectRow(int /*row*/, const std::shared_ptr<ui::UITableViewCell>& /*cell*/) {}

    // Selectors every section answers.
    static constexpr const char* kSetFormCellSectionItem = "setFormCellSectionItemWithParams:delegate:";
    static constexpr const char* kUpdateFormCell = "updateFormCellWithParams:row:";
    static constexpr const char* kUpdateFormCells = "updateFormCellsWithParams:";
    static constexpr const char* kRedraw = "redrawWithData:";

    // A host argument as a row (HostNumber::rowOrSection): nullopt, logged
    // under selector, for a number that is no integer or beyond 32 bits.
    static std::optional<int> rowArgument(const core::Value& value, const char* selector);
    // A host argument as a dictionary; nullptr, logged, for anything else.
    static const core::Dictionary* dictionaryArgument(const core::Value& value, const char* selector);

protected:
    void init(const core::Dictionary& params, std::shared_ptr<core::Object> callback);

private:
    std::weak_ptr<SectionedTableViewController> parentTable_;
    std::shared_ptr<core::Object> callback_;
};

}  // namespace trc::services
