#include "platform/flows/HTTPURLResponse.h"

#include "platform/flows/URLRequest.h"

namespace trc::flows {

std::optional<std::string> HTTPURLResponse::value(std::string_view headerField) const {
    for (const auto& [name, v] : headerFields)
        if (URLRequest::sameHeaderName(name, headerField)) return v;
    return std::nullopt;
}

}  // namespace trc::flows
