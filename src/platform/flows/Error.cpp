#include "platform/flows/Error.h"

namespace trc::flows {

const char* Error::what() const noexcept {
    try {
        what_ = description();
    } catch (...) {
        return "error";
    }
    return what_.c_str();
}

}  // namespace trc::flows
