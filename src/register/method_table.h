// The script-visible surface of Warfield: its methods in registration order,
// its property and the engine callbacks it overrides.
#pragma once

#include <span>

#include "binding/class_registry.h"

namespace warfield {

std::span<const gde::MethodDef> warfield_methods();
const gde::PropertyDef& warfield_grid_size_property();

// Virtual hashes of the 4.5 API (Node._physics_process, Node._ready).
inline constexpr uint32_t kPhysicsProcessHash = 373806689;
inline constexpr uint32_t kReadyHash = 3218959716;

}  // namespace warfield
