// The Warfield node's own state and operations, free of any engine binding.
//
// The engine class forwards every bound method here. Operations that reach
// the engine (the physics frame, the metallic-armour query) take the Host
// they run against.
#pragma once

#include <cstdint>
#include <vector>

#include "query/target_index.h"
#include "server/character_state.h"
#include "server/ground_item_state.h"
#include "server/math_types.h"
#include "server/projectile_state.h"
#include "server/slot_pool.h"
#include "server/target_state.h"
#include "simulation/node_cache.h"

namespace warfield {

class Host;

// Query results: instance ids, appended in the order found.
using InstanceIdList = std::vector<uint64_t>;

class Warfield {
public:
    // Projectiles.
    int32_t register_projectile(uint64_t node_instance_id, int32_t type, Vector2 velocity, float speed,
                                int32_t collision_flags, int32_t camp, int32_t grid_y, bool check_all,
                                float proj_height, int32_t projectile_height_enum, bool check_height,
                                float fire_length, float check_distance, Vector2 save_pos, float height,
                                float ground_height, int32_t fire_dir_x, float y_speed, float z_val,
                                float gravity_val, float gravity_scale_val, uint64_t target_instance_id,
                                float catapult_time, Vector2 catapult_target_pos, Vector2 catapult_control_point,
                                bool rotate_follow_velocity, float rotate_scale, bool config_use_range);
    void unregister_projectile(int32_t id);
    void set_projectile_hit_over(int32_t id, bool hit_over);
    void set_projectile_velocity(int32_t id, Vector2 velocity);
    void set_projectile_target(int32_t id, uint64_t target_instance_id);
    void set_projectile_grid_y(int32_t id, int32_t grid_y);
    int32_t get_active_projectile_count() const;

    // Characters.
    int32_t register_character(uint64_t node_instance_id, uint64_t sprite_group_id, uint64_t shadow_sprite_id,
                               uint64_t transform_point_id, uint64_t hitbox_id, Vector2 save_shadow_scale,
                               Vector2 save_shadow_position, bool shadow_follow_height, float ground_height,
                               float ground_right, Vector2i grid_pos, int32_t rand_fresh_index,
                               bool should_update_grid_pos, float z_val, float time_scale_init,
                               float hitpoints_near_death, float config_hitpoints_near_death);
    void unregister_character(int32_t id);
    void set_character_blow_back(int32_t id, bool blow_back, float blow_back_num);
    void set_character_die(int32_t id, bool die);
    void set_character_near_die(int32_t id, bool near_die);
    void set_character_invisible(int32_t id, bool invisible);
    void set_character_in_game(int32_t id, bool in_game);
    void set_character_ice_speed_down(int32_t id, bool ice_speed_down);
    void set_character_ground_height(int32_t id, float ground_height);
    void set_character_z(int32_t id, float z_val);
    void set_character_grid_pos(int32_t id, Vector2i grid_pos);
    void set_character_has_buffs(int32_t id, bool has_buffs);
    void set_character_shadow_follow_height(int32_t id, bool follow);
    void set_character_should_update_grid_pos(int32_t id, bool should);
    int32_t get_active_character_count() const;

    // Targets.
    int32_t register_target(uint64_t node_instance_id, int32_t camp, int32_t grid_y, int32_t collision_flags,
                            int32_t mask_flags, bool invincible, bool can_be_collection, bool die, bool near_die,
                            bool all_line_check, int32_t height, float global_position_x, float global_position_y,
                            bool is_item, bool is_crater, bool is_gravestone, bool is_vase, bool can_check,
                            bool can_projectile_check, bool is_bowling_base);
    void unregister_target(int32_t id);
    void set_target_camp(int32_t id, int32_t camp);
    void set_target_grid_y(int32_t id, int32_t grid_y);
    void set_target_collision_flags(int32_t id, int32_t collision_flags);
    void set_target_mask_flags(int32_t id, int32_t mask_flags);
    void set_target_invincible(int32_t id, bool invincible);
    void set_target_can_be_collection(int32_t id, bool can_be_collection);
    void set_target_die(int32_t id, bool die);
    void set_target_near_die(int32_t id, bool near_die);
    void set_target_all_line_check(int32_t id, bool all_line_check);
    void set_target_height(int32_t id, int32_t height);
    void set_target_position(int32_t id, float x, float y);
    void set_target_is_item(int32_t id, bool is_item);
    void set_target_is_crater(int32_t id, bool is_crater);
    void set_target_is_gravestone(int32_t id, bool is_gravestone);
    void set_target_is_vase(int32_t id, bool is_vase);
    void set_target_can_check(int32_t id, bool can_check);
    void set_target_can_projectile_check(int32_t id, bool can_projectile_check);
    void set_target_is_bowling_base(int32_t id, bool is_bowling_base);
    int32_t get_active_target_count() const;

    // Target queries. Each appends the matching instance ids to `out`.
    void query_targets_in_line(int32_t camp, int32_t grid_y, int32_t collision_flags, bool check_all_line,
                               int32_t self_grid_y, InstanceIdList& out) const;
    void query_targets_in_range(int32_t camp, int32_t collision_flags, float center_x, float center_y,
                                float range_x, float range_y, InstanceIdList& out) const;
    void query_targets_all(int32_t camp, int32_t collision_flags, InstanceIdList& out) const;
    // Calls "has_metallic_armor" on candidates; those scripts may change this
    // node, so nothing of the pool is held across a call.
    void query_metallic_armor_targets(Host& host, int32_t camp, InstanceIdList& out) const;

    // Ground items.
    int32_t register_ground_item(uint64_t node_instance_id, float z_val, float ground_height, float y_speed,
                                 float gravity, float gravity_scale, bool is_ground, bool gravity_use);
    void unregister_ground_item(int32_t id);
    void set_ground_item_ground_height(int32_t id, float ground_height);
    void set_ground_item_y_speed(int32_t id, float y_speed);
    void set_ground_item_z(int32_t id, float z_val);
    int32_t get_active_ground_item_count() const;

    // Property.
    void set_grid_size(Vector2 size) { grid_size_ = size; }
    Vector2 get_grid_size() const { return grid_size_; }

    // Engine callbacks.
    void _ready(Host& host);
    void _physics_process(Host& host, double delta);
    void step_projectiles(Host& host, float delta);
    // Remembered nodes (the default) or a lookup by path of every node every
    // time; both behave alike, the second is the plain form tests compare with.
    void set_node_lookup(NodeLookup lookup) { node_lookup_ = lookup; }

    // State, for the simulation, tests and invariant checks.
    SlotPool<ProjectileState>& projectiles() { return projectiles_; }
    const SlotPool<ProjectileState>& projectiles() const { return projectiles_; }
    const SlotPool<CharacterState>& characters() const { return characters_; }
    const SlotPool<TargetState>& targets() const { return targets_; }
    const SlotPool<GroundItemState>& ground_items() const { return ground_items_; }
    const TargetIndex& target_index() const { return index_; }
    bool target_index_dirty() const { return index_.target_index_dirty; }
    uint64_t frame_count() const { return frame_count_; }
    Rect2 visible_rect() const { return visible_rect_; }

private:
    SlotPool<ProjectileState> projectiles_;
    SlotPool<CharacterState> characters_;
    SlotPool<TargetState> targets_;
    TargetIndex index_;  // targets_by_grid_y, targets_by_camp, target_index_dirty
    SlotPool<GroundItemState> ground_items_;
    uint64_t frame_count_ = 0;
    Rect2 visible_rect_{};
    Vector2 grid_size_{80.0f, 98.0f};
    NodeLookup node_lookup_ = NodeLookup::remembered;
    NodeCache node_cache_;  // by projectile slot
};

}  // namespace warfield
