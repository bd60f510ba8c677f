// Every engine method hash the library asks for, as the 4.5 API states them
// (extension_api.json). A hash names one signature: a wrong one makes the
// engine refuse the lookup, so they are gathered here to be checked at once.
#pragma once

#include <cstdint>

#include "gdextension/gde_abi.h"

namespace warfield::gde::hashes {

// Builtin methods.
inline constexpr GDExtensionInt kArrayResize = 848867239;

// Engine class methods.
inline constexpr GDExtensionInt kEngineIsEditorHint = 36873697;
inline constexpr GDExtensionInt kNodeGetViewport = 3596683776;
inline constexpr GDExtensionInt kNodeIsInsideTree = 36873697;
inline constexpr GDExtensionInt kNodeGetNodeOrNull = 2734337346;
inline constexpr GDExtensionInt kNodeGetParent = 3160264692;
inline constexpr GDExtensionInt kNodeGetName = 2002593661;
inline constexpr GDExtensionInt kViewportGetVisibleRect = 1639390495;
inline constexpr GDExtensionInt kNode2DGetVector2 = 3341600327;  // get_position, get_global_position
inline constexpr GDExtensionInt kNode2DSetVector2 = 743155724;   // set_position, set_global_position, set_scale
inline constexpr GDExtensionInt kNode2DGetRotation = 1740695150;
inline constexpr GDExtensionInt kNode2DSetRotation = 373806689;
// Not listed in the API file; computed with the engine's own hash algorithm.
inline constexpr GDExtensionInt kObjectNotification = 4023243586;

// Virtual methods the class overrides.
inline constexpr uint32_t kNodePhysicsProcess = 373806689;
inline constexpr uint32_t kNodeReady = 3218959716;

}  // namespace warfield::gde::hashes
