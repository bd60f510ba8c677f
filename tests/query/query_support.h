// Targets described by the fields the queries read, scene nodes that answer
// "has_metallic_armor" from test code, and a physics frame to rebuild the index.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "fake_host.h"
#include "server/warfield.h"
#include "simulation/physics_frame.h"
#include "query/target_queries.h"

namespace warfield::test {

// Defaults describe a hittable target of camp 1 in row 0 at the origin.
struct Target {
    uint64_t node = 1;
    int32_t camp = 1;
    int32_t grid_y = 0;
    int32_t mask_flags = 1;
    bool invincible = false;
    bool can_be_collection = true;
    bool die = false;
    bool near_die = false;
    bool all_line_check = false;
    float x = 0.0f;
    float y = 0.0f;
    bool is_crater = false;
};

inline int32_t add(Warfield& w, const Target& t) {
    // In argument order; the fields queries never read stay neutral.
    return w.register_target({t.node, t.camp, t.grid_y, /*collision_flags=*/0, t.mask_flags, t.invincible,
                              t.can_be_collection, t.die, t.near_die, t.all_line_check, /*height=*/0, t.x, t.y,
                              /*is_item=*/false, t.is_crater, /*is_gravestone=*/false, /*is_vase=*/false,
                              /*can_check=*/true, /*can_projectile_check=*/true, /*is_bowling_base=*/false});
}

// A node with a chosen id whose "has_metallic_armor" answer comes from test
// code, and may call back into the Warfield; a node given no answer has no
// such method (a nil result).
inline void add_scripted(FakeHost& host, uint64_t id, std::function<bool()> answer) {
    host.add_node_with_id(id);
    if (answer) host.on_bool(id, ScriptMethod::has_metallic_armor, std::move(answer));
}
inline void add_armoured(FakeHost& host, uint64_t id) {
    host.answer(host.add_node_with_id(id), ScriptMethod::has_metallic_armor, true);
}
// Instance ids of the nodes asked, in order.
inline std::vector<uint64_t> asked(const FakeHost& host) {
    return host.called_nodes(ScriptMethod::has_metallic_armor);
}

// One physics frame with no projectiles: rebuilds the index if it is dirty.
inline void frame(Warfield& w) {
    FakeHost host;
    _physics_process(w, host, 1.0 / 60.0);
}

inline std::vector<int32_t> list(const SlotList* l) {
    return l == nullptr ? std::vector<int32_t>{} : std::vector<int32_t>(l->begin(), l->end());
}

inline InstanceIdList in_line(const Warfield& w, int32_t camp, int32_t grid_y, int32_t flags, bool check_all_line,
                              int32_t self_grid_y) {
    InstanceIdList out;
    query_targets_in_line(w, camp, grid_y, flags, check_all_line, self_grid_y, out);
    return out;
}

inline InstanceIdList in_range(const Warfield& w, int32_t camp, int32_t flags, float cx, float cy, float rx,
                               float ry) {
    InstanceIdList out;
    query_targets_in_range(w, camp, flags, cx, cy, rx, ry, out);
    return out;
}

inline InstanceIdList all_of(const Warfield& w, int32_t camp, int32_t flags) {
    InstanceIdList out;
    query_targets_all(w, camp, flags, out);
    return out;
}

inline InstanceIdList armoured(const Warfield& w, Host& host, int32_t camp) {
    InstanceIdList out;
    query_metallic_armor_targets(w, host, camp, out);
    return out;
}

}  // namespace warfield::test
