// Feeds arbitrary lines, as the cookie engine hands back what servers set, to
// the process's cookie jar, and sends them round through the engine the way
// a request does (the jar's lines in, the engine's lines back). Whatever the
// lines hold, the jar keeps lines and forgets them on request, never crashes.

#include <curl/curl.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/flows/HTTPCookieStorage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using trc::flows::HTTPCookieStorage;
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            lines.push_back(std::move(line));
            line.clear();
        } else if (data[i] != 0) {
            line.push_back(static_cast<char>(data[i]));
        }
    }
    lines.push_back(line);
    auto& jar = HTTPCookieStorage::shared();
    jar.storeCookieLines(lines);
    if (jar.cookies().size() > lines.size()) std::abort();

    CURL* h = curl_easy_init();
    if (!h) return 0;
    curl_easy_setopt(h, CURLOPT_COOKIEFILE, "");
    for (const auto& kept : jar.cookieLines()) curl_easy_setopt(h, CURLOPT_COOKIELIST, kept.c_str());
    curl_slist* back = nullptr;
    if (curl_easy_getinfo(h, CURLINFO_COOKIELIST, &back) == CURLE_OK) {
        std::vector<std::string> engine;
        for (curl_slist* l = back; l; l = l->next) engine.emplace_back(l->data);
        curl_slist_free_all(back);
        jar.storeCookieLines(engine);
    }
    curl_easy_cleanup(h);
    jar.removeCookies(HTTPCookieStorage::distantPast());
    if (!jar.cookies().empty()) std::abort();
    return 0;
}
