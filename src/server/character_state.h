// A character of the game. Stored and counted only; nothing reads it back.
#pragma once

#include <cstdint>

#include "server/math_types.h"

namespace warfield {

struct CharacterState {
    uint64_t node_instance_id = 0;
    bool active = false;
    uint64_t sprite_group_id = 0;
    uint64_t shadow_sprite_id = 0;
    uint64_t transform_point_id = 0;
    uint64_t hitbox_id = 0;
    Vector2 save_shadow_scale;
    Vector2 save_shadow_position;
    bool shadow_follow_height = false;
    float ground_height = 0.0f;
    float ground_right = 0.0f;
    Vector2i grid_pos;
    int32_t rand_fresh_index = 0;
    bool should_update_grid_pos = false;
    bool die = false;
    bool near_die = false;
    bool invisible = false;
    bool in_game = true;
    bool ice_speed_down = false;
    float z_val = 0.0f;
    float time_scale_init = 0.0f;
    float blow_back_num = 0.0f;
    bool blow_back = false;
    float hitpoints_near_death = 0.0f;
    float config_hitpoints_near_death = 0.0f;
    bool has_buffs = false;
};

}  // namespace warfield
