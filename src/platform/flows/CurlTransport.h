#pragma once
// The URL sessions' default transport: one libcurl easy handle per request,
// on the worker thread the session gives it. No signals (CURLOPT_NOSIGNAL),
// HTTP and HTTPS only (also after redirects, which it follows), certificates
// verified. The session's request timeout bounds connecting and any silence;
// the request's timeout (or the session's resource timeout) the whole
// request. Cookies come from and go back to HTTPCookieStorage::shared().
//
// libcurl results become the platform's URL error codes: no route to the
// network -1009, timeout -1001, unknown host -1003, refused or unreachable
// host -1004, malformed URL -1000, other scheme -1002, TLS failure -1200,
// connection dropped -1005, cancelled -999, anything else -1.

#include "platform/flows/URLTransport.h"

namespace trc::flows {

class CurlTransport : public URLTransport {
public:
    // Largest body kept; a longer answer fails with -1 rather than filling memory.
    static constexpr std::size_t kMaxBodyBytes = 64u << 20;

    CurlTransport();

    Outcome perform(const URLRequest& request, const URLSessionConfiguration& configuration,
                    const std::atomic<bool>& cancelled) override;

    // The URL error code for a libcurl result and the system error behind it.
    static int errorCodeFor(int curlCode, long osErrno);
};

}  // namespace trc::flows
