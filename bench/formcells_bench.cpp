// Form cells, in both owners of form cells: the full-screen form
// ("Form") and a form cell section on a sectioned page ("Section"), each
// shown in a window as a host would show it.
//
// - RowIntoReusedCell/<owner>/<kind>: the owner's cell-for-row building one
//   row of the kind into a cell the table reuses; the time is that call
//   alone (timed inside the table's data source), the allocations are the
//   call's.
// - ScrollStep/<owner>/<kind>: a whole step of the table: one row leaves
//   (its cell goes to the reuse pool), the other enters and is built into
//   that cell.
// - ChangeToHostCallback/<owner>/<kind>: a person's change on a shown row,
//   stored in the owner and reported to the row's host callback object.
// - ScrollEveryShownRow/<owner>/<cells>: a form of that many cells (a tenth
//   hidden) scrolled from top to end a screen (10 rows) at a time; per-row
//   time, allocations per row and memory per stored cell.
// - AddCells/<owner>/<cells>: the host adding that many cells;
//   AddCellsOneRowSections/Form/<cells>: the same cells, each in a section
//   of its own.
//
// Every figure counts heap allocations with the bench's counting allocator.

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "AllocationCounter.h"
#include "FormScreen.h"
#include "formcells/FormCellContainerViewController.h"
#include "formcells/FormCellSection.h"
#include "formcells/FormCellType.h"
#include "platform/core/ProcessState.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UITableViewDataSource.h"
#include "platform/ui/UIWindow.h"
#include "platform/vessa/VUIDatePickerFormCell.h"
#include "platform/vessa/VUIDurationPickerFormCell.h"
#include "platform/vessa/VUIFilterFormCell.h"
#include "platform/vessa/VUINoteFormCell.h"
#include "platform/vessa/VUISegmentedControlFormCell.h"
#include "platform/vessa/VUISwitchFormCell.h"
#include "platform/vessa/VUITextFieldFormCell.h"
#include "platform/vessa/VUITitleFormCell.h"
#include "services/SectionedTableViewController.h"

using namespace trc;
using bench::AllocationCounter;
using bench::Owner;
using bench::ownerName;
using formcells::FormCellContainerViewController;
using formcells::FormCellSection;
using formcells::FormCellType;
using Kind = FormCellType::Kind;

namespace {

std::string kindName(Kind kind) {
    constexpr std::string_view prefix = "Control.Type.FormCell.";
    return std::string(FormCellType::rawValue(kind).substr(prefix.size()));
}

// Parameters a host would send for a row of the kind. Names, captions and
// texts are as long as a host's usually are, longer than a string holds
// without the heap, so that a copy of one would show as an allocation.
core::Dictionary rowParams(Kind kind, int i, bool hidden) {
    const std::string n = std::to_string(i);
    core::Dictionary d{{"_Type", std::string(FormCellType::rawValue(kind))},
                       {"_Name", "FormCellRowNumber" + n},
                       {"Caption", "The caption of row number " + n}};
    switch (kind) {
    case Kind::Title:
    case Kind::Note:
    case Kind::SimpleProperty:
        d.set("Value", "The value of row number " + n);
        d.set("PlaceHolder", "Type the value of the row here");
        break;
    case Kind::Switch: d.set("Value", i % 2 == 0); break;
    case Kind::SegmentedControl:
        d.set("Segments", core::Array{"Low priority", "Medium priority", "High priority"});
        d.set("Value", 1);
        break;
    case Kind::ListPicker:
        d.set("PickerItems", core::Array{"The northern region", "The southern region", "The eastern region"});
        d.set("Value", core::Array{i % 3});
        break;
    case Kind::DatePicker:
        d.set("Value", core::Date{1.7e9 + i * 86400.0});
        d.set("Mode", "datetime");
        break;
    case Kind::DurationPicker: d.set("Value", 5400.0); break;
    case Kind::Filter:
    case Kind::Sorter:
        d.set(kind == Kind::Filter ? "FilterItems" : "SortByItems",
              core::Array{"Open work orders only", "Closed work orders only"});
        d.set("Value", core::Array{i % 2});
        break;
    case Kind::Attachment:
        d.set("AttachmentTitle", "Attachments of the work order (%d)");
        d.set("AttachmentActionType", core::Array{"AddPhoto", "TakePhoto", "SelectFile"});
        break;
    case Kind::Button: d.set("Title", "Submit the work order " + n); break;
    case Kind::SignatureCapture: d.set("InitialStatusText", "Tap here to sign the work order"); break;
    default: break;
    }
    if (hidden) d.set("IsVisible", false);
    return d;
}

using Screen = bench::FormScreen;

// Two rows of one kind, one on screen: each step builds the other row into
// the cell the first one gave back.
void twoRowsOneOnScreen(Screen& s, Kind kind) {
    s.add(rowParams(kind, 0, false));
    s.add(rowParams(kind, 1, false));
    s.show();
}

void rowIntoReusedCell(benchmark::State& state, Owner owner, Kind kind) {
    Screen s(owner, 1);
    twoRowsOneOnScreen(s, kind);
    bench::TimedDataSource& timed = s.timeRows();
    int row = 0;
    for (int warm = 0; warm < 4; ++warm) s.scrollTo(row = 1 - row, ui::UITableView::ScrollPosition::Bottom);
    timed.reset();
    for (auto _ : state) {
        const double before = timed.bucket().seconds;
        s.scrollTo(row = 1 - row, ui::UITableView::ScrollPosition::Bottom);
        state.SetIterationTime(timed.bucket().seconds - before);
    }
    const auto& built = timed.bucket();
    const double rows = static_cast<double>(std::max<std::size_t>(built.rows, 1));
    state.counters["allocs/row"] = static_cast<double>(built.allocations) / rows;
    state.counters["rows/step"] =
        benchmark::Counter(static_cast<double>(built.rows), benchmark::Counter::kAvgIterations);
}

void scrollStep(benchmark::State& state, Owner owner, Kind kind) {
    Screen s(owner, 1);
    twoRowsOneOnScreen(s, kind);
    int row = 0;
    for (int warm = 0; warm < 4; ++warm) s.scrollTo(row = 1 - row, ui::UITableView::ScrollPosition::Bottom);
    const std::size_t before = AllocationCounter::allocations();
    for (auto _ : state) s.scrollTo(row = 1 - row, ui::UITableView::ScrollPosition::Bottom);
    state.counters["allocs/step"] = AllocationCounter::perIteration(before);
}

// A person's change on the one shown row, alternating between two values so
// that every change is a change.
template <class Cell>
std::shared_ptr<Cell> shownCell(Screen& s) {
    return std::dynamic_pointer_cast<Cell>(s.table()->cellForRow({0, 0}));
}

std::function<bool(bool)> personsChange(Screen& s, Kind kind) {
    switch (kind) {
    case Kind::Title: {
        auto c = shownCell<vessa::VUITitleFormCell>(s);
        return [c](bool odd) { return c->enterValue(odd ? "Typed text" : "Other text"); };
    }
    case Kind::Note: {
        auto c = shownCell<vessa::VUINoteFormCell>(s);
        return [c](bool odd) { return c->enterValue(odd ? "Typed text" : "Other text"); };
    }
    case Kind::SimpleProperty: {
        auto c = shownCell<vessa::VUITextFieldFormCell>(s);
        return [c](bool odd) { return c->enterValue(odd ? "Typed text" : "Other text"); };
    }
    case Kind::DatePicker: {
        auto c = shownCell<vessa::VUIDatePickerFormCell>(s);
        return [c](bool odd) { return c->pick(core::Date{odd ? 1.6e9 : 1.65e9}); };
    }
    case Kind::DurationPicker: {
        auto c = shownCell<vessa::VUIDurationPickerFormCell>(s);
        return [c](bool odd) { return c->pick(odd ? 600.0 : 1200.0); };
    }
    case Kind::Switch: {
        auto c = shownCell<vessa::VUISwitchFormCell>(s);
        return [c](bool) { return c->toggle(); };
    }
    case Kind::SegmentedControl: {
        auto c = shownCell<vessa::VUISegmentedControlFormCell>(s);
        return [c](bool odd) { return c->select(odd ? 0 : 2); };
    }
    case Kind::Filter: {
        auto c = shownCell<vessa::VUIFilterFormCell>(s);
        return [c](bool) { return c->tapOption(0); };
    }
    default: return nullptr;
    }
}

void changeToHostCallback(benchmark::State& state, Owner owner, Kind kind) {
    Screen s(owner, 1);
    s.add(rowParams(kind, 0, false));
    s.show();
    auto change = personsChange(s, kind);
    if (!change) {
        state.SkipWithError("no cell of the kind on screen");
        return;
    }
    bool odd = false;
    for (int warm = 0; warm < 4; ++warm) change(odd = !odd);
    s.settle();
    const std::size_t calls = s.callback->calls;
    const std::size_t before = AllocationCounter::allocations();
    for (auto _ : state) change(odd = !odd);
    state.counters["allocs/change"] = AllocationCounter::perIteration(before);
    state.counters["callbacks/change"] =
        benchmark::Counter(static_cast<double>(s.callback->calls - calls), benchmark::Counter::kAvgIterations);
    s.settle();
}

// The kinds a large form is made of, in turn.
constexpr Kind kMix[] = {Kind::Title, Kind::SimpleProperty, Kind::Switch, Kind::ListPicker, Kind::SegmentedControl};

void fill(Screen& s, int cells) {
    for (int i = 0; i < cells; ++i) s.add(rowParams(kMix[i % 5], i, i % 10 == 9));
}

// oneRowSections: the form's host announces a section of one row for every
// cell, so each cell goes into a section after all the others.
void addCells(benchmark::State& state, Owner owner, bool oneRowSections) {
    const int cells = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        {
            Screen s(owner, 10);
            if (oneRowSections) s.announce(std::vector<int>(static_cast<std::size_t>(cells), 1));
            state.ResumeTiming();
            fill(s, cells);
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    state.counters["per_cell"] = benchmark::Counter(
        static_cast<double>(cells), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Every shown row built once: the table starts at the top and moves a screen
// (10 rows) at a time to the end.
void scrollEveryShownRow(benchmark::State& state, Owner owner) {
    const int cells = static_cast<int>(state.range(0));
    Screen s(owner, 10);
    const std::size_t bytesBefore = AllocationCounter::liveBytes();
    fill(s, cells);
    const std::size_t bytesStored = AllocationCounter::liveBytes() - bytesBefore;
    s.show();
    const int shown = s.table()->numberOfRowsInSection(0);
    const std::size_t before = AllocationCounter::allocations();
    for (auto _ : state) {
        for (int row = 0; row < shown; row += 10) s.scrollTo(row, ui::UITableView::ScrollPosition::Top);
    }
    state.counters["rows"] = shown;
    state.counters["per_row"] = benchmark::Counter(
        static_cast<double>(shown), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["allocs/row"] = AllocationCounter::perIteration(before, shown);
    state.counters["bytes/cell"] = static_cast<double>(bytesStored) / cells;
}

const bool kRegistered = [] {
    for (Owner owner : {Owner::Form, Owner::Section}) {
        const std::string o = ownerName(owner);
        for (Kind kind : FormCellType::all()) {
            benchmark::RegisterBenchmark(("RowIntoReusedCell/" + o + "/" + kindName(kind)).c_str(), rowIntoReusedCell,
                                         owner, kind)
                ->UseManualTime();
        }
        for (Kind kind : FormCellType::all()) {
            benchmark::RegisterBenchmark(("ScrollStep/" + o + "/" + kindName(kind)).c_str(), scrollStep, owner, kind);
        }
        for (Kind kind : {Kind::Title, Kind::Note, Kind::SimpleProperty, Kind::DatePicker, Kind::DurationPicker,
                          Kind::Switch, Kind::SegmentedControl, Kind::Filter}) {
            benchmark::RegisterBenchmark(("ChangeToHostCallback/" + o + "/" + kindName(kind)).c_str(),
                                         changeToHostCallback, owner, kind);
        }
        benchmark::RegisterBenchmark(("ScrollEveryShownRow/" + o).c_str(), scrollEveryShownRow, owner)
            ->Arg(1000)
            ->Arg(10000)
            ->Arg(100000)
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("AddCells/" + o).c_str(), addCells, owner, false)
            ->Arg(1000)
            ->Arg(10000)
            ->Arg(100000)
            ->Unit(benchmark::kMillisecond);
        if (owner == Owner::Form) {
            benchmark::RegisterBenchmark(("AddCellsOneRowSections/" + o).c_str(), addCells, owner, true)
                ->Arg(1000)
                ->Arg(10000)
                ->Arg(100000)
                ->Unit(benchmark::kMillisecond);
        }
    }
    return true;
}();

}  // namespace
