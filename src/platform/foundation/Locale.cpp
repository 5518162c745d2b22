#include "platform/foundation/Locale.h"

#include <unicode/locid.h>
#include <unicode/uloc.h>

#include <cstring>

#include "platform/core/ProcessState.h"

namespace trc::foundation {

namespace {

std::optional<Locale>& currentSlot() {
    static std::optional<Locale> slot;
    return slot;
}

}  // namespace

bool Locale::isValidIdentifier(std::string_view identifier) {
    // A NUL would end the text ICU reads early, and a long text is cut or
    // made bogus by it; both are refused before ICU sees them.
    if (identifier.size() >= ULOC_FULLNAME_CAPACITY || identifier.find('\0') != std::string_view::npos) return false;
    const icu::Locale locale(std::string(identifier).c_str());
    // Canonicalising can lengthen a name ("en_XX..." gains a "_"), past what
    // the formatters' buffers take.
    return !locale.isBogus() && std::strlen(locale.getName()) < ULOC_FULLNAME_CAPACITY;
}

std::optional<Locale> Locale::named(std::string_view identifier) {
    if (!isValidIdentifier(identifier)) return std::nullopt;
    return Locale(std::string(identifier));
}

Locale Locale::current() { return currentSlot().value_or(Locale()); }

void Locale::setCurrent(Locale locale) {
    currentSlot() = std::move(locale);
    core::ProcessState::registerReset("Locale", [] { currentSlot().reset(); });
}

}  // namespace trc::foundation
