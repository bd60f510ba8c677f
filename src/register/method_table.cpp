#include "register/method_table.h"

namespace warfield {

namespace {

using gde::bind_method;
using gde::WarfieldInstance;
using W = Warfield;

// Queries fill a reusable list that the binding turns into the result Array.
void targets_in_line(WarfieldInstance& self, InstanceIdList& out, int32_t camp, int32_t grid_y,
                     int32_t collision_flags, bool check_all_line, int32_t self_grid_y) {
    self.core.query_targets_in_line(camp, grid_y, collision_flags, check_all_line, self_grid_y, out);
}

void targets_in_range(WarfieldInstance& self, InstanceIdList& out, int32_t camp, int32_t collision_flags,
                      float center_x, float center_y, float range_x, float range_y) {
    self.core.query_targets_in_range(camp, collision_flags, center_x, center_y, range_x, range_y, out);
}

void targets_all(WarfieldInstance& self, InstanceIdList& out, int32_t camp, int32_t collision_flags) {
    self.core.query_targets_all(camp, collision_flags, out);
}

void metallic_armor_targets(WarfieldInstance& self, InstanceIdList& out, int32_t camp) {
    self.core.query_metallic_armor_targets(self.host, camp, out);
}

constexpr gde::MethodDef kMethods[] = {
    // Projectiles.
    bind_method<&W::register_projectile>(
        "register_projectile", "node_instance_id", "type", "velocity", "speed", "collision_flags", "camp", "grid_y",
        "check_all", "proj_height", "projectile_height_enum", "check_height", "fire_length", "check_distance",
        "save_pos", "height", "ground_height", "fire_dir_x", "y_speed", "z_val", "gravity_val", "gravity_scale_val",
        "target_instance_id", "catapult_time", "catapult_target_pos", "catapult_control_point",
        "rotate_follow_velocity", "rotate_scale", "config_use_range"),
    bind_method<&W::unregister_projectile>("unregister_projectile", "id"),
    bind_method<&W::set_projectile_hit_over>("set_projectile_hit_over", "id", "hit_over"),
    bind_method<&W::set_projectile_velocity>("set_projectile_velocity", "id", "velocity"),
    bind_method<&W::set_projectile_target>("set_projectile_target", "id", "target_instance_id"),
    bind_method<&W::set_projectile_grid_y>("set_projectile_grid_y", "id", "grid_y"),
    bind_method<&W::get_active_projectile_count>("get_active_projectile_count"),

    // Characters.
    bind_method<&W::register_character>(
        "register_character", "node_instance_id", "sprite_group_id", "shadow_sprite_id", "transform_point_id",
        "hitbox_id", "save_shadow_scale", "save_shadow_position", "shadow_follow_height", "ground_height",
        "ground_right", "grid_pos", "rand_fresh_index", "should_update_grid_pos", "z_val", "time_scale_init",
        "hitpoints_near_death", "config_hitpoints_near_death"),
    bind_method<&W::unregister_character>("unregister_character", "id"),
    bind_method<&W::set_character_blow_back>("set_character_blow_back", "id", "blow_back", "blow_back_num"),
    bind_method<&W::set_character_die>("set_character_die", "id", "die"),
    bind_method<&W::set_character_near_die>("set_character_near_die", "id", "near_die"),
    bind_method<&W::set_character_invisible>("set_character_invisible", "id", "invisible"),
    bind_method<&W::set_character_in_game>("set_character_in_game", "id", "in_game"),
    bind_method<&W::set_character_ice_speed_down>("set_character_ice_speed_down", "id", "ice_speed_down"),
    bind_method<&W::set_character_ground_height>("set_character_ground_height", "id", "ground_height"),
    bind_method<&W::set_character_z>("set_character_z", "id", "z_val"),
    bind_method<&W::set_character_grid_pos>("set_character_grid_pos", "id", "grid_pos"),
    bind_method<&W::set_character_has_buffs>("set_character_has_buffs", "id", "has_buffs"),
    bind_method<&W::set_character_shadow_follow_height>("set_character_shadow_follow_height", "id", "follow"),
    bind_method<&W::set_character_should_update_grid_pos>("set_character_should_update_grid_pos", "id", "should"),
    bind_method<&W::get_active_character_count>("get_active_character_count"),

    // Targets.
    bind_method<&W::register_target>("register_target", "node_instance_id", "camp", "grid_y", "collision_flags",
                                     "mask_flags", "invincible", "can_be_collection", "die", "near_die",
                                     "all_line_check", "height", "global_position_x", "global_position_y", "is_item",
                                     "is_crater", "is_gravestone", "is_vase", "can_check", "can_projectile_check",
                                     "is_bowling_base"),
    bind_method<&W::unregister_target>("unregister_target", "id"),
    bind_method<&W::set_target_camp>("set_target_camp", "id", "camp"),
    bind_method<&W::set_target_grid_y>("set_target_grid_y", "id", "grid_y"),
    bind_method<&W::set_target_collision_flags>("set_target_collision_flags", "id", "collision_flags"),
    bind_method<&W::set_target_mask_flags>("set_target_mask_flags", "id", "mask_flags"),
    bind_method<&W::set_target_invincible>("set_target_invincible", "id", "invincible"),
    bind_method<&W::set_target_can_be_collection>("set_target_can_be_collection", "id", "can_be_collection"),
    bind_method<&W::set_target_die>("set_target_die", "id", "die"),
    bind_method<&W::set_target_near_die>("set_target_near_die", "id", "near_die"),
    bind_method<&W::set_target_all_line_check>("set_target_all_line_check", "id", "all_line_check"),
    bind_method<&W::set_target_height>("set_target_height", "id", "height"),
    bind_method<&W::set_target_position>("set_target_position", "id", "x", "y"),
    bind_method<&W::set_target_is_item>("set_target_is_item", "id", "is_item"),
    bind_method<&W::set_target_is_crater>("set_target_is_crater", "id", "is_crater"),
    bind_method<&W::set_target_is_gravestone>("set_target_is_gravestone", "id", "is_gravestone"),
    bind_method<&W::set_target_is_vase>("set_target_is_vase", "id", "is_vase"),
    bind_method<&W::set_target_can_check>("set_target_can_check", "id", "can_check"),
    bind_method<&W::set_target_can_projectile_check>("set_target_can_projectile_check", "id",
                                                     "can_projectile_check"),
    bind_method<&W::set_target_is_bowling_base>("set_target_is_bowling_base", "id", "is_bowling_base"),
    bind_method<&targets_in_line>("query_targets_in_line", "camp", "grid_y", "collision_flags", "check_all_line",
                                  "self_grid_y"),
    bind_method<&targets_in_range>("query_targets_in_range", "camp", "collision_flags", "center_x", "center_y",
                                   "range_x", "range_y"),
    bind_method<&targets_all>("query_targets_all", "camp", "collision_flags"),
    bind_method<&metallic_armor_targets>("query_metallic_armor_targets", "camp"),
    bind_method<&W::get_active_target_count>("get_active_target_count"),

    // Ground items.
    bind_method<&W::register_ground_item>("register_ground_item", "node_instance_id", "z_val", "ground_height",
                                          "y_speed", "gravity", "gravity_scale", "is_ground", "gravity_use"),
    bind_method<&W::unregister_ground_item>("unregister_ground_item", "id"),
    bind_method<&W::set_ground_item_ground_height>("set_ground_item_ground_height", "id", "ground_height"),
    bind_method<&W::set_ground_item_y_speed>("set_ground_item_y_speed", "id", "y_speed"),
    bind_method<&W::set_ground_item_z>("set_ground_item_z", "id", "z_val"),
    bind_method<&W::get_active_ground_item_count>("get_active_ground_item_count"),

    // Property accessors.
    bind_method<&W::set_grid_size>("set_grid_size", "size"),
    bind_method<&W::get_grid_size>("get_grid_size"),
};

static_assert(std::size(kMethods) == 55);

constexpr gde::PropertyDef kGridSize{
    "grid_size",    GDEXTENSION_VARIANT_TYPE_VECTOR2, WARFIELD_PROPERTY_HINT_NONE, "", WARFIELD_PROPERTY_USAGE_DEFAULT,
    "set_grid_size", "get_grid_size"};

}  // namespace

std::span<const gde::MethodDef> warfield_methods() { return kMethods; }

const gde::PropertyDef& warfield_grid_size_property() { return kGridSize; }

}  // namespace warfield
