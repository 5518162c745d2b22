#include "services/HostNumber.h"

#include <limits>
#include <string>

#include "platform/core/SharedLoggerManager.h"
#include "services/ParameterHelper.h"

namespace trc::services {

namespace {

constexpr std::int64_t kIntMin = std::numeric_limits<int>::min();
constexpr std::int64_t kIntMax = std::numeric_limits<int>::max();

// The value as an integer, or nothing (refused) when it is none.
std::optional<std::int64_t> integer(const core::Value& value, std::string_view entry, std::string_view what) {
    auto n = ParameterHelper::exactInteger(value);
    if (!n) HostNumber::refuse(entry, "the " + std::string(what) + " must be an integer, not " + value.description());
    return n;
}

}  // namespace

std::optional<int> HostNumber::rowOrSection(const core::Value& value, std::string_view entry, std::string_view what) {
    auto n = integer(value, entry, what);
    if (!n) return std::nullopt;
    if (*n < kIntMin || *n > kIntMax) {
        refuse(entry, std::string(what) + " " + std::to_string(*n) + " addresses nothing");
        return std::nullopt;
    }
    return static_cast<int>(*n);
}

std::optional<int> HostNumber::count(const core::Value& value, std::string_view entry, std::string_view what) {
    auto n = integer(value, entry, what);
    if (!n) return std::nullopt;
    if (*n > kCountCap || *n < kIntMin) {
        refuse(entry, std::string(what) + " " + std::to_string(*n) + " is beyond the cap of " +
                          std::to_string(kCountCap) + "; refused");
        return std::nullopt;
    }
    return static_cast<int>(*n);
}

void HostNumber::refuse(std::string_view entry, std::string_view why) {
    core::SharedLoggerManager::log(core::SharedLoggerManager::kTRCLogger, core::Severity::warn,
                                   std::string(entry) + ": " + std::string(why));
}

}  // namespace trc::services
