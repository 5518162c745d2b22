#include "platform/core/ProcessState.h"

#include <utility>

#include "platform/core/internal/ProcessResets.h"

namespace trc::core {

void ProcessState::registerReset(const std::string& name, std::function<void()> fn) {
    internal::ProcessResets::add(name, std::move(fn));
}

}  // namespace trc::core
