#pragma once
// Puts a FaultInjectingFileLayer in force for one test and the system's own
// file layer back afterwards, so a fault never outlives its test.

#include <cerrno>
#include <memory>

#include "testsupport/FaultInjectingFileLayer.h"

namespace trc::testing {

class FaultyFiles {
public:
    using Op = foundation::FileOperation;

    FaultyFiles() : layer_(foundation::FaultInjectingFileLayer::install()) {}
    ~FaultyFiles() { foundation::FileLayer::setShared(nullptr); }
    FaultyFiles(const FaultyFiles&) = delete;
    FaultyFiles& operator=(const FaultyFiles&) = delete;

    // Every call of that kind (nothing: any kind) on path (empty: any path)
    // fails with error; with nth, only the Nth such call from now.
    void fail(std::optional<Op> operation, const std::filesystem::path& path, int error, std::uint64_t nth = 0) {
        layer_->add({operation, path, error, nth});
    }
    // The next call of that kind on path throws, as if the process died in it.
    void crash(Op operation, const std::filesystem::path& path) {
        layer_->add({.operation = operation, .path = path, .nth = 1, .crash = true});
    }
    void heal() { layer_->clear(); }
    std::uint64_t operations() const { return layer_->operations(); }
    std::uint64_t injected() const { return layer_->injected(); }

private:
    std::shared_ptr<foundation::FaultInjectingFileLayer> layer_;
};

}  // namespace trc::testing
