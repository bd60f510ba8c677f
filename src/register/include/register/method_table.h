// The script-visible surface of Warfield: its methods in registration order,
// its property, its constants and the engine callbacks it overrides.
#pragma once

#include <span>

#include "binding/class_db.h"

namespace warfield {

std::span<const gde::MethodDef> warfield_methods();
const gde::PropertyDef& warfield_grid_size_property();
// The projectile kinds as the class's enum ProjectileKind, in value order.
std::span<const gde::ConstantDef> warfield_constants();

}  // namespace warfield
