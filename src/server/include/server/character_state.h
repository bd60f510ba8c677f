// A character of the game. Stored and counted only; nothing reads it back.
#pragma once

#include <cstdint>

#include "server/math_types.h"
#include "server/schema.h"

namespace warfield {

// register_character's arguments, in order.
#define WARFIELD_CHARACTER_FIELDS(X)        \
    X(uint64_t, node_instance_id, {})           \
    X(uint64_t, sprite_group_id, {})            \
    X(uint64_t, shadow_sprite_id, {})           \
    X(uint64_t, transform_point_id, {})         \
    X(uint64_t, hitbox_id, {})                  \
    X(Vector2, save_shadow_scale, {})           \
    X(Vector2, save_shadow_position, {})        \
    X(bool, shadow_follow_height, {})           \
    X(float, ground_height, {})                 \
    X(float, ground_right, {})                  \
    X(Vector2i, grid_pos, {})                   \
    X(int32_t, rand_fresh_index, {})            \
    X(bool, should_update_grid_pos, {})         \
    X(float, z_val, {})                         \
    X(float, time_scale_init, {})               \
    X(float, hitpoints_near_death, {})          \
    X(float, config_hitpoints_near_death, {})

// Its setters, in method-table order.
#define WARFIELD_CHARACTER_SETTERS(SET, SET2)                                                       \
    SET2(CharacterState, set_character_blow_back, blow_back, blow_back, blow_back_num, blow_back_num) \
    SET(CharacterState, set_character_die, die, die)                                                \
    SET(CharacterState, set_character_near_die, near_die, near_die)                                 \
    SET(CharacterState, set_character_invisible, invisible, invisible)                              \
    SET(CharacterState, set_character_in_game, in_game, in_game)                                    \
    SET(CharacterState, set_character_ice_speed_down, ice_speed_down, ice_speed_down)               \
    SET(CharacterState, set_character_ground_height, ground_height, ground_height)                  \
    SET(CharacterState, set_character_z, z_val, z_val)                                              \
    SET(CharacterState, set_character_grid_pos, grid_pos, grid_pos)                                 \
    SET(CharacterState, set_character_has_buffs, has_buffs, has_buffs)                              \
    SET(CharacterState, set_character_shadow_follow_height, follow, shadow_follow_height)           \
    SET(CharacterState, set_character_should_update_grid_pos, should, should_update_grid_pos)

struct CharacterDef {
    WARFIELD_CHARACTER_FIELDS(WARFIELD_DECLARE_FIELD)
};
WARFIELD_DEFINE_SCHEMA(CharacterDef, WARFIELD_CHARACTER_FIELDS)

// What the script gave, and the states only its setters change.
struct CharacterState : CharacterDef {
    bool active = false;
    bool die = false;
    bool near_die = false;
    bool invisible = false;
    bool in_game = true;
    bool ice_speed_down = false;
    float blow_back_num = 0.0f;
    bool blow_back = false;
    bool has_buffs = false;
};

}  // namespace warfield
