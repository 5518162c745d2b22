// Feeds arbitrary bytes, as a server's answer, to the readers of the token
// endpoint's answer and of the user-roles answer. An answer without what is
// needed must give no token, or a ConfigurationError, never a crash.

#include <cstddef>
#include <cstdint>

#include "platform/flows/ConfigurationError.h"
#include "platform/flows/OAuth2AuthenticationStep.h"
#include "platform/flows/ZELvornUserRoles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace trc::flows;
    const trc::core::Data answer(data, data + size);
    (void)OAuth2AuthenticationStep::accessToken(answer);
    try {
        (void)ZELvornUserRoles::userInfo(answer);
    } catch (const ConfigurationError&) {
    }
    return 0;
}
