// Feeds arbitrary bytes, as a server's answer, to the readers of the token
// endpoint's answer and of the user-roles answer. An answer without what is
// needed must give no token, or a ConfigurationError, never a crash; what a
// refusal tells must be one printable line.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/flows/ConfigurationError.h"
#include "platform/flows/OAuth2TokenResponse.h"
#include "platform/flows/ZELvornUserRoles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace trc::flows;
    const trc::core::Data answer(data, data + size);
    for (int status : {200, 400, 401}) {
        const OAuth2TokenResponse r = OAuth2TokenResponse::read(status, answer, {"secret"});
        if (r.accessToken.has_value() == (r.error != nullptr)) std::abort();
        if (r.accessToken && r.accessToken->empty()) std::abort();
        if (r.error) {
            const std::string told = r.error->description();
            for (char c : told)
                if (c < 0x20 || c > 0x7e) std::abort();
            if (told.find("secret") != std::string::npos) std::abort();
        }
    }
    try {
        (void)ZELvornUserRoles::userInfo(answer);
    } catch (const ConfigurationError&) {
    }
    return 0;
}
