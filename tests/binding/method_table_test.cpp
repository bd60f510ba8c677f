// The method table against the script-visible contract, written out
// independently: names, order, argument names, types, metadata and flags.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "register/method_table.h"

namespace warfield {
namespace {

struct Expected {
    const char* name;
    std::vector<const char*> args;
};

const std::vector<Expected>& expected_methods() {
    static const std::vector<Expected> table = {
        {"register_projectile",
         {"node_instance_id", "type", "velocity", "speed", "collision_flags", "camp", "grid_y", "check_all",
          "proj_height", "projectile_height_enum", "check_height", "fire_length", "check_distance", "save_pos",
          "height", "ground_height", "fire_dir_x", "y_speed", "z_val", "gravity_val", "gravity_scale_val",
          "target_instance_id", "catapult_time", "catapult_target_pos", "catapult_control_point",
          "rotate_follow_velocity", "rotate_scale", "config_use_range"}},
        {"unregister_projectile", {"id"}},
        {"set_projectile_hit_over", {"id", "hit_over"}},
        {"set_projectile_velocity", {"id", "velocity"}},
        {"set_projectile_target", {"id", "target_instance_id"}},
        {"set_projectile_grid_y", {"id", "grid_y"}},
        {"get_active_projectile_count", {}},
        {"register_character",
         {"node_instance_id", "sprite_group_id", "shadow_sprite_id", "transform_point_id", "hitbox_id",
          "save_shadow_scale", "save_shadow_position", "shadow_follow_height", "ground_height", "ground_right",
          "grid_pos", "rand_fresh_index", "should_update_grid_pos", "z_val", "time_scale_init",
          "hitpoints_near_death", "config_hitpoints_near_death"}},
        {"unregister_character", {"id"}},
        {"set_character_blow_back", {"id", "blow_back", "blow_back_num"}},
        {"set_character_die", {"id", "die"}},
        {"set_character_near_die", {"id", "near_die"}},
        {"set_character_invisible", {"id", "invisible"}},
        {"set_character_in_game", {"id", "in_game"}},
        {"set_character_ice_speed_down", {"id", "ice_speed_down"}},
        {"set_character_ground_height", {"id", "ground_height"}},
        {"set_character_z", {"id", "z_val"}},
        {"set_character_grid_pos", {"id", "grid_pos"}},
        {"set_character_has_buffs", {"id", "has_buffs"}},
        {"set_character_shadow_follow_height", {"id", "follow"}},
        {"set_character_should_update_grid_pos", {"id", "should"}},
        {"get_active_character_count", {}},
        {"register_target",
         {"node_instance_id", "camp", "grid_y", "collision_flags", "mask_flags", "invincible", "can_be_collection",
          "die", "near_die", "all_line_check", "height", "global_position_x", "global_position_y", "is_item",
          "is_crater", "is_gravestone", "is_vase", "can_check", "can_projectile_check", "is_bowling_base"}},
        {"unregister_target", {"id"}},
        {"set_target_camp", {"id", "camp"}},
        {"set_target_grid_y", {"id", "grid_y"}},
        {"set_target_collision_flags", {"id", "collision_flags"}},
        {"set_target_mask_flags", {"id", "mask_flags"}},
        {"set_target_invincible", {"id", "invincible"}},
        {"set_target_can_be_collection", {"id", "can_be_collection"}},
        {"set_target_die", {"id", "die"}},
        {"set_target_near_die", {"id", "near_die"}},
        {"set_target_all_line_check", {"id", "all_line_check"}},
        {"set_target_height", {"id", "height"}},
        {"set_target_position", {"id", "x", "y"}},
        {"set_target_is_item", {"id", "is_item"}},
        {"set_target_is_crater", {"id", "is_crater"}},
        {"set_target_is_gravestone", {"id", "is_gravestone"}},
        {"set_target_is_vase", {"id", "is_vase"}},
        {"set_target_can_check", {"id", "can_check"}},
        {"set_target_can_projectile_check", {"id", "can_projectile_check"}},
        {"set_target_is_bowling_base", {"id", "is_bowling_base"}},
        {"query_targets_in_line", {"camp", "grid_y", "collision_flags", "check_all_line", "self_grid_y"}},
        {"query_targets_in_range", {"camp", "collision_flags", "center_x", "center_y", "range_x", "range_y"}},
        {"query_targets_all", {"camp", "collision_flags"}},
        {"query_metallic_armor_targets", {"camp"}},
        {"get_active_target_count", {}},
        {"register_ground_item",
         {"node_instance_id", "z_val", "ground_height", "y_speed", "gravity", "gravity_scale", "is_ground",
          "gravity_use"}},
        {"unregister_ground_item", {"id"}},
        {"set_ground_item_ground_height", {"id", "ground_height"}},
        {"set_ground_item_y_speed", {"id", "y_speed"}},
        {"set_ground_item_z", {"id", "z_val"}},
        {"get_active_ground_item_count", {}},
        {"set_grid_size", {"size"}},
        {"get_grid_size", {}},
    };
    return table;
}

TEST(MethodTable, NamesOrderAndArgumentNames) {
    const auto methods = warfield_methods();
    const auto& expected = expected_methods();
    ASSERT_EQ(methods.size(), expected.size());
    for (size_t i = 0; i < methods.size(); ++i) {
        SCOPED_TRACE(expected[i].name);
        EXPECT_STREQ(methods[i].name, expected[i].name);
        ASSERT_EQ(methods[i].arg_count, expected[i].args.size());
        for (size_t a = 0; a < expected[i].args.size(); ++a) {
            EXPECT_STREQ(methods[i].arg_names[a], expected[i].args[a]);
        }
        EXPECT_NE(methods[i].call, nullptr);
        EXPECT_NE(methods[i].ptrcall, nullptr);
    }
}

TEST(MethodTable, ConstFlagsOnlyOnReadOnlyMethods) {
    const std::set<std::string> read_only = {
        "query_targets_in_line",      "query_targets_in_range",     "query_targets_all",
        "query_metallic_armor_targets", "get_active_projectile_count", "get_active_character_count",
        "get_active_target_count",    "get_active_ground_item_count", "get_grid_size"};
    for (const gde::MethodDef& m : warfield_methods()) {
        SCOPED_TRACE(m.name);
        uint32_t expected = GDEXTENSION_METHOD_FLAG_NORMAL;
        if (read_only.count(m.name) != 0) expected |= GDEXTENSION_METHOD_FLAG_CONST;
        EXPECT_EQ(m.flags, expected);
    }
}

// Every instance id argument is announced as unsigned 64-bit, every other int
// as 32-bit, every float as a 32-bit float.
TEST(MethodTable, ArgumentTypesAndMetadata) {
    const std::set<std::string> instance_ids = {"node_instance_id", "target_instance_id", "sprite_group_id",
                                                "shadow_sprite_id", "transform_point_id", "hitbox_id"};
    int uint64_args = 0;
    for (const gde::MethodDef& m : warfield_methods()) {
        for (uint32_t a = 0; a < m.arg_count; ++a) {
            SCOPED_TRACE(std::string(m.name) + "." + m.arg_names[a]);
            switch (m.arg_types[a]) {
                case GDEXTENSION_VARIANT_TYPE_INT:
                    if (instance_ids.count(m.arg_names[a])) {
                        EXPECT_EQ(m.arg_metadata[a], GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_UINT64);
                        ++uint64_args;
                    } else {
                        EXPECT_EQ(m.arg_metadata[a], GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_INT32);
                    }
                    break;
                case GDEXTENSION_VARIANT_TYPE_FLOAT:
                    EXPECT_EQ(m.arg_metadata[a], GDEXTENSION_METHOD_ARGUMENT_METADATA_REAL_IS_FLOAT);
                    break;
                default:
                    EXPECT_EQ(m.arg_metadata[a], GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE);
            }
        }
    }
    EXPECT_EQ(uint64_args, 10);  // 2 projectile, 5 character, 1 target, 1 ground item, set_projectile_target
}

TEST(MethodTable, TypesThatDifferBetweenPools) {
    const auto find = [](const char* name) -> const gde::MethodDef& {
        for (const gde::MethodDef& m : warfield_methods()) {
            if (std::string(m.name) == name) return m;
        }
        throw std::runtime_error(name);
    };
    EXPECT_EQ(find("register_projectile").arg_types[14], GDEXTENSION_VARIANT_TYPE_FLOAT);  // height
    EXPECT_EQ(find("register_target").arg_types[10], GDEXTENSION_VARIANT_TYPE_INT);       // height
    EXPECT_EQ(find("set_target_height").arg_types[1], GDEXTENSION_VARIANT_TYPE_INT);
    EXPECT_EQ(find("register_character").arg_types[10], GDEXTENSION_VARIANT_TYPE_VECTOR2I);  // grid_pos
    EXPECT_EQ(find("set_character_grid_pos").arg_types[1], GDEXTENSION_VARIANT_TYPE_VECTOR2I);
    EXPECT_EQ(find("register_projectile").arg_types[2], GDEXTENSION_VARIANT_TYPE_VECTOR2);  // velocity
}

TEST(MethodTable, Results) {
    for (const gde::MethodDef& m : warfield_methods()) {
        SCOPED_TRACE(m.name);
        const std::string name = m.name;
        if (name.rfind("query_", 0) == 0) {
            EXPECT_TRUE(m.has_return);
            EXPECT_EQ(m.return_type, GDEXTENSION_VARIANT_TYPE_ARRAY);
            EXPECT_EQ(m.return_hint, 31u);
            EXPECT_STREQ(m.return_hint_string, "int");
        } else if (name.rfind("register_", 0) == 0 || name.rfind("get_active_", 0) == 0) {
            EXPECT_TRUE(m.has_return);
            EXPECT_EQ(m.return_type, GDEXTENSION_VARIANT_TYPE_INT);
            EXPECT_EQ(m.return_metadata, GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_INT32);
        } else if (name == "get_grid_size") {
            EXPECT_EQ(m.return_type, GDEXTENSION_VARIANT_TYPE_VECTOR2);
        } else {
            EXPECT_FALSE(m.has_return);
        }
    }
}

TEST(MethodTable, GridSizeProperty) {
    const gde::PropertyDef& p = warfield_grid_size_property();
    EXPECT_STREQ(p.name, "grid_size");
    EXPECT_EQ(p.type, GDEXTENSION_VARIANT_TYPE_VECTOR2);
    EXPECT_EQ(p.hint, 0u);
    EXPECT_STREQ(p.hint_string, "");
    EXPECT_EQ(p.usage, 6u);
    EXPECT_STREQ(p.setter, "set_grid_size");
    EXPECT_STREQ(p.getter, "get_grid_size");
}

}  // namespace
}  // namespace warfield
