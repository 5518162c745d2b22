#include "AllocationCounter.h"

#include <malloc.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <new>

// Allocations are counted where they reach the C allocator, so those that
// libraries make with malloc (ICU's, for one) count as well as operator
// new's. The program defines malloc and its kin, which the dynamic linker
// then gives every library too, and hands each call on to the C library's
// own allocator; operator new and delete go through them.

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* p);
}

namespace {

std::atomic<std::size_t> gAllocations{0};
std::atomic<std::size_t> gLiveBytes{0};

void* counted(void* p) {
    if (p) {
        gAllocations.fetch_add(1, std::memory_order_relaxed);
        gLiveBytes.fetch_add(malloc_usable_size(p), std::memory_order_relaxed);
    }
    return p;
}

void uncount(void* p) {
    if (p) gLiveBytes.fetch_sub(malloc_usable_size(p), std::memory_order_relaxed);
}

void* allocateOrThrow(std::size_t size) {
    void* p = malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    return p;
}

void* allocateAlignedOrThrow(std::size_t size, std::align_val_t align) {
    void* p = aligned_alloc(static_cast<std::size_t>(align), size ? size : 1);
    if (!p) throw std::bad_alloc();
    return p;
}

}  // namespace

extern "C" {

void* malloc(std::size_t size) noexcept { return counted(__libc_malloc(size)); }
void* calloc(std::size_t count, std::size_t size) noexcept { return counted(__libc_calloc(count, size)); }
void* realloc(void* p, std::size_t size) noexcept {
    // A resize counts as an allocation: it may move the block.
    uncount(p);
    void* moved = __libc_realloc(p, size);
    if (!moved && size != 0 && p) {
        gLiveBytes.fetch_add(malloc_usable_size(p), std::memory_order_relaxed);  // p is kept
        return nullptr;
    }
    return counted(moved);
}
void free(void* p) noexcept {
    uncount(p);
    __libc_free(p);
}
void* memalign(std::size_t alignment, std::size_t size) noexcept { return counted(__libc_memalign(alignment, size)); }
void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept {
    return counted(__libc_memalign(alignment, size));
}
int posix_memalign(void** out, std::size_t alignment, std::size_t size) noexcept {
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) return EINVAL;
    void* p = counted(__libc_memalign(alignment, size));
    if (!p) return ENOMEM;
    *out = p;
    return 0;
}

}  // extern "C"

namespace trc::bench {

std::size_t AllocationCounter::allocations() { return gAllocations.load(std::memory_order_relaxed); }
std::size_t AllocationCounter::liveBytes() { return gLiveBytes.load(std::memory_order_relaxed); }

}  // namespace trc::bench

void* operator new(std::size_t size) { return allocateOrThrow(size); }
void* operator new[](std::size_t size) { return allocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return malloc(size ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return malloc(size ? size : 1); }
void* operator new(std::size_t size, std::align_val_t align) { return allocateAlignedOrThrow(size, align); }
void* operator new[](std::size_t size, std::align_val_t align) { return allocateAlignedOrThrow(size, align); }

void operator delete(void* p) noexcept { free(p); }
void operator delete[](void* p) noexcept { free(p); }
void operator delete(void* p, std::size_t) noexcept { free(p); }
void operator delete[](void* p, std::size_t) noexcept { free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { free(p); }
void operator delete(void* p, std::align_val_t) noexcept { free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { free(p); }
