// Every engine method hash the library asks for, as the 4.5 API states them
// (extension_api.json). A hash names one signature: a wrong one makes the
// engine refuse the lookup, so they are gathered here to be checked at once.
#pragma once

#include <cstdint>

#include "gdextension/gde_abi.h"

namespace warfield::gde::hashes {

// Builtin methods.
inline constexpr GDExtensionInt kArrayResize = 848867239;

// Engine class methods: class, method, hash.
struct EngineMethod {
    const char* class_name;
    const char* method;
    GDExtensionInt hash;
};
inline constexpr EngineMethod kEngineIsEditorHint{"Engine", "is_editor_hint", 36873697};
inline constexpr EngineMethod kNodeGetViewport{"Node", "get_viewport", 3596683776};
inline constexpr EngineMethod kNodeIsInsideTree{"Node", "is_inside_tree", 36873697};
inline constexpr EngineMethod kNodeGetNodeOrNull{"Node", "get_node_or_null", 2734337346};
inline constexpr EngineMethod kViewportGetVisibleRect{"Viewport", "get_visible_rect", 1639390495};
inline constexpr EngineMethod kNode2DGetGlobalPosition{"Node2D", "get_global_position", 3341600327};
inline constexpr EngineMethod kNode2DSetGlobalPosition{"Node2D", "set_global_position", 743155724};
inline constexpr EngineMethod kNode2DGetPosition{"Node2D", "get_position", 3341600327};
inline constexpr EngineMethod kNode2DSetPosition{"Node2D", "set_position", 743155724};
inline constexpr EngineMethod kNode2DGetRotation{"Node2D", "get_rotation", 1740695150};
inline constexpr EngineMethod kNode2DSetRotation{"Node2D", "set_rotation", 373806689};
inline constexpr EngineMethod kNode2DSetScale{"Node2D", "set_scale", 743155724};
// Its hash is not listed in the API file; computed with the engine's own
// hash algorithm.
inline constexpr EngineMethod kObjectNotification{"Object", "notification", 4023243586};

// Virtual methods the class overrides.
inline constexpr uint32_t kNodePhysicsProcess = 373806689;
inline constexpr uint32_t kNodeReady = 3218959716;

}  // namespace warfield::gde::hashes
