#pragma once
// Start-up of the host simulator: registers the library's classes
// (HostRegistry::registerAll) and then installs what each layer adds to the
// simulator (user actions, check receivers, step kinds, process starts), so
// the library itself knows nothing of the simulator. Call once before the
// first scenario; calling again is harmless. Main thread.

namespace trc::simulator {

class SimulatorRegistry {
public:
    static void installAll();
};

}  // namespace trc::simulator
