// Targets by grid row and by camp, rebuilt whole when marked dirty.
#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "server/slot_pool.h"
#include "server/target_state.h"

namespace warfield {

// A table from a 32-bit key to a list of slot ids. Emptying it keeps every
// list's storage so that rebuilding frame after frame does not allocate; a key
// whose list is empty reports no entry.
class SlotListTable {
public:
    // The list under key, or null when the key has no entry.
    const std::vector<int32_t>* find(int32_t key) const;
    void append(int32_t key, int32_t slot);
    // Removes every entry, keeping storage for keys that may come back.
    void clear();
    // Number of keys that have an entry.
    std::size_t key_count() const { return live_keys_; }

private:
    std::unordered_map<int32_t, std::vector<int32_t>> lists_;
    std::size_t live_keys_ = 0;
};

struct TargetIndex {
    SlotListTable targets_by_grid_y;
    SlotListTable targets_by_camp;
    bool target_index_dirty = false;

    // Lists every active target under its grid row and camp, in ascending
    // slot order, and clears the dirty flag.
    void rebuild(const SlotPool<TargetState>& targets);
};

}  // namespace warfield
