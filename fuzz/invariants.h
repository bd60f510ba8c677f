// Checks of the node's state that must hold between any two operations,
// whatever a script did. Each returns a description of the first violation
// found, or an empty string.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "fake_host.h"
#include "pool_model.h"
#include "server/warfield.h"

namespace warfield::fuzz {

// Slot count, free list and released flags match the model exactly; active
// flags agree with it (characters, targets and ground items are active
// exactly while held; a projectile may also have stopped); the active count
// equals a recount.
std::string check_projectile_pool(const Warfield& w, const PoolModel& model);
std::string check_character_pool(const Warfield& w, const PoolModel& model);
std::string check_target_pool(const Warfield& w, const PoolModel& model);
std::string check_ground_item_pool(const Warfield& w, const PoolModel& model);

// The index holds exactly what a rebuild of a copy of the target pool gives.
std::string check_index_matches_rebuild(const Warfield& w);

// The record filter shared by the three flag-based queries.
bool hittable(const TargetState& t, int32_t collision_flags);

// Every id in a query result names an active target that passes the query's
// own filters, and the result is no longer than any answer could be.
std::string check_line_result(const Warfield& w, const InstanceIdList& result, int32_t camp, int32_t flags);
std::string check_range_result(const Warfield& w, const InstanceIdList& result, int32_t camp, int32_t flags,
                               float cx, float cy, float rx, float ry);
std::string check_all_result(const Warfield& w, const InstanceIdList& result, int32_t flags);

// Whether two values are the same bits (a NaN stored as given is the same).
template <class T>
bool same_bytes(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// The raw bytes of every record of a pool, to prove an operation left it be.
template <class Record>
std::vector<unsigned char> snapshot(const SlotPool<Record>& pool) {
    std::vector<unsigned char> bytes(sizeof(Record) * static_cast<std::size_t>(pool.size()));
    for (int32_t i = 0; i < pool.size(); ++i) {
        std::memcpy(&bytes[sizeof(Record) * static_cast<std::size_t>(i)], &pool[i], sizeof(Record));
    }
    return bytes;
}

struct StoreSnapshot {
    std::vector<unsigned char> projectiles, characters, targets, ground_items;
    bool dirty = false;
    uint64_t frame_count = 0;
    bool operator==(const StoreSnapshot&) const = default;
};
StoreSnapshot snapshot_store(const Warfield& w);

// While the tree's reports reach the frame, whatever it relies on is true:
// a settled root or target is in the tree, a settled child is exactly what
// its path leads to now, and every settled node, and only those, is watched.
std::string check_node_memory(const Warfield& w, const test::FakeHost& scene);

}  // namespace warfield::fuzz
