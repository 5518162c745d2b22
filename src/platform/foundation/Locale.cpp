#include "platform/foundation/Locale.h"

#include <optional>

#include "platform/core/ProcessState.h"

namespace trc::foundation {

namespace {

std::optional<Locale>& currentSlot() {
    static std::optional<Locale> slot;
    return slot;
}

}  // namespace

Locale Locale::current() { return currentSlot().value_or(Locale()); }

void Locale::setCurrent(Locale locale) {
    currentSlot() = std::move(locale);
    core::ProcessState::registerReset("Locale", [] { currentSlot().reset(); });
}

}  // namespace trc::foundation
