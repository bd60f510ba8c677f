// A register method's arguments as a script passes them: one field per
// argument in the script's own types (64-bit ints and floats), declared from
// the record's field list, with that list's defaults, and turned into the
// Variants of a call in argument order.
#pragma once

#include <cstdint>
#include <vector>

#include "stand_in/variant.h"
#include "server/character_state.h"
#include "server/ground_item_state.h"
#include "server/projectile_state.h"
#include "server/target_state.h"

namespace stand_in {

template <class T>
struct ScriptType {
    using type = T;  // bool
};
template <>
struct ScriptType<int32_t> {
    using type = int64_t;
};
template <>
struct ScriptType<uint64_t> {
    using type = int64_t;
};
template <>
struct ScriptType<float> {
    using type = double;
};
template <>
struct ScriptType<warfield::Vector2> {
    using type = Vector2;
};
template <>
struct ScriptType<warfield::Vector2i> {
    using type = Vector2i;
};

#define STAND_IN_SCRIPT_FIELD(T, name, default_value) typename ScriptType<T>::type name = default_value;
#define STAND_IN_SCRIPT_VALUE(T, name, default_value) Variant(name),
#define STAND_IN_SCRIPT_ARGS(Name, FIELDS)                                                  \
    struct Name {                                                                       \
        FIELDS(STAND_IN_SCRIPT_FIELD)                                                      \
        std::vector<Variant> values() const { return {FIELDS(STAND_IN_SCRIPT_VALUE)}; }   \
    };

STAND_IN_SCRIPT_ARGS(ProjectileScriptArgs, WARFIELD_PROJECTILE_FIELDS)
STAND_IN_SCRIPT_ARGS(CharacterScriptArgs, WARFIELD_CHARACTER_FIELDS)
STAND_IN_SCRIPT_ARGS(TargetScriptArgs, WARFIELD_TARGET_FIELDS)
STAND_IN_SCRIPT_ARGS(GroundItemScriptArgs, WARFIELD_GROUND_ITEM_FIELDS)

// A live target that every query may offer: camp 1, row 0, at the origin,
// hit by mask 1.
inline TargetScriptArgs hittable_target() {
    TargetScriptArgs t;
    t.camp = 1;
    t.collision_flags = 1;
    t.mask_flags = 1;
    t.can_be_collection = true;
    t.can_check = true;
    t.can_projectile_check = true;
    return t;
}

// A projectile that hits mask 1 and falls at its own gravity's full scale.
inline ProjectileScriptArgs plain_projectile() {
    ProjectileScriptArgs p;
    p.collision_flags = 1;
    p.gravity_scale_val = 1.0;
    return p;
}

#undef STAND_IN_SCRIPT_ARGS
#undef STAND_IN_SCRIPT_VALUE
#undef STAND_IN_SCRIPT_FIELD

}  // namespace stand_in
