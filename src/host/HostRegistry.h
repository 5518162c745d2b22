#pragma once
// Start-up of the host boundary: builds (and so registers by name) every
// class a host may reach or meet. Call once before the first host call;
// calling again is harmless. Main thread.

namespace trc::host {

class HostRegistry {
public:
    static void registerAll();
};

}  // namespace trc::host
