#include "platform/flows/UnexpectedError.h"

namespace trc::flows {

ErrorPtr UnexpectedError::fromCurrentException() {
    try {
        throw;
    } catch (const Error& e) {
        return e.clone();
    } catch (const std::exception& e) {
        return std::make_shared<UnexpectedError>(e.what());
    } catch (...) {
        return std::make_shared<UnexpectedError>("unknown exception");
    }
}

}  // namespace trc::flows
