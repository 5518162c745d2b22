// Form cells: building one row of each kind into a reused cell (time and heap
// allocations per row), and a full-screen form of many cells in one section
// (a tenth hidden): adding the cells, then asking the table for every shown
// row once, a screen at a time, as scrolling would.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "formcells/FormCellContainerViewController.h"
#include "formcells/FormCellItemDelegate.h"
#include "formcells/FormCellType.h"
#include "platform/core/ProcessState.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/ui/UITableView.h"

// Every heap allocation of the program is counted, so a benchmark can report
// the allocations one row costs. The replaced operators pair new with
// malloc and delete with free, which the compiler cannot see across them.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
namespace {
std::atomic<std::size_t> gAllocations{0};
}

void* operator new(std::size_t size) {
    gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return ::operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

using namespace trc;
using formcells::FormCellContainerViewController;
using Kind = formcells::FormCellType::Kind;

namespace {

// Parameters a host would send for a row of the kind.
core::Dictionary rowParams(Kind kind, int i, bool hidden) {
    core::Dictionary d{{"_Type", std::string(formcells::FormCellType::rawValue(kind))},
                       {"_Name", "cell" + std::to_string(i)},
                       {"Caption", "Caption " + std::to_string(i)}};
    switch (kind) {
    case Kind::Title:
    case Kind::Note:
    case Kind::SimpleProperty: d.set("Value", "Value " + std::to_string(i)); break;
    case Kind::Switch: d.set("Value", i % 2 == 0); break;
    case Kind::SegmentedControl:
        d.set("Segments", core::Array{"Low", "Medium", "High"});
        d.set("Value", 1);
        break;
    case Kind::ListPicker: d.set("PickerItems", core::Array{"North", "South", "East"}); break;
    case Kind::DurationPicker: d.set("Value", 5400.0); break;
    case Kind::Filter:
    case Kind::Sorter: d.set("FilterItems", core::Array{"Open", "Closed"}); break;
    default: break;
    }
    if (hidden) d.set("IsVisible", false);
    return d;
}

struct Form {
    explicit Form(int rowsOnScreen) {
        core::ProcessState::resetAll();
        dispatch::MainQueue::resetShared();
        form = std::make_shared<FormCellContainerViewController>();
        table = form->tableView();
        table->setRowsOnScreen(rowsOnScreen);
    }
    ~Form() { core::ProcessState::resetAll(); }
    void add(const core::Dictionary& params) { form->addFormCell(params, delegate); }

    std::shared_ptr<FormCellContainerViewController> form;
    std::shared_ptr<ui::UITableView> table;
    std::shared_ptr<core::Object> delegate = std::make_shared<formcells::FormCellItemDelegate>();
};

// Two rows of one kind, one on screen: each scroll builds the other row into
// the cell the first one gave back.
void BM_BuildRowIntoReusedCell(benchmark::State& state) {
    const auto kind = static_cast<Kind>(state.range(0));
    Form f(1);
    f.form->announcedNumberOfSections = 1;
    f.form->announcedNumberOfRowsInSection = {2};
    f.add(rowParams(kind, 0, false));
    f.add(rowParams(kind, 1, false));
    f.table->layoutIfNeeded();
    int row = 0;
    const std::size_t before = gAllocations.load();
    for (auto _ : state) {
        row = 1 - row;
        f.table->scrollToRow({0, row}, ui::UITableView::ScrollPosition::Bottom, false);
    }
    state.counters["allocs/row"] =
        benchmark::Counter(static_cast<double>(gAllocations.load() - before), benchmark::Counter::kAvgIterations);
    state.SetLabel(std::string(formcells::FormCellType::rawValue(kind)).substr(std::string("Control.Type.FormCell.").size()));
}
BENCHMARK(BM_BuildRowIntoReusedCell)->DenseRange(0, static_cast<int>(formcells::FormCellType::kCount) - 1);

// The kinds a large form is made of, in turn.
constexpr Kind kMix[] = {Kind::Title, Kind::SimpleProperty, Kind::Switch, Kind::ListPicker, Kind::SegmentedControl};

void fill(Form& f, int cells) {
    f.form->announcedNumberOfSections = 1;
    f.form->announcedNumberOfRowsInSection = {cells};
    for (int i = 0; i < cells; ++i) f.add(rowParams(kMix[i % 5], i, i % 10 == 9));
}

void BM_FormAddCells(benchmark::State& state) {
    const int cells = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        {
            Form f(10);
            state.ResumeTiming();
            fill(f, cells);
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    state.counters["per_cell"] = benchmark::Counter(static_cast<double>(cells),
                                                    benchmark::Counter::kIsIterationInvariantRate |
                                                        benchmark::Counter::kInvert);
}
BENCHMARK(BM_FormAddCells)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Every shown row built once: the table starts at the top and moves a screen
// (10 rows) at a time to the end.
void BM_FormScrollEveryShownRow(benchmark::State& state) {
    const int cells = static_cast<int>(state.range(0));
    Form f(10);
    fill(f, cells);
    f.table->layoutIfNeeded();
    const int shown = f.table->numberOfRowsInSection(0);
    for (auto _ : state) {
        for (int row = 0; row < shown; row += 10) {
            f.table->scrollToRow({0, row}, ui::UITableView::ScrollPosition::Top, false);
        }
    }
    state.counters["rows"] = shown;
    state.counters["per_row"] = benchmark::Counter(static_cast<double>(shown),
                                                   benchmark::Counter::kIsIterationInvariantRate |
                                                       benchmark::Counter::kInvert);
}
BENCHMARK(BM_FormScrollEveryShownRow)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
