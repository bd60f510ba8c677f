#include "server/warfield.h"

namespace warfield {

int32_t Warfield::register_target(uint64_t node_instance_id, int32_t camp, int32_t grid_y, int32_t collision_flags,
                                  int32_t mask_flags, bool invincible, bool can_be_collection, bool die,
                                  bool near_die, bool all_line_check, int32_t height, float global_position_x,
                                  float global_position_y, bool is_item, bool is_crater, bool is_gravestone,
                                  bool is_vase, bool can_check, bool can_projectile_check, bool is_bowling_base) {
    TargetState r;
    r.node_instance_id = node_instance_id;
    r.active = true;
    r.camp = camp;
    r.grid_y = grid_y;
    r.collision_flags = collision_flags;
    r.mask_flags = mask_flags;
    r.invincible = invincible;
    r.can_be_collection = can_be_collection;
    r.die = die;
    r.near_die = near_die;
    r.all_line_check = all_line_check;
    r.height = height;
    r.global_position_x = global_position_x;
    r.global_position_y = global_position_y;
    r.is_item = is_item;
    r.is_crater = is_crater;
    r.is_gravestone = is_gravestone;
    r.is_vase = is_vase;
    r.can_check = can_check;
    r.can_projectile_check = can_projectile_check;
    r.is_bowling_base = is_bowling_base;
    const int32_t id = targets_.acquire(r);
    index_.target_index_dirty = true;
    return id;
}

void Warfield::unregister_target(int32_t id) {
    if (!targets_.valid(id)) return;
    targets_.release(id);
    index_.target_index_dirty = true;
}

void Warfield::set_target_camp(int32_t id, int32_t camp) {
    if (!targets_.valid(id) || targets_[id].camp == camp) return;
    targets_[id].camp = camp;
    index_.target_index_dirty = true;
}

void Warfield::set_target_grid_y(int32_t id, int32_t grid_y) {
    if (!targets_.valid(id) || targets_[id].grid_y == grid_y) return;
    targets_[id].grid_y = grid_y;
    index_.target_index_dirty = true;
}

void Warfield::set_target_collision_flags(int32_t id, int32_t collision_flags) {
    if (targets_.valid(id)) targets_[id].collision_flags = collision_flags;
}

void Warfield::set_target_mask_flags(int32_t id, int32_t mask_flags) {
    if (targets_.valid(id)) targets_[id].mask_flags = mask_flags;
}

void Warfield::set_target_invincible(int32_t id, bool invincible) {
    if (targets_.valid(id)) targets_[id].invincible = invincible;
}

void Warfield::set_target_can_be_collection(int32_t id, bool can_be_collection) {
    if (targets_.valid(id)) targets_[id].can_be_collection = can_be_collection;
}

void Warfield::set_target_die(int32_t id, bool die) {
    if (targets_.valid(id)) targets_[id].die = die;
}

void Warfield::set_target_near_die(int32_t id, bool near_die) {
    if (targets_.valid(id)) targets_[id].near_die = near_die;
}

void Warfield::set_target_all_line_check(int32_t id, bool all_line_check) {
    if (targets_.valid(id)) targets_[id].all_line_check = all_line_check;
}

void Warfield::set_target_height(int32_t id, int32_t height) {
    if (targets_.valid(id)) targets_[id].height = height;
}

void Warfield::set_target_position(int32_t id, float x, float y) {
    if (!targets_.valid(id)) return;
    targets_[id].global_position_x = x;
    targets_[id].global_position_y = y;
}

void Warfield::set_target_is_item(int32_t id, bool is_item) {
    if (targets_.valid(id)) targets_[id].is_item = is_item;
}

void Warfield::set_target_is_crater(int32_t id, bool is_crater) {
    if (targets_.valid(id)) targets_[id].is_crater = is_crater;
}

void Warfield::set_target_is_gravestone(int32_t id, bool is_gravestone) {
    if (targets_.valid(id)) targets_[id].is_gravestone = is_gravestone;
}

void Warfield::set_target_is_vase(int32_t id, bool is_vase) {
    if (targets_.valid(id)) targets_[id].is_vase = is_vase;
}

void Warfield::set_target_can_check(int32_t id, bool can_check) {
    if (targets_.valid(id)) targets_[id].can_check = can_check;
}

void Warfield::set_target_can_projectile_check(int32_t id, bool can_projectile_check) {
    if (targets_.valid(id)) targets_[id].can_projectile_check = can_projectile_check;
}

void Warfield::set_target_is_bowling_base(int32_t id, bool is_bowling_base) {
    if (targets_.valid(id)) targets_[id].is_bowling_base = is_bowling_base;
}

int32_t Warfield::get_active_target_count() const { return targets_.count_active(); }

}  // namespace warfield
