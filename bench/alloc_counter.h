// Heap allocations made by this process, counted by the replaced global
// operator new (alloc_counter.cpp). Every allocation the core makes goes
// through it: the core allocates only through standard containers.
#pragma once

#include <cstdint>

namespace warfield::bench {

uint64_t allocations();

// Allocations made between construction and now.
class AllocationScope {
public:
    AllocationScope() : start_(allocations()) {}
    uint64_t count() const { return allocations() - start_; }

private:
    uint64_t start_;
};

}  // namespace warfield::bench
