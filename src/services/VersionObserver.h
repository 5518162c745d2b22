#pragma once
// A URL-session observer that tells the server which version of this
// library speaks to it: every request of the session it is registered on
// carries the header "X-QNV-SDK-VERSION". Stateless; main thread, as the
// session calls its observers.

#include "platform/flows/ZELURLSessionObserving.h"

namespace trc::services {

class VersionObserver : public flows::ZELURLSessionObserving {
public:
    static constexpr const char* kHeaderField = "X-QNV-SDK-VERSION";
    static constexpr const char* kVersion = "0.1.0";

    void prepare(flows::URLRequest& request) override;
};

}  // namespace trc::services
