// Something a projectile's script may aim at; read by the index and queries.
#pragma once

#include <cstdint>

namespace warfield {

struct TargetState {
    uint64_t node_instance_id = 0;
    bool active = false;
    int32_t camp = 0;
    int32_t grid_y = 0;
    int32_t collision_flags = 0;
    int32_t mask_flags = 0;
    bool invincible = false;
    bool can_be_collection = false;
    bool die = false;
    bool near_die = false;
    bool all_line_check = false;
    int32_t height = 0;
    float global_position_x = 0.0f;
    float global_position_y = 0.0f;
    bool is_item = false;
    bool is_crater = false;
    bool is_gravestone = false;
    bool is_vase = false;
    bool can_check = false;
    bool can_projectile_check = false;
    bool is_bowling_base = false;
};

}  // namespace warfield
