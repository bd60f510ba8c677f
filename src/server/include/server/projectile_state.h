// One projectile in flight (or finished, until its script releases the slot).
#pragma once

#include <cstdint>

#include "server/math_types.h"
#include "server/schema.h"

namespace warfield {

enum class ProjectileType : int32_t {
    straight = 0,
    lob = 1,
    arc = 2,
    tracking = 3,
    catapult = 4,
};

// register_projectile's arguments, in order.
#define WARFIELD_PROJECTILE_FIELDS(X)   \
    X(uint64_t, node_instance_id, {})       \
    X(int32_t, type, {})                    \
    X(Vector2, velocity, {})                \
    X(float, speed, {})                     \
    X(int32_t, collision_flags, {})         \
    X(int32_t, camp, {})                    \
    X(int32_t, grid_y, {})                  \
    X(bool, check_all, {})                  \
    X(float, proj_height, {})               \
    X(int32_t, projectile_height_enum, {})  \
    X(bool, check_height, {})               \
    X(float, fire_length, {})               \
    X(float, check_distance, {})            \
    X(Vector2, save_pos, {})                \
    X(float, height, {})                    \
    X(float, ground_height, {})             \
    X(int32_t, fire_dir_x, 1)              \
    X(float, y_speed, {})                   \
    X(float, z_val, {})                     \
    X(float, gravity_val, {})               \
    X(float, gravity_scale_val, {})         \
    X(uint64_t, target_instance_id, {})     \
    X(float, catapult_time, {})             \
    X(Vector2, catapult_target_pos, {})     \
    X(Vector2, catapult_control_point, {})  \
    X(bool, rotate_follow_velocity, {})     \
    X(float, rotate_scale, {})              \
    X(bool, config_use_range, {})

// Its setters, in method-table order: SET(record, method, argument, field);
// SET2 for a setter of two fields.
#define WARFIELD_PROJECTILE_SETTERS(SET, SET2)                                   \
    SET(ProjectileState, set_projectile_hit_over, hit_over, hit_over)       \
    SET(ProjectileState, set_projectile_velocity, velocity, velocity)       \
    SET(ProjectileState, set_projectile_target, target_instance_id, target_instance_id) \
    SET(ProjectileState, set_projectile_grid_y, grid_y, grid_y)

struct ProjectileDef {
    WARFIELD_PROJECTILE_FIELDS(WARFIELD_DECLARE_FIELD)
};
WARFIELD_DEFINE_SCHEMA(ProjectileDef, WARFIELD_PROJECTILE_FIELDS)

// What the script gave, and what the node itself tracks.
struct ProjectileState : ProjectileDef {
    bool hit_over = false;
    bool active = false;
};

template <>
inline constexpr OnSet kOnSet<&ProjectileState::hit_over> = OnSet::finish_if_true;

}  // namespace warfield
