// A host's form, in both owners of form cells, scrolled the way a person
// scrolls it: the form of formcells_bench, set up as hosts set theirs up.
//
// The form: every one of the fourteen kinds, shuffled (fixed seed); texts as
// long as a host's and of varying length; a tenth of the cells hidden; a
// callback object of its own for every row; option, filter, sort, segment
// and attachment-action lists of varying length; a distinct date on every
// date row, in varying modes; extension rows whose callback object hosts a
// view of its own (no "_Height": the view sizes the row). 20 rows are on
// screen; the table moves one row a step, down to the end and back up, so
// each step one row leaves and one enters; every 100th step the host
// updates a row on screen.
//
// - HostFormStep/<owner>/<cells>: one step, the update every 100th step
//   included; allocations per step. At 1,000, 10,000 and 100,000 cells, so
//   the cost per row of a long form shows beside a short one's.
// - HostFormRow/<owner>/<kind>: a row of the kind built into the cell the
//   table reuses, in the 10,000-cell form: each iteration scrolls until one
//   row of the kind has entered, and its time is that row's build alone
//   (timed inside the table's data source); allocations per row.
//
// Allocations are counted at malloc (ICU's count too), see AllocationCounter.
// Run with --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
// for medians. Instructions per step: valgrind --tool=callgrind
// --collect-atstart=no --toggle-collect='*HostForm::measuredStep*' with
// --benchmark_filter=HostFormStep/<owner>/10000, the total divided by the
// calls of measuredStep.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "AllocationCounter.h"
#include "FormScreen.h"
#include "formcells/FormCellRowList.h"
#include "formcells/FormCellType.h"
#include "platform/ui/UITableView.h"
#include "platform/ui/UIView.h"

using namespace trc;
using bench::AllocationCounter;
using bench::FormScreen;
using bench::Owner;
using formcells::FormCellType;
using Kind = FormCellType::Kind;

namespace {

constexpr int kRowsOnScreen = 20;
constexpr int kStepsPerUpdate = 100;
constexpr int kRowFormCells = 10000;

std::string kindName(Kind kind) {
    constexpr std::string_view prefix = "Control.Type.FormCell.";
    return std::string(FormCellType::rawValue(kind).substr(prefix.size()));
}

// Words to make host texts of, so texts differ in length and content.
constexpr std::array<const char*, 16> kWords = {
    "inspection", "of",    "the",         "northern", "pump",  "station",   "valve",    "pressure",
    "reading",    "after", "maintenance", "work",     "order", "equipment", "location", "notes"};

std::string text(std::mt19937& rng, const std::string& lead, int minWords, int maxWords) {
    std::uniform_int_distribution<int> words(minWords, maxWords);
    std::uniform_int_distribution<std::size_t> word(0, kWords.size() - 1);
    std::string out = lead;
    for (int n = words(rng); n > 0; --n) (out += ' ') += kWords[word(rng)];
    return out;
}

core::Array texts(std::mt19937& rng, int minCount, int maxCount, const std::string& lead) {
    std::uniform_int_distribution<int> count(minCount, maxCount);
    core::Array out;
    for (int n = count(rng), i = 0; i < n; ++i) out.emplace_back(text(rng, lead + " " + std::to_string(i + 1), 1, 4));
    return out;
}

// The parameters a host sends for row i of the kind.
core::Dictionary hostRowParams(Kind kind, int i, bool hidden, std::mt19937& rng) {
    const std::string n = std::to_string(i);
    core::Dictionary d{{"_Type", std::string(FormCellType::rawValue(kind))},
                       {"_Name", "WorkOrderFormRow" + n},
                       {"Caption", text(rng, "Row " + n + ":", 2, 6)}};
    switch (kind) {
    case Kind::Title:
    case Kind::Note:
    case Kind::SimpleProperty:
        d.set("Value", text(rng, "Value " + n + ":", 2, 12));
        d.set("PlaceHolder", text(rng, "Enter", 2, 5));
        break;
    case Kind::Switch: d.set("Value", rng() % 2 == 0); break;
    case Kind::SegmentedControl: {
        core::Array segments = texts(rng, 2, 5, "Level");
        d.set("Value", static_cast<int>(rng() % segments.size()));
        d.set("Segments", std::move(segments));
        break;
    }
    case Kind::ListPicker: {
        core::Array items = texts(rng, 2, 40, "Region");
        d.set("Value", core::Array{static_cast<int>(rng() % items.size())});
        d.set("PickerItems", std::move(items));
        break;
    }
    case Kind::DatePicker: {
        static constexpr std::array<const char*, 3> kModes = {"datetime", "date", "datetime"};
        d.set("Value", core::Date{1.7e9 + i * 3671.0});  // a date of its own, to the minute
        d.set("Mode", kModes[static_cast<std::size_t>(i) % kModes.size()]);
        break;
    }
    case Kind::DurationPicker: d.set("Value", 60.0 * static_cast<double>(rng() % 600)); break;
    case Kind::Filter:
    case Kind::Sorter: {
        core::Array items = texts(rng, 2, 12, kind == Kind::Filter ? "Only" : "By");
        core::Array picked;
        for (int k = 0; k < static_cast<int>(items.size()); ++k) {
            if (rng() % 3 == 0) picked.emplace_back(k);
        }
        d.set("Value", std::move(picked));
        d.set(kind == Kind::Filter ? "FilterItems" : "SortByItems", std::move(items));
        break;
    }
    case Kind::Attachment: {
        std::array<const char*, 3> actions = {"AddPhoto", "TakePhoto", "SelectFile"};
        std::shuffle(actions.begin(), actions.end(), rng);
        core::Array named;
        for (std::size_t k = 0, count = 1 + rng() % actions.size(); k < count; ++k) named.emplace_back(actions[k]);
        d.set("AttachmentTitle", text(rng, "Attachments (%d):", 1, 4));
        d.set("AttachmentActionType", std::move(named));
        break;
    }
    case Kind::Button: d.set("Title", text(rng, "Submit", 1, 5)); break;
    case Kind::SignatureCapture: d.set("InitialStatusText", text(rng, "Tap to sign:", 1, 5)); break;
    case Kind::Extension: break;
    }
    if (hidden) d.set("IsVisible", false);
    return d;
}

// The host's update of a row on screen: new texts for the text kinds, a new
// value for the others that have one, a new caption for the rest.
core::Dictionary hostUpdate(Kind kind, int step) {
    const std::string n = std::to_string(step);
    switch (kind) {
    case Kind::Title:
    case Kind::Note:
    case Kind::SimpleProperty: return {{"Value", "The value the host set at step " + n}};
    case Kind::Switch: return {{"Value", step % 2 == 0}};
    case Kind::DatePicker: return {{"Value", core::Date{1.6e9 + step * 60.0}}};
    case Kind::DurationPicker: return {{"Value", 60.0 * (step % 97)}};
    default: return {{"Caption", "The caption the host set at step " + n}};
    }
}

// A host's form of that many cells on screen, scrolled a row at a time.
class HostForm {
public:
    HostForm(Owner owner, int cells) : screen_(owner, kRowsOnScreen) {
        std::mt19937 rng(20240611);
        std::vector<Kind> kinds(static_cast<std::size_t>(cells));
        for (int i = 0; i < cells; ++i)
            kinds[static_cast<std::size_t>(i)] =
                FormCellType::all()[static_cast<std::size_t>(i) % FormCellType::kCount];
        std::shuffle(kinds.begin(), kinds.end(), rng);
        std::bernoulli_distribution hidden(0.1);
        for (int i = 0; i < cells; ++i) {
            const Kind kind = kinds[static_cast<std::size_t>(i)];
            const bool hide = hidden(rng);
            auto callback = std::make_shared<bench::HostCallback>();
            if (kind == Kind::Extension) callback->view = std::make_shared<ui::UIView>(ui::CGRect(0, 0, 320, 120));
            callbacks_.push_back(callback);
            screen_.add(hostRowParams(kind, i, hide, rng), callback);
            if (!hide) {
                shownKinds_.push_back(kind);
                shownActual_.push_back(i);
            }
        }
        screen_.show();
        timed_ = &screen_.timeRows(FormCellType::kCount);
        for (Kind kind : shownKinds_) timed_->bucketOfShownRow.push_back(static_cast<int>(kind));
        lastTop_ = static_cast<int>(shownKinds_.size()) - kRowsOnScreen;
    }

    // One step: the table moves a row; every 100th step the host updates a
    // row in the middle of the screen.
    [[gnu::noinline]] void step() {
        if (top_ + direction_ < 0 || top_ + direction_ > lastTop_) direction_ = -direction_;
        top_ += direction_;
        screen_.scrollTo(top_, ui::UITableView::ScrollPosition::Top);
        if (++steps_ % kStepsPerUpdate == 0) {
            const auto middle = static_cast<std::size_t>(top_ + kRowsOnScreen / 2);
            screen_.update(hostUpdate(shownKinds_[middle], steps_), shownActual_[middle]);
        }
    }

    // The step the benchmark times, apart from the warm-up's, so that a
    // profiler can count it alone (callgrind --toggle-collect).
    [[gnu::noinline]] void measuredStep() { step(); }

    // Every row of the form once through the table, so each kind's cells are in the reuse pool.
    void warmUp() {
        for (int i = 0; i < 2 * lastTop_ + 2; ++i) step();
        screen_.settle();
    }

    bench::TimedDataSource& timed() { return *timed_; }

private:
    FormScreen screen_;
    std::vector<std::shared_ptr<bench::HostCallback>> callbacks_;
    std::vector<Kind> shownKinds_;
    std::vector<int> shownActual_;
    bench::TimedDataSource* timed_ = nullptr;
    int top_ = 0;
    int direction_ = 1;
    int lastTop_ = 0;
    int steps_ = 0;
};

void hostFormStep(benchmark::State& state, Owner owner) {
    HostForm form(owner, static_cast<int>(state.range(0)));
    form.warmUp();
    const std::size_t before = AllocationCounter::allocations();
    const std::size_t rowsBefore = form.timed().total().rows;
    for (auto _ : state) form.measuredStep();
    state.counters["allocs/step"] = AllocationCounter::perIteration(before);
    state.counters["rows/step"] = benchmark::Counter(static_cast<double>(form.timed().total().rows - rowsBefore),
                                                     benchmark::Counter::kAvgIterations);
}

void hostFormRow(benchmark::State& state, Owner owner, Kind kind) {
    HostForm form(owner, kRowFormCells);
    form.warmUp();
    const auto bucket = static_cast<std::size_t>(kind);
    form.timed().reset();
    for (auto _ : state) {
        const auto& built = form.timed().bucket(bucket);
        const double seconds = built.seconds;
        const std::size_t rows = built.rows;
        while (built.rows == rows) form.step();
        state.SetIterationTime(built.seconds - seconds);
    }
    const auto& built = form.timed().bucket(bucket);
    const double rows = static_cast<double>(std::max<std::size_t>(built.rows, 1));
    state.counters["allocs/row"] = static_cast<double>(built.allocations) / rows;
    state.counters["rows/iter"] =
        benchmark::Counter(static_cast<double>(built.rows), benchmark::Counter::kAvgIterations);
}

const bool kRegistered = [] {
    for (Owner owner : {Owner::Form, Owner::Section}) {
        const std::string o = bench::ownerName(owner);
        benchmark::RegisterBenchmark(("HostFormStep/" + o).c_str(), hostFormStep, owner)
            ->Arg(1000)
            ->Arg(10000)
            ->Arg(100000);
        for (Kind kind : FormCellType::all()) {
            benchmark::RegisterBenchmark(("HostFormRow/" + o + "/" + kindName(kind)).c_str(), hostFormRow, owner, kind)
                ->UseManualTime()
                ->Iterations(5000);
        }
    }
    return true;
}();

}  // namespace
