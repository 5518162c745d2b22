// Host values: reading and writing a large form definition (beside
// nlohmann-json's document parse and dump of the same text), looking a key up
// in a parameter dictionary, and copying one.

#include <benchmark/benchmark.h>

#include <chrono>
#include <nlohmann/json.hpp>
#include <string>

#include "AllocationCounter.h"

#include "platform/core/Json.h"
#include "platform/core/Value.h"

using namespace trc::core;

namespace {

// One form cell's parameters: 20 entries of the kinds a host sends.
Dictionary cellParams(int i) {
    return Dictionary{
        {"_Type", "Control.Type.FormCell.SimpleProperty"},
        {"_Name", "Cell" + std::to_string(i)},
        {"Caption", "Caption of cell number " + std::to_string(i)},
        {"Value", "Some value text that a user typed " + std::to_string(i * 7)},
        {"PlaceHolder", "Enter a value"},
        {"IsEditable", i % 2 == 0},
        {"IsVisible", true},
        {"KeyboardType", "Default"},
        {"MinNumberOfLines", 1},
        {"MaxNumberOfLines", 4},
        {"IsAutoResizing", false},
        {"Mode", "Date"},
        {"MinuteInterval", 15},
        {"Duration", 3600.5},
        {"Segments", Array{"Low", "Medium", "High"}},
        {"PickerItems", Array{"Alpha", "Beta", "Gamma", "Delta"}},
        {"Styles", Dictionary{{"Background", "CellBackground"}, {"Caption", "CellCaption"}, {"Value", "CellValue"}}},
        {"validationProperties", Dictionary{{"ValidationMessage", "This value is not valid"},
                                            {"ValidationViewIsHidden", true},
                                            {"ValidationMessageColor", "FF0000"}}},
        {"Search", Dictionary{{"Enabled", true}, {"Delay", 500}, {"MinimumCharacterThreshold", 3}}},
        {"HelperText", "A line of help for cell " + std::to_string(i)},
    };
}

// About 500 KB of JSON text: one form of many cells.
const std::string& formDefinitionText() {
    static const std::string text = [] {
        Array cells;
        for (std::size_t size = 0, i = 0; size < 500 * 1024; ++i) {
            cells.push_back(cellParams(static_cast<int>(i)));
            size += Json::write(cells.back()).size() + 1;
        }
        return Json::write(Value(cells));
    }();
    return text;
}

// Reading and writing side by side with nlohmann-json's own document parse
// and dump of the same text, interleaved in each iteration so that a busy
// machine slows both alike. The time is ours; "nlohmann_ms" is theirs and
// "speedup" theirs over ours (above 1: we are faster).
template <class Ours, class Theirs>
void sideBySide(benchmark::State& state, std::size_t bytes, Ours ours, Theirs theirs) {
    using Clock = std::chrono::steady_clock;
    double oursSeconds = 0, theirsSeconds = 0;
    const std::size_t before = trc::bench::AllocationCounter::allocations();
    std::size_t theirAllocations = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        ours();
        const auto t1 = Clock::now();
        const std::size_t a = trc::bench::AllocationCounter::allocations();
        theirs();
        theirAllocations += trc::bench::AllocationCounter::allocations() - a;
        const auto t2 = Clock::now();
        const double o = std::chrono::duration<double>(t1 - t0).count();
        oursSeconds += o;
        theirsSeconds += std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(o);
    }
    const auto n = static_cast<double>(state.iterations());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["kB"] = static_cast<double>(bytes) / 1024;
    state.counters["nlohmann_ms"] = theirsSeconds / n * 1e3;
    state.counters["speedup"] = oursSeconds > 0 ? theirsSeconds / oursSeconds : 0;
    state.counters["allocs"] =
        static_cast<double>(trc::bench::AllocationCounter::allocations() - before - theirAllocations) / n;
    state.counters["nlohmann_allocs"] = static_cast<double>(theirAllocations) / n;
}

void BM_ReadFormDefinition(benchmark::State& state) {
    const std::string& text = formDefinitionText();
    sideBySide(
        state, text.size(), [&] { benchmark::DoNotOptimize(Json::parse(text)); },
        [&] { benchmark::DoNotOptimize(nlohmann::json::parse(text)); });
}
BENCHMARK(BM_ReadFormDefinition)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_WriteFormDefinition(benchmark::State& state) {
    const std::string& text = formDefinitionText();
    const Value form = Json::parse(text);
    const nlohmann::json document = nlohmann::json::parse(text);
    sideBySide(
        state, text.size(), [&] { benchmark::DoNotOptimize(Json::write(form)); },
        [&] { benchmark::DoNotOptimize(document.dump()); });
}
BENCHMARK(BM_WriteFormDefinition)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_LookUpKeyIn20EntryParams(benchmark::State& state) {
    const Value params(cellParams(1));
    const char* keys[] = {"_Type", "Value", "validationProperties", "Styles", "NotThere"};
    std::size_t k = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(params.find(keys[k]));
        k = (k + 1) % 5;
    }
}
BENCHMARK(BM_LookUpKeyIn20EntryParams);

// A copy shares the dictionary until one side writes.
void BM_CopyParams(benchmark::State& state) {
    const Value params(cellParams(1));
    for (auto _ : state) {
        Value copy = params;
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_CopyParams);

// A copy that is then written: the write pays for detaching the top level.
void BM_CopyParamsThenWrite(benchmark::State& state) {
    const Value params(cellParams(1));
    for (auto _ : state) {
        Value copy = params;
        copy.mutableDictionary().set("Value", "changed");
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_CopyParamsThenWrite);

}  // namespace
