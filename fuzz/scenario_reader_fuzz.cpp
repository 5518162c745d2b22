// Feeds arbitrary text to the host simulator's scenario reader. Bad input
// must end in a ScenarioError that says what is wrong, never a crash, a hang
// or another exception.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "simulator/Scenario.h"
#include "simulator/ScenarioExtensions.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        trc::simulator::Scenario scenario = trc::simulator::Scenario::parse(text, "/nonexistent/scenarios");
        (void)scenario;
    } catch (const trc::simulator::ScenarioError&) {
    }
    return 0;
}
