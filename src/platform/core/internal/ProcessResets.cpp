#include "platform/core/internal/ProcessResets.h"

#include <utility>
#include <vector>

namespace trc::core::internal {

namespace {
std::vector<std::pair<std::string, std::function<void()>>>& resets() {
    static std::vector<std::pair<std::string, std::function<void()>>> r;
    return r;
}
}  // namespace

void ProcessResets::add(const std::string& name, std::function<void()> fn) {
    for (auto& [n, f] : resets()) {
        if (n == name) {
            f = std::move(fn);
            return;
        }
    }
    resets().emplace_back(name, std::move(fn));
}

void ProcessResets::runAll() {
    // A reset may register another; the copy keeps the walk valid.
    auto copy = resets();
    for (auto it = copy.rbegin(); it != copy.rend(); ++it) it->second();
}

}  // namespace trc::core::internal
