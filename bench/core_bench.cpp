// Host values: parsing and writing a large form definition, looking a key up
// in a parameter dictionary, and copying one.

#include <benchmark/benchmark.h>

#include <string>

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
        {"validationProperties",
         Dictionary{{"ValidationMessage", "This value is not valid"},
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

void BM_ParseFormDefinition(benchmark::State& state) {
    const std::string& text = formDefinitionText();
    for (auto _ : state) benchmark::DoNotOptimize(Json::parse(text));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.counters["kB"] = static_cast<double>(text.size()) / 1024;
}
BENCHMARK(BM_ParseFormDefinition)->Unit(benchmark::kMillisecond);

void BM_WriteFormDefinition(benchmark::State& state) {
    const Value form = Json::parse(formDefinitionText());
    std::size_t size = 0;
    for (auto _ : state) {
        std::string out = Json::write(form);
        size = out.size();
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
}
BENCHMARK(BM_WriteFormDefinition)->Unit(benchmark::kMillisecond);

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
