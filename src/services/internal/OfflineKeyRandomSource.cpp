#include "services/internal/OfflineKeyRandomSource.h"

#include <utility>

#include "platform/core/ProcessState.h"
#include "services/DataServiceUtils.h"

namespace trc::services::internal {

namespace {

OfflineKeyRandomSource::Source& source() {
    static OfflineKeyRandomSource::Source s = [] {
        core::ProcessState::registerReset("services.DataServiceUtils", [] { OfflineKeyRandomSource::replace({}); });
        return OfflineKeyRandomSource::Source(DataServiceUtils::systemRandom);
    }();
    return s;
}

}  // namespace

bool OfflineKeyRandomSource::fill(std::uint8_t* buffer, std::size_t size) { return source()(buffer, size); }

void OfflineKeyRandomSource::replace(Source s) { source() = s ? std::move(s) : Source(DataServiceUtils::systemRandom); }

}  // namespace trc::services::internal
