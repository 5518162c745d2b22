#pragma once
// An observer registered on a URL session: it sees every request before it
// is sent and may change it (add a header, for example). Called on the main
// thread, in registration order. Observers must not log secret header values.

#include "platform/flows/URLRequest.h"

namespace trc::flows {

class ZELURLSessionObserving {
public:
    virtual ~ZELURLSessionObserving() = default;
    virtual void prepare(URLRequest& request) = 0;
};

}  // namespace trc::flows
