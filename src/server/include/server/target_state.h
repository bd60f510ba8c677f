// Something a projectile's script may aim at; read by the index and queries.
#pragma once

#include <cstdint>

#include "server/schema.h"

namespace warfield {

// register_target's arguments, in order.
#define WARFIELD_TARGET_FIELDS(X)      \
    X(uint64_t, node_instance_id, {})      \
    X(int32_t, camp, {})                   \
    X(int32_t, grid_y, {})                 \
    X(int32_t, collision_flags, {})        \
    X(int32_t, mask_flags, {})             \
    X(bool, invincible, {})                \
    X(bool, can_be_collection, {})         \
    X(bool, die, {})                       \
    X(bool, near_die, {})                  \
    X(bool, all_line_check, {})            \
    X(int32_t, height, {})                 \
    X(float, global_position_x, {})        \
    X(float, global_position_y, {})        \
    X(bool, is_item, {})                   \
    X(bool, is_crater, {})                 \
    X(bool, is_gravestone, {})             \
    X(bool, is_vase, {})                   \
    X(bool, can_check, {})                 \
    X(bool, can_projectile_check, {})      \
    X(bool, is_bowling_base, {})

// Its setters, in method-table order.
#define WARFIELD_TARGET_SETTERS(SET, SET2)                                                           \
    SET(TargetState, set_target_camp, camp, camp)                                                    \
    SET(TargetState, set_target_grid_y, grid_y, grid_y)                                              \
    SET(TargetState, set_target_collision_flags, collision_flags, collision_flags)                   \
    SET(TargetState, set_target_mask_flags, mask_flags, mask_flags)                                  \
    SET(TargetState, set_target_invincible, invincible, invincible)                                  \
    SET(TargetState, set_target_can_be_collection, can_be_collection, can_be_collection)             \
    SET(TargetState, set_target_die, die, die)                                                       \
    SET(TargetState, set_target_near_die, near_die, near_die)                                        \
    SET(TargetState, set_target_all_line_check, all_line_check, all_line_check)                      \
    SET(TargetState, set_target_height, height, height)                                              \
    SET2(TargetState, set_target_position, x, global_position_x, y, global_position_y)               \
    SET(TargetState, set_target_is_item, is_item, is_item)                                           \
    SET(TargetState, set_target_is_crater, is_crater, is_crater)                                     \
    SET(TargetState, set_target_is_gravestone, is_gravestone, is_gravestone)                         \
    SET(TargetState, set_target_is_vase, is_vase, is_vase)                                           \
    SET(TargetState, set_target_can_check, can_check, can_check)                                     \
    SET(TargetState, set_target_can_projectile_check, can_projectile_check, can_projectile_check)    \
    SET(TargetState, set_target_is_bowling_base, is_bowling_base, is_bowling_base)

struct TargetDef {
    WARFIELD_TARGET_FIELDS(WARFIELD_DECLARE_FIELD)
};
WARFIELD_DEFINE_SCHEMA(TargetDef, WARFIELD_TARGET_FIELDS)

struct TargetState : TargetDef {
    bool active = false;
};

// The index files targets by row and by camp.
template <>
inline constexpr OnSet kOnSet<&TargetState::camp> = OnSet::reindex_if_changed;
template <>
inline constexpr OnSet kOnSet<&TargetState::grid_y> = OnSet::reindex_if_changed;

}  // namespace warfield
