#pragma once
// Counts the program's heap allocations, so a benchmark can report what one
// row, step or call costs in allocations next to its time. Every bench
// program links AllocationCounter.cpp, which replaces malloc and its kin
// (so the libraries' own allocations count too) and the global operators
// new and delete on top of them; the counts are process-wide and relaxed
// (benchmarks run on one thread).

#include <cstddef>

#include <benchmark/benchmark.h>

namespace trc::bench {

class AllocationCounter {
public:
    // Allocations made so far.
    static std::size_t allocations();
    // Bytes held by live allocations (as the allocator sizes its blocks).
    static std::size_t liveBytes();

    // A counter of allocations since `since`, per iteration divided by
    // `perIteration` (rows per iteration, for instance).
    static benchmark::Counter perIteration(std::size_t since, double perIteration = 1) {
        return benchmark::Counter(static_cast<double>(allocations() - since) / perIteration,
                                  benchmark::Counter::kAvgIterations);
    }
};

}  // namespace trc::bench
