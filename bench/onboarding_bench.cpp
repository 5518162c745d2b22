// Onboarding texts the host sends: turning the host's "{0}" into the passcode
// screens' placeholder must cost no more than the text's length, however many
// placeholders it holds.

#include <benchmark/benchmark.h>

#include <string>

#include "onboarding/OnboardingCustomization.h"
#include "platform/core/Dictionary.h"

namespace {

using namespace trc;

void BM_PasscodeFormatOfPlaceholders(benchmark::State& state) {
    std::string text;
    while (text.size() < static_cast<std::size_t>(state.range(0))) text += "{0}";
    const core::Dictionary texts{{"attemptsLeftMessageFormat", text}};
    for (auto _ : state) onboarding::OnboardingCustomization::update(texts);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_PasscodeFormatOfPlaceholders)->Arg(1 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

}  // namespace
