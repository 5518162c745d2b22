#include "platform/core/StandardOutput.h"

#include <cstdio>

#include "platform/core/ProcessState.h"

namespace trc::core {

namespace {

StandardOutput::Sink& sink() {
    static StandardOutput::Sink s;
    return s;
}

[[maybe_unused]] const bool kResetRegistered = [] {
    ProcessState::registerReset("core.StandardOutput", [] { sink() = nullptr; });
    return true;
}();

}  // namespace

void StandardOutput::print(std::string_view line) {
    if (sink()) {
        sink()(line);
        return;
    }
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void StandardOutput::redirect(Sink s) { sink() = std::move(s); }

}  // namespace trc::core
