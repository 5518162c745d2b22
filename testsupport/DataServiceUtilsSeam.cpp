#include "testsupport/DataServiceUtilsSeam.h"

#include <utility>

namespace trc::services {

void DataServiceUtilsSeam::setRandomSource(RandomSource source) {
    internal::OfflineKeyRandomSource::replace(std::move(source));
}

}  // namespace trc::services
