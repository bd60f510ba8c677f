// Replaces the global allocation functions for the whole benchmark binary.
#include "alloc_counter.h"

#include <cstdlib>
#include <new>

namespace {

// The benchmarks run on one thread; relaxed counting is all they need.
uint64_t g_allocations = 0;

void* allocate(std::size_t n) {
    ++g_allocations;
    if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
    throw std::bad_alloc();
}

void* allocate_aligned(std::size_t n, std::align_val_t a) {
    ++g_allocations;
    const auto align = static_cast<std::size_t>(a);
    const std::size_t size = (n + align - 1) / align * align;
    if (void* p = std::aligned_alloc(align, size == 0 ? align : size)) return p;
    throw std::bad_alloc();
}

}  // namespace

namespace warfield::bench {
uint64_t allocations() { return g_allocations; }
}  // namespace warfield::bench

void* operator new(std::size_t n) { return allocate(n); }
void* operator new[](std::size_t n) { return allocate(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
    ++g_allocations;
    return std::malloc(n == 0 ? 1 : n);
}
void* operator new[](std::size_t n, const std::nothrow_t&) noexcept {
    ++g_allocations;
    return std::malloc(n == 0 ? 1 : n);
}
void* operator new(std::size_t n, std::align_val_t a) { return allocate_aligned(n, a); }
void* operator new[](std::size_t n, std::align_val_t a) { return allocate_aligned(n, a); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
