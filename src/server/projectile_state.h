// One projectile in flight (or finished, until its script releases the slot).
#pragma once

#include <cstdint>

#include "server/math_types.h"

namespace warfield {

enum class ProjectileType : int32_t {
    straight = 0,
    lob = 1,
    arc = 2,
    tracking = 3,
    catapult = 4,
};

struct ProjectileState {
    uint64_t node_instance_id = 0;
    int32_t type = 0;
    Vector2 velocity;
    float speed = 0.0f;
    int32_t collision_flags = 0;
    int32_t camp = 0;
    int32_t grid_y = 0;
    bool check_all = false;
    float proj_height = 0.0f;
    int32_t projectile_height_enum = 0;
    bool check_height = false;
    bool hit_over = false;
    bool active = false;
    float fire_length = 0.0f;
    float check_distance = 0.0f;
    Vector2 save_pos;
    float height = 0.0f;
    float ground_height = 0.0f;
    int32_t fire_dir_x = 0;
    float y_speed = 0.0f;
    float z_val = 0.0f;
    float gravity_val = 0.0f;
    float gravity_scale_val = 0.0f;
    uint64_t target_instance_id = 0;
    float catapult_time = 0.0f;
    Vector2 catapult_target_pos;
    Vector2 catapult_control_point;
    bool rotate_follow_velocity = false;
    float rotate_scale = 0.0f;
    bool config_use_range = false;
};

}  // namespace warfield
