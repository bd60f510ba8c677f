#include "server/warfield.h"

namespace warfield {

int32_t Warfield::register_projectile(uint64_t node_instance_id, int32_t type, Vector2 velocity, float speed,
                                      int32_t collision_flags, int32_t camp, int32_t grid_y, bool check_all,
                                      float proj_height, int32_t projectile_height_enum, bool check_height,
                                      float fire_length, float check_distance, Vector2 save_pos, float height,
                                      float ground_height, int32_t fire_dir_x, float y_speed, float z_val,
                                      float gravity_val, float gravity_scale_val, uint64_t target_instance_id,
                                      float catapult_time, Vector2 catapult_target_pos,
                                      Vector2 catapult_control_point, bool rotate_follow_velocity,
                                      float rotate_scale, bool config_use_range) {
    ProjectileState r;
    r.node_instance_id = node_instance_id;
    r.type = type;
    r.velocity = velocity;
    r.speed = speed;
    r.collision_flags = collision_flags;
    r.camp = camp;
    r.grid_y = grid_y;
    r.check_all = check_all;
    r.proj_height = proj_height;
    r.projectile_height_enum = projectile_height_enum;
    r.check_height = check_height;
    r.hit_over = false;
    r.active = true;
    r.fire_length = fire_length;
    r.check_distance = check_distance;
    r.save_pos = save_pos;
    r.height = height;
    r.ground_height = ground_height;
    r.fire_dir_x = fire_dir_x;
    r.y_speed = y_speed;
    r.z_val = z_val;
    r.gravity_val = gravity_val;
    r.gravity_scale_val = gravity_scale_val;
    r.target_instance_id = target_instance_id;
    r.catapult_time = catapult_time;
    r.catapult_target_pos = catapult_target_pos;
    r.catapult_control_point = catapult_control_point;
    r.rotate_follow_velocity = rotate_follow_velocity;
    r.rotate_scale = rotate_scale;
    r.config_use_range = config_use_range;
    return projectiles_.acquire(r);
}

void Warfield::unregister_projectile(int32_t id) { projectiles_.release(id); }

void Warfield::set_projectile_hit_over(int32_t id, bool hit_over) {
    if (!projectiles_.valid(id)) return;
    ProjectileState& r = projectiles_[id];
    r.hit_over = hit_over;
    if (hit_over) r.active = false;
}

void Warfield::set_projectile_velocity(int32_t id, Vector2 velocity) {
    if (projectiles_.valid(id)) projectiles_[id].velocity = velocity;
}

void Warfield::set_projectile_target(int32_t id, uint64_t target_instance_id) {
    if (projectiles_.valid(id)) projectiles_[id].target_instance_id = target_instance_id;
}

void Warfield::set_projectile_grid_y(int32_t id, int32_t grid_y) {
    if (projectiles_.valid(id)) projectiles_[id].grid_y = grid_y;
}

int32_t Warfield::get_active_projectile_count() const { return projectiles_.count_active(); }

}  // namespace warfield
