// Which remembered nodes each instance id stands for: a multimap from a
// node's id to the (slot, role) pairs that remember it, so that the engine's
// word about one node reaches exactly the projectiles that rely on it.
//
// Open addressing with linear probing and no tombstones (entries shift back
// on removal), at most half full. It grows only when more pairs are watched
// than ever before, so a steady frame, and an event, allocate nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace warfield {

// A (slot, role) pair packed into one value.
using Watcher = uint32_t;

class NodeWatch {
public:
    // Watcher may already be listed under id (the table keeps both).
    void add(uint64_t id, Watcher watcher);
    // Removes one listing of watcher under id; nothing if there is none.
    void remove(uint64_t id, Watcher watcher);
    // Removes one listing under id and gives its watcher; false when none is
    // left.
    bool take(uint64_t id, Watcher& watcher);
    std::size_t size() const { return used_; }

private:
    struct Entry {
        uint64_t id = 0;  // 0: empty (no node has instance id 0)
        Watcher watcher = 0;
    };
    std::size_t home(uint64_t id) const;
    std::size_t find(uint64_t id, const Watcher* watcher) const;  // capacity when absent
    void erase_at(std::size_t i);
    void grow();

    std::vector<Entry> table_;
    std::size_t used_ = 0;
};

}  // namespace warfield
