// register_projectile with named fields and neutral defaults, for tests that
// set only what they exercise.
#pragma once

#include <cstdint>

#include "server/warfield.h"

namespace warfield::test {

struct ProjectileArgs {
    uint64_t node = 0;
    int32_t type = 0;
    Vector2 velocity{};
    float speed = 0.0f;
    int32_t collision_flags = 0;
    int32_t camp = 0;
    int32_t grid_y = 0;
    bool check_all = false;
    float proj_height = 0.0f;
    int32_t projectile_height_enum = 0;
    bool check_height = false;
    float fire_length = 0.0f;
    float check_distance = 0.0f;
    Vector2 save_pos{};
    float height = 0.0f;
    float ground_height = 0.0f;
    int32_t fire_dir_x = 1;
    float y_speed = 0.0f;
    float z_val = 0.0f;
    float gravity_val = 0.0f;
    float gravity_scale_val = 0.0f;
    uint64_t target = 0;
    float catapult_time = 0.0f;
    Vector2 catapult_target_pos{};
    Vector2 catapult_control_point{};
    bool rotate_follow_velocity = false;
    float rotate_scale = 0.0f;
    bool config_use_range = false;
};

inline int32_t register_projectile(Warfield& w, const ProjectileArgs& a) {
    return w.register_projectile(a.node, a.type, a.velocity, a.speed, a.collision_flags, a.camp, a.grid_y,
                                 a.check_all, a.proj_height, a.projectile_height_enum, a.check_height,
                                 a.fire_length, a.check_distance, a.save_pos, a.height, a.ground_height,
                                 a.fire_dir_x, a.y_speed, a.z_val, a.gravity_val, a.gravity_scale_val, a.target,
                                 a.catapult_time, a.catapult_target_pos, a.catapult_control_point,
                                 a.rotate_follow_velocity, a.rotate_scale, a.config_use_range);
}

}  // namespace warfield::test
