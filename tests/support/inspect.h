// What tests, the fuzzer and the benchmarks read of the core's private state,
// which the shipped node has no use for: the shipped classes only name this
// struct as a friend.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "server/slot_pool.h"
#include "server/target_index.h"
#include "server/warfield.h"

namespace warfield::test {

struct Inspect {
    template <class Record>
    static bool is_released(const SlotPool<Record>& pool, int32_t id) {
        return pool.valid(id) && pool.released_[static_cast<std::size_t>(id)] != 0;
    }

    // Released ids, the next one handed out last.
    template <class Record>
    static const std::vector<int32_t>& free_list(const SlotPool<Record>& pool) {
        return pool.free_list_;
    }

    // Number of keys that have an entry.
    static std::size_t key_count(const SlotListTable& table) { return table.entries_.size(); }

    // Bytes held, in use or kept for later rebuilds.
    static std::size_t reserved_bytes(const SlotListTable& t) {
        return t.buckets_.capacity() * sizeof(SlotListTable::Bucket) +
               t.entries_.capacity() * sizeof(SlotListTable::Entry) + t.slots_.capacity() * sizeof(int32_t);
    }
    static std::size_t reserved_bytes(const TargetIndex& index) {
        return reserved_bytes(index.targets_by_grid_y) + reserved_bytes(index.targets_by_camp) +
               index.staged_.capacity() * sizeof(TargetIndex::Staged);
    }

    static bool target_index_dirty(const Warfield& w) { return w.target_index().target_index_dirty; }

    // The pool whose records hold fields of `Record` (a state or its
    // definition).
    template <class Record>
    static const auto& pool_of(const Warfield& w) {
        return Warfield::pool_in<Record>(w);
    }
};

}  // namespace warfield::test
