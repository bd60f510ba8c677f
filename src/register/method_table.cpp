#include "register/method_table.h"

#include "query/target_queries.h"

namespace warfield {

namespace {

using gde::bind_method;
using gde::bind_register;
using gde::WarfieldInstance;
using W = Warfield;

// Queries fill a reusable list that the binding turns into the result Array.
void targets_in_line(WarfieldInstance& self, InstanceIdList& out, int32_t camp, int32_t grid_y,
                     int32_t collision_flags, bool check_all_line, int32_t self_grid_y) {
    query_targets_in_line(self.core, camp, grid_y, collision_flags, check_all_line, self_grid_y, out);
}

void targets_in_range(WarfieldInstance& self, InstanceIdList& out, int32_t camp, int32_t collision_flags,
                      float center_x, float center_y, float range_x, float range_y) {
    query_targets_in_range(self.core, camp, collision_flags, center_x, center_y, range_x, range_y, out);
}

void targets_all(WarfieldInstance& self, InstanceIdList& out, int32_t camp, int32_t collision_flags) {
    query_targets_all(self.core, camp, collision_flags, out);
}

void metallic_armor_targets(WarfieldInstance& self, InstanceIdList& out, int32_t camp) {
    query_metallic_armor_targets(self.core, self.host, camp, out);
}

// Each setter from its row in the record's header.
#define WARFIELD_BIND_SETTER(State, method, arg, field) bind_method<&W::set<&State::field>>(#method, "id", #arg),
#define WARFIELD_BIND_SETTER2(State, method, arg1, field1, arg2, field2) \
    bind_method<&W::set<&State::field1, &State::field2>>(#method, "id", #arg1, #arg2),

constexpr gde::MethodDef kMethods[] = {
    // Projectiles.
    bind_register<&W::register_projectile>("register_projectile"),
    bind_method<&W::unregister_projectile>("unregister_projectile", "id"),
    WARFIELD_PROJECTILE_SETTERS(WARFIELD_BIND_SETTER, WARFIELD_BIND_SETTER2)
    bind_method<&W::get_active_projectile_count>("get_active_projectile_count"),

    // Characters.
    bind_register<&W::register_character>("register_character"),
    bind_method<&W::unregister_character>("unregister_character", "id"),
    WARFIELD_CHARACTER_SETTERS(WARFIELD_BIND_SETTER, WARFIELD_BIND_SETTER2)
    bind_method<&W::get_active_character_count>("get_active_character_count"),

    // Targets.
    bind_register<&W::register_target>("register_target"),
    bind_method<&W::unregister_target>("unregister_target", "id"),
    WARFIELD_TARGET_SETTERS(WARFIELD_BIND_SETTER, WARFIELD_BIND_SETTER2)
    bind_method<&targets_in_line>("query_targets_in_line", "camp", "grid_y", "collision_flags", "check_all_line",
                                  "self_grid_y"),
    bind_method<&targets_in_range>("query_targets_in_range", "camp", "collision_flags", "center_x", "center_y",
                                   "range_x", "range_y"),
    bind_method<&targets_all>("query_targets_all", "camp", "collision_flags"),
    bind_method<&metallic_armor_targets>("query_metallic_armor_targets", "camp"),
    bind_method<&W::get_active_target_count>("get_active_target_count"),

    // Ground items.
    bind_register<&W::register_ground_item>("register_ground_item"),
    bind_method<&W::unregister_ground_item>("unregister_ground_item", "id"),
    WARFIELD_GROUND_ITEM_SETTERS(WARFIELD_BIND_SETTER, WARFIELD_BIND_SETTER2)
    bind_method<&W::get_active_ground_item_count>("get_active_ground_item_count"),

    // Property accessors.
    bind_method<&W::set_grid_size>("set_grid_size", "size"),
    bind_method<&W::get_grid_size>("get_grid_size"),
};

#undef WARFIELD_BIND_SETTER
#undef WARFIELD_BIND_SETTER2

static_assert(std::size(kMethods) == 55);

constexpr gde::PropertyDef kGridSize{
    "grid_size",    GDEXTENSION_VARIANT_TYPE_VECTOR2, WARFIELD_PROPERTY_HINT_NONE, "", WARFIELD_PROPERTY_USAGE_DEFAULT,
    "set_grid_size", "get_grid_size"};

constexpr int64_t kind_value(ProjectileType type) { return static_cast<int64_t>(type); }

constexpr gde::ConstantDef kConstants[] = {
    {"ProjectileKind", "STRAIGHT", kind_value(ProjectileType::straight)},
    {"ProjectileKind", "LOB", kind_value(ProjectileType::lob)},
    {"ProjectileKind", "ARC", kind_value(ProjectileType::arc)},
    {"ProjectileKind", "TRACKING", kind_value(ProjectileType::tracking)},
    {"ProjectileKind", "CATAPULT", kind_value(ProjectileType::catapult)},
};

}  // namespace

std::span<const gde::MethodDef> warfield_methods() { return kMethods; }

std::span<const gde::ConstantDef> warfield_constants() { return kConstants; }

const gde::PropertyDef& warfield_grid_size_property() { return kGridSize; }

}  // namespace warfield
