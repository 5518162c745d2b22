#pragma once
// What carries a URL session's requests: the seam between the session and
// the network. The session calls perform on a worker thread, once per
// request, with observers already applied; it returns the response and body,
// or a URLError (and must never throw). The default transport is libcurl; a
// test injects its own to stand for conditions it cannot make on a loopback
// server, such as a device without a network.

#include <atomic>
#include <optional>

#include "platform/core/Value.h"
#include "platform/flows/Error.h"
#include "platform/flows/HTTPURLResponse.h"
#include "platform/flows/URLRequest.h"
#include "platform/flows/URLSessionConfiguration.h"

namespace trc::flows {

class URLTransport {
public:
    struct Outcome {
        std::optional<HTTPURLResponse> response;
        core::Data body;
        ErrorPtr error;
    };

    virtual ~URLTransport() = default;

    // cancelled turns true when the task is cancelled; a transport should then
    // end soon with URLError::cancelled.
    virtual Outcome perform(const URLRequest& request, const URLSessionConfiguration& configuration,
                            const std::atomic<bool>& cancelled) = 0;
};

}  // namespace trc::flows
