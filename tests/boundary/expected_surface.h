// The script surface of Warfield as scripts and the editor see it: every
// method in registration order, with its argument names and types, result
// and const-ness.
#pragma once

#include <vector>

namespace boundary {

enum class A { Int, Id, Float, Bool, Vec2, Vec2i };
enum class R { None, Int, Vec2, IdArray };

struct ExpectedArg {
    const char* name;
    A type;
};

struct ExpectedMethod {
    const char* name;
    std::vector<ExpectedArg> args;
    R result;
    bool is_const;
};

inline const std::vector<ExpectedMethod>& expected_methods() {
    static const std::vector<ExpectedMethod> methods = {
    {"register_projectile", {{"node_instance_id", A::Id}, {"type", A::Int}, {"velocity", A::Vec2}, {"speed", A::Float}, {"collision_flags", A::Int}, {"camp", A::Int}, {"grid_y", A::Int}, {"check_all", A::Bool}, {"proj_height", A::Float}, {"projectile_height_enum", A::Int}, {"check_height", A::Bool}, {"fire_length", A::Float}, {"check_distance", A::Float}, {"save_pos", A::Vec2}, {"height", A::Float}, {"ground_height", A::Float}, {"fire_dir_x", A::Int}, {"y_speed", A::Float}, {"z_val", A::Float}, {"gravity_val", A::Float}, {"gravity_scale_val", A::Float}, {"target_instance_id", A::Id}, {"catapult_time", A::Float}, {"catapult_target_pos", A::Vec2}, {"catapult_control_point", A::Vec2}, {"rotate_follow_velocity", A::Bool}, {"rotate_scale", A::Float}, {"config_use_range", A::Bool}}, R::Int, false},
    {"unregister_projectile", {{"id", A::Int}}, R::None, false},
    {"set_projectile_hit_over", {{"id", A::Int}, {"hit_over", A::Bool}}, R::None, false},
    {"set_projectile_velocity", {{"id", A::Int}, {"velocity", A::Vec2}}, R::None, false},
    {"set_projectile_target", {{"id", A::Int}, {"target_instance_id", A::Id}}, R::None, false},
    {"set_projectile_grid_y", {{"id", A::Int}, {"grid_y", A::Int}}, R::None, false},
    {"get_active_projectile_count", {}, R::Int, true},
    {"register_character", {{"node_instance_id", A::Id}, {"sprite_group_id", A::Id}, {"shadow_sprite_id", A::Id}, {"transform_point_id", A::Id}, {"hitbox_id", A::Id}, {"save_shadow_scale", A::Vec2}, {"save_shadow_position", A::Vec2}, {"shadow_follow_height", A::Bool}, {"ground_height", A::Float}, {"ground_right", A::Float}, {"grid_pos", A::Vec2i}, {"rand_fresh_index", A::Int}, {"should_update_grid_pos", A::Bool}, {"z_val", A::Float}, {"time_scale_init", A::Float}, {"hitpoints_near_death", A::Float}, {"config_hitpoints_near_death", A::Float}}, R::Int, false},
    {"unregister_character", {{"id", A::Int}}, R::None, false},
    {"set_character_blow_back", {{"id", A::Int}, {"blow_back", A::Bool}, {"blow_back_num", A::Float}}, R::None, false},
    {"set_character_die", {{"id", A::Int}, {"die", A::Bool}}, R::None, false},
    {"set_character_near_die", {{"id", A::Int}, {"near_die", A::Bool}}, R::None, false},
    {"set_character_invisible", {{"id", A::Int}, {"invisible", A::Bool}}, R::None, false},
    {"set_character_in_game", {{"id", A::Int}, {"in_game", A::Bool}}, R::None, false},
    {"set_character_ice_speed_down", {{"id", A::Int}, {"ice_speed_down", A::Bool}}, R::None, false},
    {"set_character_ground_height", {{"id", A::Int}, {"ground_height", A::Float}}, R::None, false},
    {"set_character_z", {{"id", A::Int}, {"z_val", A::Float}}, R::None, false},
    {"set_character_grid_pos", {{"id", A::Int}, {"grid_pos", A::Vec2i}}, R::None, false},
    {"set_character_has_buffs", {{"id", A::Int}, {"has_buffs", A::Bool}}, R::None, false},
    {"set_character_shadow_follow_height", {{"id", A::Int}, {"follow", A::Bool}}, R::None, false},
    {"set_character_should_update_grid_pos", {{"id", A::Int}, {"should", A::Bool}}, R::None, false},
    {"get_active_character_count", {}, R::Int, true},
    {"register_target", {{"node_instance_id", A::Id}, {"camp", A::Int}, {"grid_y", A::Int}, {"collision_flags", A::Int}, {"mask_flags", A::Int}, {"invincible", A::Bool}, {"can_be_collection", A::Bool}, {"die", A::Bool}, {"near_die", A::Bool}, {"all_line_check", A::Bool}, {"height", A::Int}, {"global_position_x", A::Float}, {"global_position_y", A::Float}, {"is_item", A::Bool}, {"is_crater", A::Bool}, {"is_gravestone", A::Bool}, {"is_vase", A::Bool}, {"can_check", A::Bool}, {"can_projectile_check", A::Bool}, {"is_bowling_base", A::Bool}}, R::Int, false},
    {"unregister_target", {{"id", A::Int}}, R::None, false},
    {"set_target_camp", {{"id", A::Int}, {"camp", A::Int}}, R::None, false},
    {"set_target_grid_y", {{"id", A::Int}, {"grid_y", A::Int}}, R::None, false},
    {"set_target_collision_flags", {{"id", A::Int}, {"collision_flags", A::Int}}, R::None, false},
    {"set_target_mask_flags", {{"id", A::Int}, {"mask_flags", A::Int}}, R::None, false},
    {"set_target_invincible", {{"id", A::Int}, {"invincible", A::Bool}}, R::None, false},
    {"set_target_can_be_collection", {{"id", A::Int}, {"can_be_collection", A::Bool}}, R::None, false},
    {"set_target_die", {{"id", A::Int}, {"die", A::Bool}}, R::None, false},
    {"set_target_near_die", {{"id", A::Int}, {"near_die", A::Bool}}, R::None, false},
    {"set_target_all_line_check", {{"id", A::Int}, {"all_line_check", A::Bool}}, R::None, false},
    {"set_target_height", {{"id", A::Int}, {"height", A::Int}}, R::None, false},
    {"set_target_position", {{"id", A::Int}, {"x", A::Float}, {"y", A::Float}}, R::None, false},
    {"set_target_is_item", {{"id", A::Int}, {"is_item", A::Bool}}, R::None, false},
    {"set_target_is_crater", {{"id", A::Int}, {"is_crater", A::Bool}}, R::None, false},
    {"set_target_is_gravestone", {{"id", A::Int}, {"is_gravestone", A::Bool}}, R::None, false},
    {"set_target_is_vase", {{"id", A::Int}, {"is_vase", A::Bool}}, R::None, false},
    {"set_target_can_check", {{"id", A::Int}, {"can_check", A::Bool}}, R::None, false},
    {"set_target_can_projectile_check", {{"id", A::Int}, {"can_projectile_check", A::Bool}}, R::None, false},
    {"set_target_is_bowling_base", {{"id", A::Int}, {"is_bowling_base", A::Bool}}, R::None, false},
    {"query_targets_in_line", {{"camp", A::Int}, {"grid_y", A::Int}, {"collision_flags", A::Int}, {"check_all_line", A::Bool}, {"self_grid_y", A::Int}}, R::IdArray, true},
    {"query_targets_in_range", {{"camp", A::Int}, {"collision_flags", A::Int}, {"center_x", A::Float}, {"center_y", A::Float}, {"range_x", A::Float}, {"range_y", A::Float}}, R::IdArray, true},
    {"query_targets_all", {{"camp", A::Int}, {"collision_flags", A::Int}}, R::IdArray, true},
    {"query_metallic_armor_targets", {{"camp", A::Int}}, R::IdArray, true},
    {"get_active_target_count", {}, R::Int, true},
    {"register_ground_item", {{"node_instance_id", A::Id}, {"z_val", A::Float}, {"ground_height", A::Float}, {"y_speed", A::Float}, {"gravity", A::Float}, {"gravity_scale", A::Float}, {"is_ground", A::Bool}, {"gravity_use", A::Bool}}, R::Int, false},
    {"unregister_ground_item", {{"id", A::Int}}, R::None, false},
    {"set_ground_item_ground_height", {{"id", A::Int}, {"ground_height", A::Float}}, R::None, false},
    {"set_ground_item_y_speed", {{"id", A::Int}, {"y_speed", A::Float}}, R::None, false},
    {"set_ground_item_z", {{"id", A::Int}, {"z_val", A::Float}}, R::None, false},
    {"get_active_ground_item_count", {}, R::Int, true},
    {"set_grid_size", {{"size", A::Vec2}}, R::None, false},
    {"get_grid_size", {}, R::Vec2, true},
    };
    return methods;
}

}  // namespace boundary
