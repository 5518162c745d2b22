#pragma once
// The transport of sessions made without one: libcurl unless the test-support
// target puts another in its place (flows::ZELURLSessionSeam, to stand for a
// device without network or a scripted server). The header is not installed,
// so no host can reroute the library's requests. A process-state reset puts
// libcurl back. Any thread.

#include <memory>

#include "platform/flows/URLTransport.h"

namespace trc::flows::internal {

class DefaultTransport {
public:
    static std::shared_ptr<URLTransport> current();
    // nullptr puts libcurl back.
    static void replace(std::shared_ptr<URLTransport> transport);

    DefaultTransport() = delete;
};

}  // namespace trc::flows::internal
