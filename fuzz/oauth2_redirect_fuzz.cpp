// Feeds arbitrary text, as a URL the sign-in page was sent to, to the reader
// of OAuth2 redirects. The first line is the configured redirect URL, the
// second the state sent, the rest the URL. Whatever the text: a code is taken
// only from the redirect URL and only with the state sent, never together
// with an error, and what an error tells is one printable line.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/flows/OAuth2Redirect.h"
#include "platform/foundation/FormURLEncoding.h"
#include "platform/foundation/URL.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace trc;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::size_t first = text.find('\n');
    const std::size_t second = first == std::string::npos ? first : text.find('\n', first + 1);
    if (second == std::string::npos) return 0;
    const std::string redirect = text.substr(0, first);
    const std::string state = text.substr(first + 1, second - first - 1);
    const std::string url = text.substr(second + 1);

    const std::optional<flows::OAuth2Redirect> r = flows::OAuth2Redirect::read(url, redirect, state);
    if (!r) return 0;
    if (!flows::OAuth2Redirect::isRedirectURL(url, redirect)) std::abort();
    if (r->code.has_value() == (r->error != nullptr)) std::abort();
    if (r->code) {
        const auto pairs = foundation::FormURLEncoding::read(foundation::URL::fromString(url)->query().value_or(""));
        if (!pairs || foundation::FormURLEncoding::value(*pairs, "state") != state || r->code->empty()) std::abort();
    } else {
        for (char c : r->error->description())
            if (c < 0x20 || c > 0x7e) std::abort();
    }
    return 0;
}
