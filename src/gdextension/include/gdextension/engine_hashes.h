// The builtin and virtual method hashes the library asks for, as the 4.5 API
// states them (extension_api.json). A hash names one signature: a wrong one
// makes the engine refuse the lookup, so they are gathered here to be checked
// at once. Engine class methods carry theirs in engine_methods.h.
#pragma once

#include <cstdint>

#include "gdextension/gde_abi.h"

namespace warfield::gde::hashes {

// Builtin methods.
inline constexpr GDExtensionInt kArrayResize = 848867239;

// Virtual methods the class overrides.
inline constexpr uint32_t kNodePhysicsProcess = 373806689;
inline constexpr uint32_t kNodeReady = 3218959716;

}  // namespace warfield::gde::hashes
