#pragma once
// Tells whether a text is a web address a request can be sent to: an
// absolute http or https URL with a host, as libcurl's URL parser reads it,
// without spaces or control characters. Callers that probe or ping a server
// use it to decide whether there is anything to reach at all, before any
// request is made.
//
// Static and stateless; any thread.

#include <string_view>

namespace trc::foundation {

class WebURL {
public:
    static bool isValid(std::string_view text);
};

}  // namespace trc::foundation
