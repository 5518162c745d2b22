#include "testsupport/ZELURLSessionSeam.h"

#include <utility>

#include "platform/flows/internal/DefaultTransport.h"

namespace trc::flows {

void ZELURLSessionSeam::setDefaultTransport(std::shared_ptr<URLTransport> transport) {
    internal::DefaultTransport::replace(std::move(transport));
}

}  // namespace trc::flows
