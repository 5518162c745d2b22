#pragma once
// The answer of an HTTP server to a request: the URL that answered (after
// redirects), the status code and the header fields of the final answer.

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace trc::flows {

class HTTPURLResponse {
public:
    std::string url;
    int statusCode = 0;
    std::vector<std::pair<std::string, std::string>> headerFields;

    // A header's value; names compared without regard to case.
    std::optional<std::string> value(std::string_view headerField) const;
};

}  // namespace trc::flows
