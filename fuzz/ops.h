// The operations a fuzz program is made of, and the interesting values its
// arguments are drawn from.
//
// An op is one byte (taken modulo op_count). The first 55 are the node's
// script methods in registration order; the rest drive the engine side: the
// two callbacks, the scene, and actions that scripts typically take on the
// projectile whose callback is running.
#pragma once

#include <cstdint>
#include <limits>

#include "server/warfield.h"

namespace warfield::fuzz {

// A setter row of a record header, as an op.
#define WARFIELD_SETTER_OP(State, method, ...) method,

enum class Op : uint8_t {
    register_projectile,
    unregister_projectile,
    WARFIELD_PROJECTILE_SETTERS(WARFIELD_SETTER_OP, WARFIELD_SETTER_OP)
    get_active_projectile_count,
    register_character,
    unregister_character,
    WARFIELD_CHARACTER_SETTERS(WARFIELD_SETTER_OP, WARFIELD_SETTER_OP)
    get_active_character_count,
    register_target,
    unregister_target,
    WARFIELD_TARGET_SETTERS(WARFIELD_SETTER_OP, WARFIELD_SETTER_OP)
    query_targets_in_line,
    query_targets_in_range,
    query_targets_all,
    query_metallic_armor_targets,
    get_active_target_count,
    register_ground_item,
    unregister_ground_item,
    WARFIELD_GROUND_ITEM_SETTERS(WARFIELD_SETTER_OP, WARFIELD_SETTER_OP)
    get_active_ground_item_count,
    set_grid_size,
    get_grid_size,
    // Engine side.
    physics_frame,      // delta
    ready,              //
    set_editor_hint,    // bool
    set_viewport,       // bool present, rect (4 floats)
    spawn_node,         // bool node2d, bool in_tree, u8 child mask, u8 non-Node2D child mask
    free_node,          // node
    set_in_tree,        // node, bool
    move_node,          // node, Vector2 (global position)
    rotate_node,        // node, float
    // Script actions on the projectile whose callback runs (at top level: on
    // the projectile of the last spawned node).
    unregister_current,  // u8 which slot of the node
    free_current,        //
    free_current_child,  // u8 child path
    retarget_current,    // instance id
    finish_current,      // bool
    steer_current,       // Vector2
    // A live node with a full set of children, registered as a projectile of
    // the given kind: the common case, reachable in few bytes.
    spawn_projectile,  // i32 type, Vector2 velocity, float speed, float z, float y_speed, float ground, instance id target
    spawn_target,      // i32 camp, i32 grid_y, i32 mask, u8 flags, Vector2 position
    // Changes to the running projectile's children that keep them alive, so
    // that only a fresh lookup tells: rename one, move it below another node,
    // or swap it for a new node of the same name.
    rename_current_child,    // u8 child path
    reparent_current_child,  // u8 child path, node (its new root)
    replace_current_child,   // u8 child path
    // Scripts that react inside the engine's setters, and other ways the tree
    // changes or goes quiet.
    react_to_writes,  // u8 child path: that child of the running projectile runs tree ops when written
    rename_current,   // the running projectile's node takes another name
    silence_tree,     // bool: block the tree's reports (such runs are not compared)
    count
};

#undef WARFIELD_SETTER_OP

constexpr uint8_t op_count = static_cast<uint8_t>(Op::count);
constexpr int script_method_ops = 55;
static_assert(static_cast<int>(Op::physics_frame) == script_method_ops);

// Argument selectors: a selector byte below the table size picks a table
// entry; raw_selector is followed by the value's own bytes.
constexpr uint8_t raw_selector = 0xFF;

inline constexpr float kFloats[] = {
    0.0f, -0.0f, 1.0f, -1.0f, 0.5f, 2.0f, 10.0f, 29.99f, 30.0f, 60.0f, 100.0f, 300.0f, 600.0f, 2000.0f, 1280.0f,
    720.0f,
    std::numeric_limits<float>::quiet_NaN(),
    std::numeric_limits<float>::infinity(),
    -std::numeric_limits<float>::infinity(),
    std::numeric_limits<float>::denorm_min(),
    std::numeric_limits<float>::min(),
    1e38f,
    -1e38f,
    std::numeric_limits<float>::max(),
};
constexpr uint8_t kFloatCount = sizeof(kFloats) / sizeof(kFloats[0]);

inline constexpr int32_t kInts[] = {
    0, 1, -1, 2, 3, 4, 5, 7, 30, -2,
    std::numeric_limits<int32_t>::min(),
    std::numeric_limits<int32_t>::max(),
    0x40000000, std::numeric_limits<int32_t>::min() + 1, 255, 0x55555555,
};
constexpr uint8_t kIntCount = sizeof(kInts) / sizeof(kInts[0]);

inline constexpr double kDeltas[] = {
    1.0 / 60.0, 0.0, -1.0 / 60.0, 0.25, 0.2, 1.0,
    std::numeric_limits<double>::quiet_NaN(),
    std::numeric_limits<double>::infinity(),
    -std::numeric_limits<double>::infinity(),
    1e300, -1e300,
    std::numeric_limits<double>::denorm_min(),
    1e-40,   // a float denormal after narrowing
    3.5e38,  // overflows to infinity when narrowed
    0.5, 0.1,
};
constexpr uint8_t kDeltaCount = sizeof(kDeltas) / sizeof(kDeltas[0]);

// Slot selectors (the byte is taken modulo 8).
enum class SlotPick : uint8_t {
    held = 0,      // u8: index among the ids the program holds
    held2 = 1,
    held3 = 2,
    released = 3,  // u8: index among released ids
    past_end = 4,  // the slot count
    minus_one = 5,
    edge = 6,      // u8: INT_MIN, INT_MAX, count + 1, -2, 2^30
    small = 7,     // u8 % 16
};

// Instance id selectors (the byte is taken modulo 8).
enum class IdPick : uint8_t {
    zero = 0,
    live = 1,  // u8: index among live nodes
    live2 = 2,
    live3 = 3,
    freed = 4,  // u8: index among freed nodes
    raw = 5,    // u64
    edge = 6,   // u8: UINT64_MAX, 2^63, 1, 0x100
    current = 7,
};

}  // namespace warfield::fuzz
