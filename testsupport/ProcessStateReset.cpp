#include "testsupport/ProcessStateReset.h"

#include "platform/core/internal/ProcessResets.h"

namespace trc::core {

void ProcessStateReset::resetAll() { internal::ProcessResets::runAll(); }

}  // namespace trc::core
