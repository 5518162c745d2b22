#pragma once
// Puts a transport in the place of libcurl for every session made without
// one, to stand for a device without network or a scripted server; nullptr
// puts libcurl back, as a process-state reset does.

#include <memory>

#include "platform/flows/URLTransport.h"

namespace trc::flows {

class ZELURLSessionSeam {
public:
    static void setDefaultTransport(std::shared_ptr<URLTransport> transport);

    ZELURLSessionSeam() = delete;
};

}  // namespace trc::flows
