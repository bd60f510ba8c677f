// Targets by grid row and by camp, rebuilt whole when marked dirty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "server/slot_pool.h"
#include "server/target_state.h"

namespace warfield {

// The slot ids stored under one key, ascending. A view into the table's own
// storage: valid until the next rebuild.
using SlotList = std::span<const int32_t>;

// A table from a 32-bit key to the slot ids filed under it.
//
// All lists share one contiguous array, laid out by key once the rebuild has
// counted them, and the keys sit in an open-addressing hash. Nothing is freed
// between rebuilds and every key of a past rebuild is forgotten, so memory is
// bounded by the largest population ever indexed, however many distinct keys
// scripts have used, and a rebuild no larger than an earlier one allocates
// nothing.
class SlotListTable {
public:
    SlotListTable() = default;
    // The lists view the table's own storage, so a copy must view its own.
    SlotListTable(const SlotListTable& other);
    SlotListTable& operator=(const SlotListTable& other);
    SlotListTable(SlotListTable&&) noexcept = default;
    SlotListTable& operator=(SlotListTable&&) noexcept = default;
    ~SlotListTable() = default;

    // The list under key, or null when the key has no entry.
    const SlotList* find(int32_t key) const;
private:
    friend struct TargetIndex;
    friend struct test::Inspect;

    struct Entry {
        int32_t key;
        uint32_t begin;  // offset of the list in slots_
        uint32_t count;  // while filling: slots placed so far
        SlotList list;
    };
    // A bucket is in use only while its stamp equals stamp_, so the whole
    // hash empties by bumping stamp_.
    struct Bucket {
        uint32_t stamp = 0;
        int32_t key = 0;
        uint32_t entry = 0;
    };

    void reset();
    // Index into entries_ of key's entry, created with an empty list if absent.
    // Stable for the whole rebuild, unlike bucket positions.
    uint32_t intern(int32_t key);
    void grow();
    // Gives every entry its range of slots_, sized by the counts taken.
    void lay_out();
    void place(uint32_t entry, int32_t slot) {
        Entry& e = entries_[entry];
        WARFIELD_INVARIANT(e.begin + e.count < slots_.size(), "a list takes no more slots than were counted for it");
        slots_[e.begin + e.count++] = slot;
    }
    void publish();

    std::vector<Bucket> buckets_;  // size is a power of two, or zero
    std::vector<Entry> entries_;   // keys of the last rebuild, in order of first use
    std::vector<int32_t> slots_;
    uint32_t stamp_ = 1;
};

struct TargetIndex {
    SlotListTable targets_by_grid_y;
    SlotListTable targets_by_camp;
    bool target_index_dirty = false;

    // Lists every active target under its grid row and camp, in ascending
    // slot order, and clears the dirty flag.
    void rebuild(const SlotPool<TargetState>& targets);

private:
    friend struct test::Inspect;
    struct Staged {
        int32_t slot;
        uint32_t row_entry;
        uint32_t camp_entry;
    };
    std::vector<Staged> staged_;  // the active slots of the rebuild in progress
};

}  // namespace warfield
