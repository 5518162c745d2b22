#include "platform/core/ProcessState.h"

#include <utility>
#include <vector>

namespace trc::core {

namespace {
std::vector<std::pair<std::string, std::function<void()>>>& resets() {
    static std::vector<std::pair<std::string, std::function<void()>>> r;
    return r;
}
}  // namespace

void ProcessState::registerReset(const std::string& name, std::function<void()> fn) {
    for (auto& [n, f] : resets()) {
        if (n == name) {
            f = std::move(fn);
            return;
        }
    }
    resets().emplace_back(name, std::move(fn));
}

void ProcessState::resetAll() {
    auto copy = resets();
    for (auto it = copy.rbegin(); it != copy.rend(); ++it) it->second();
}

}  // namespace trc::core
