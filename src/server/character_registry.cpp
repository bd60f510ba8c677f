#include "server/warfield.h"

namespace warfield {

int32_t Warfield::register_character(uint64_t node_instance_id, uint64_t sprite_group_id,
                                     uint64_t shadow_sprite_id, uint64_t transform_point_id, uint64_t hitbox_id,
                                     Vector2 save_shadow_scale, Vector2 save_shadow_position,
                                     bool shadow_follow_height, float ground_height, float ground_right,
                                     Vector2i grid_pos, int32_t rand_fresh_index, bool should_update_grid_pos,
                                     float z_val, float time_scale_init, float hitpoints_near_death,
                                     float config_hitpoints_near_death) {
    CharacterState r;
    r.node_instance_id = node_instance_id;
    r.active = true;
    r.sprite_group_id = sprite_group_id;
    r.shadow_sprite_id = shadow_sprite_id;
    r.transform_point_id = transform_point_id;
    r.hitbox_id = hitbox_id;
    r.save_shadow_scale = save_shadow_scale;
    r.save_shadow_position = save_shadow_position;
    r.shadow_follow_height = shadow_follow_height;
    r.ground_height = ground_height;
    r.ground_right = ground_right;
    r.grid_pos = grid_pos;
    r.rand_fresh_index = rand_fresh_index;
    r.should_update_grid_pos = should_update_grid_pos;
    r.die = false;
    r.near_die = false;
    r.invisible = false;
    r.in_game = true;
    r.ice_speed_down = false;
    r.z_val = z_val;
    r.time_scale_init = time_scale_init;
    r.blow_back_num = 0.0f;
    r.blow_back = false;
    r.hitpoints_near_death = hitpoints_near_death;
    r.config_hitpoints_near_death = config_hitpoints_near_death;
    r.has_buffs = false;
    return characters_.acquire(r);
}

void Warfield::unregister_character(int32_t id) { characters_.release(id); }

void Warfield::set_character_blow_back(int32_t id, bool blow_back, float blow_back_num) {
    if (!characters_.valid(id)) return;
    characters_[id].blow_back = blow_back;
    characters_[id].blow_back_num = blow_back_num;
}

void Warfield::set_character_die(int32_t id, bool die) {
    if (characters_.valid(id)) characters_[id].die = die;
}

void Warfield::set_character_near_die(int32_t id, bool near_die) {
    if (characters_.valid(id)) characters_[id].near_die = near_die;
}

void Warfield::set_character_invisible(int32_t id, bool invisible) {
    if (characters_.valid(id)) characters_[id].invisible = invisible;
}

void Warfield::set_character_in_game(int32_t id, bool in_game) {
    if (characters_.valid(id)) characters_[id].in_game = in_game;
}

void Warfield::set_character_ice_speed_down(int32_t id, bool ice_speed_down) {
    if (characters_.valid(id)) characters_[id].ice_speed_down = ice_speed_down;
}

void Warfield::set_character_ground_height(int32_t id, float ground_height) {
    if (characters_.valid(id)) characters_[id].ground_height = ground_height;
}

void Warfield::set_character_z(int32_t id, float z_val) {
    if (characters_.valid(id)) characters_[id].z_val = z_val;
}

void Warfield::set_character_grid_pos(int32_t id, Vector2i grid_pos) {
    if (characters_.valid(id)) characters_[id].grid_pos = grid_pos;
}

void Warfield::set_character_has_buffs(int32_t id, bool has_buffs) {
    if (characters_.valid(id)) characters_[id].has_buffs = has_buffs;
}

void Warfield::set_character_shadow_follow_height(int32_t id, bool follow) {
    if (characters_.valid(id)) characters_[id].shadow_follow_height = follow;
}

void Warfield::set_character_should_update_grid_pos(int32_t id, bool should) {
    if (characters_.valid(id)) characters_[id].should_update_grid_pos = should;
}

int32_t Warfield::get_active_character_count() const { return characters_.count_active(); }

}  // namespace warfield
