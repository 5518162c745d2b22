#pragma once
// Replaces the random source of the offline store's key, to see the failure
// road (a source that fails or throws); an empty function puts the system's
// secure generator back, as a process-state reset does.

#include "services/internal/OfflineKeyRandomSource.h"

namespace trc::services {

class DataServiceUtilsSeam {
public:
    using RandomSource = internal::OfflineKeyRandomSource::Source;

    static void setRandomSource(RandomSource source);

    DataServiceUtilsSeam() = delete;
};

}  // namespace trc::services
