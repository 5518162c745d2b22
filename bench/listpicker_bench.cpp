// List pickers: a static collection's local search as a person types into
// it (each keystroke filters every row), and the cost of new rows, which is
// where the rows' texts are lower-cased once. Rows are object rows with a
// title and a subhead; the picker's screen is not laid out, so only the
// data source's work is measured.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "formcells/ListPickerDataSource.h"
#include "platform/dispatch/MainQueue.h"
#include "platform/vessa/VUIListPicker.h"
#include "platform/vessa/VUIListPickerFormCell.h"
#include "services/Search.h"
#include "testsupport/ProcessStateReset.h"

using namespace trc;
using formcells::ListPickerDataSource;

namespace {

ListPickerDataSource::Items rows(std::int64_t count) {
    ListPickerDataSource::Items items;
    items.reserve(static_cast<std::size_t>(count));
    for (std::int64_t i = 0; i < count; ++i) {
        items.push_back(
            core::Dictionary{{"DisplayValue", core::Dictionary{{"Title", "Ärmelkanal Station " + std::to_string(i)},
                                                               {"Subhead", "Platform " + std::to_string(i % 17)}}}});
    }
    return items;
}

std::shared_ptr<ListPickerDataSource> staticSource(const std::shared_ptr<vessa::VUIListPickerFormCell>& cell,
                                                   std::int64_t count) {
    auto source = std::make_shared<ListPickerDataSource>(cell, rows(count), std::vector<int>{}, nullptr,
                                                         std::make_shared<services::Search>(core::Dictionary()));
    cell->listPicker()->setDataSource(source);
    cell->listPicker()->setSearchResultsUpdating(source);
    return source;
}

void BM_StaticSearchPerKeystroke(benchmark::State& state) {
    core::ProcessStateReset::resetAll();
    dispatch::MainQueue::resetShared(std::make_unique<dispatch::VirtualClock>());
    auto cell = std::make_shared<vessa::VUIListPickerFormCell>();
    auto source = staticSource(cell, state.range(0));
    const std::string typed[] = {"ä", "är", "ärm", "ärme", "station 1", "platform 3", ""};
    for (auto _ : state) {
        for (const auto& text : typed) cell->listPicker()->search(text);
        benchmark::DoNotOptimize(source->indexesOfFilteredChoices().size());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(std::size(typed)) * state.range(0));
}
BENCHMARK(BM_StaticSearchPerKeystroke)->Arg(100)->Arg(10000);

void BM_NewRowsOfAStaticCollection(benchmark::State& state) {
    core::ProcessStateReset::resetAll();
    dispatch::MainQueue::resetShared(std::make_unique<dispatch::VirtualClock>());
    auto cell = std::make_shared<vessa::VUIListPickerFormCell>();
    auto source = staticSource(cell, 0);
    const auto fresh = rows(state.range(0));
    for (auto _ : state) {
        source->update(fresh);
        benchmark::DoNotOptimize(source->data().size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_NewRowsOfAStaticCollection)->Arg(100)->Arg(10000);

}  // namespace
