#include "services/VersionObserver.h"

namespace trc::services {

void VersionObserver::prepare(flows::URLRequest& request) { request.setValue(kVersion, kHeaderField); }

}  // namespace trc::services
