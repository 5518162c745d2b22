#include "platform/flows/URLRequest.h"

#include <algorithm>
#include <cctype>

namespace trc::flows {

bool URLRequest::sameHeaderName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::optional<std::string> URLRequest::value(std::string_view headerField) const {
    for (const auto& [name, v] : headers_)
        if (sameHeaderName(name, headerField)) return v;
    return std::nullopt;
}

void URLRequest::setValue(std::string value, std::string_view headerField) {
    for (auto& [name, v] : headers_)
        if (sameHeaderName(name, headerField)) {
            v = std::move(value);
            return;
        }
    headers_.emplace_back(std::string(headerField), std::move(value));
}

void URLRequest::removeValue(std::string_view headerField) {
    std::erase_if(headers_, [&](const auto& h) { return sameHeaderName(h.first, headerField); });
}

}  // namespace trc::flows
