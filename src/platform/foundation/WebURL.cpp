#include "platform/foundation/WebURL.h"

#include <curl/curl.h>

#include <memory>
#include <string>

namespace trc::foundation {

bool WebURL::isValid(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7f) return false;
    std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> url(curl_url(), curl_url_cleanup);
    const std::string owned(text);
    if (!url || curl_url_set(url.get(), CURLUPART_URL, owned.c_str(), 0) != CURLUE_OK) return false;
    auto part = [&](CURLUPart which) {
        char* value = nullptr;
        std::string out;
        if (curl_url_get(url.get(), which, &value, 0) == CURLUE_OK && value) out = value;
        curl_free(value);
        return out;
    };
    const std::string scheme = part(CURLUPART_SCHEME);
    return (scheme == "http" || scheme == "https") && !part(CURLUPART_HOST).empty();
}

}  // namespace trc::foundation
