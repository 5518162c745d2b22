#pragma once
// One owner of form cells shown in a window as a host shows it, for the
// form cell benches: the full-screen form ("Form") or a form cell section
// on a sectioned page ("Section"), in a fresh process state on the main
// queue's virtual clock. The host's callback objects hear value changes;
// one given a view answers "getView" with it, as an extension row's host
// does. A data source can stand between the table and the owner and time
// each row the owner builds, by a bucket the bench names per shown row.
// Header only: each bench program that uses it links the library.

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "AllocationCounter.h"
#include "formcells/FormCellContainerViewController.h"
#include "formcells/FormCellSection.h"
#include "platform/dispatch/Clock.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewDataSource.h"
#include "platform/ui/UIView.h"
#include "platform/ui/UIWindow.h"
#include "services/SectionedTableViewController.h"
#include "testsupport/ProcessStateReset.h"

namespace trc::bench {

enum class Owner { Form, Section };
inline const char* ownerName(Owner owner) { return owner == Owner::Form ? "Form" : "Section"; }

// A row's host callback object: it counts the value changes it hears and,
// given a view, answers "getView" with it.
class HostCallback : public core::Object {
public:
    std::size_t calls = 0;
    std::shared_ptr<ui::UIView> view;

    bool respondsToSelector(std::string_view selector) const override {
        return selector == "valueChangedWithParams" || (view && selector == "getView");
    }
    core::Value perform(std::string_view selector, core::Args) override {
        if (selector == "getView") return core::Value(view);
        ++calls;
        return {};
    }
};

// Stands between the table and the owner's data source and times each row
// the owner builds, with the allocations the build made, in the bucket
// bucketOfShownRow gives the row (bucket 0 when it names none).
class TimedDataSource : public ui::UITableViewDataSource {
public:
    using Clock = std::chrono::steady_clock;
    struct Bucket {
        double seconds = 0;
        std::size_t rows = 0;
        std::size_t allocations = 0;
    };

    explicit TimedDataSource(std::shared_ptr<ui::UITableViewDataSource> inner, std::size_t buckets = 1)
        : inner_(std::move(inner)), buckets_(buckets) {}

    std::vector<int> bucketOfShownRow;
    const Bucket& bucket(std::size_t b = 0) const { return buckets_[b]; }
    Bucket total() const {
        Bucket all;
        for (const auto& b : buckets_) all.seconds += b.seconds, all.rows += b.rows, all.allocations += b.allocations;
        return all;
    }
    void reset() { buckets_.assign(buckets_.size(), Bucket{}); }

    int numberOfSections(ui::UITableView& t) override { return inner_->numberOfSections(t); }
    int numberOfRowsInSection(ui::UITableView& t, int s) override { return inner_->numberOfRowsInSection(t, s); }
    std::optional<std::string> titleForHeaderInSection(ui::UITableView& t, int s) override {
        return inner_->titleForHeaderInSection(t, s);
    }
    std::optional<std::string> titleForFooterInSection(ui::UITableView& t, int s) override {
        return inner_->titleForFooterInSection(t, s);
    }
    std::shared_ptr<ui::UITableViewCell> cellForRowAt(ui::UITableView& t, const ui::IndexPath& p) override {
        const std::size_t before = AllocationCounter::allocations();
        const auto start = Clock::now();
        auto cell = inner_->cellForRowAt(t, p);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        const std::size_t allocations = AllocationCounter::allocations() - before;
        Bucket& b = buckets_[bucketOf(p.row)];
        b.seconds += seconds;
        b.allocations += allocations;
        ++b.rows;
        return cell;
    }

private:
    std::size_t bucketOf(int row) const {
        if (row < 0 || static_cast<std::size_t>(row) >= bucketOfShownRow.size()) return 0;
        return static_cast<std::size_t>(bucketOfShownRow[static_cast<std::size_t>(row)]);
    }

    std::shared_ptr<ui::UITableViewDataSource> inner_;
    std::vector<Bucket> buckets_;
};

// One owner of form cells in a window, in a fresh process state. Every
// cell is in section 0 of the owner's table.
class FormScreen {
public:
    FormScreen(Owner owner, int rowsOnScreen) : owner_(owner), rowsOnScreen_(rowsOnScreen) {
        core::ProcessStateReset::resetAll();
        // Benches run on the virtual clock: nothing they measure waits for real time.
        dispatch::MainQueue::resetShared(std::make_unique<dispatch::VirtualClock>());
        window_->makeKeyAndVisible();
        if (owner == Owner::Form) {
            form_ = std::make_shared<formcells::FormCellContainerViewController>();
            // One section: the cells past its count stay in it.
            announce({0});
        } else {
            page_ = std::make_shared<services::SectionedTableViewController>();
            section_ = formcells::FormCellSection::make({}, nullptr);
        }
    }
    ~FormScreen() {
        window_->setRootViewController(nullptr);
        core::ProcessStateReset::resetAll();
    }
    FormScreen(const FormScreen&) = delete;
    FormScreen& operator=(const FormScreen&) = delete;

    // The form only: the host announces its sections' row counts before it
    // adds the cells, which then fill them in turn.
    void announce(const std::vector<int>& rowsInSections) {
        core::Array counts;
        for (int n : rowsInSections) counts.emplace_back(n);
        form_->announceNumberOfSections(core::Value(static_cast<int>(rowsInSections.size())), "bench");
        form_->announceNumberOfRowsInSection(core::Value(std::move(counts)), "bench");
        form_->sectionNames.assign(rowsInSections.size(), "");
    }

    void add(const core::Dictionary& params, const std::shared_ptr<core::Object>& delegate) {
        if (form_) {
            form_->addFormCell(params, delegate);
        } else {
            ++added_;
            section_->setFormCellSectionItem(params, delegate);
        }
    }
    void add(const core::Dictionary& params) { add(params, callback); }

    // A host update of the cell at the host's row.
    void update(const core::Dictionary& params, int actualRow) {
        if (form_) {
            form_->updateFormCell(params, actualRow, 0);
        } else {
            section_->updateFormCell(params, actualRow);
        }
    }

    // Shows the owner with rowsOnScreen rows on screen and lays it out.
    void show() {
        if (form_) {
            window_->setRootViewController(form_);
        } else {
            section_->maxItemCount = added_;
            page_->initialize({section_});
            window_->setRootViewController(page_);
        }
        settle();
        table()->setRowsOnScreen(rowsOnScreen_);
        table()->layoutIfNeeded();
        settle();
    }

    // Puts a timer between the table and the owner's cell-for-row.
    TimedDataSource& timeRows(std::size_t buckets = 1) {
        std::shared_ptr<ui::UITableViewDataSource> inner =
            form_ ? std::static_pointer_cast<ui::UITableViewDataSource>(form_)
                  : std::static_pointer_cast<ui::UITableViewDataSource>(page_);
        timed_ = std::make_shared<TimedDataSource>(inner, buckets);
        // A table starts over with a new data source: lay it out again, or no scroll would build a row.
        table()->setDataSource(timed_);
        table()->layoutIfNeeded();
        settle();
        return *timed_;
    }

    void scrollTo(int row, ui::UITableView::ScrollPosition position) {
        table()->scrollToRow({0, row}, position, false);
    }
    void settle() { dispatch::MainQueue::shared().runUntilIdle(); }
    std::shared_ptr<ui::UITableView> table() { return form_ ? form_->tableView() : page_->tableView(); }
    Owner owner() const { return owner_; }

    std::shared_ptr<HostCallback> callback = std::make_shared<HostCallback>();

private:
    Owner owner_;
    int rowsOnScreen_;
    int added_ = 0;
    std::shared_ptr<ui::UIWindow> window_ = std::make_shared<ui::UIWindow>();
    std::shared_ptr<formcells::FormCellContainerViewController> form_;
    std::shared_ptr<services::SectionedTableViewController> page_;
    std::shared_ptr<formcells::FormCellSection> section_;
    std::shared_ptr<TimedDataSource> timed_;
};

}  // namespace trc::bench
