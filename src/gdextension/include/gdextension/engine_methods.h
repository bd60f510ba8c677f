// Every engine class method the library calls through a method bind, each
// written once. Adding one here gives it its bind in the EngineCache (looked
// up, checked, named when the engine lacks it), and, for a Host operation,
// its HostOp in the tests' fake host and its place in the call budget of the
// benchmarks. The Host itself (port/host.h) and its implementations
// stay hand-written.
//
// No includes: the fake host of the tests and the benchmarks expand it
// without the binding.
#pragma once

// A row is (member, Class, method, hash): the bind's short name in the
// library, the engine class and method as the engine names them, and the
// method's hash as the 4.5 API states it (extension_api.json); a wrong hash
// makes the engine refuse the lookup. Rows are in the order the binds are
// looked up, each passed to the macro of its use:
// - FIXED: a Host operation, named as the method, that the node makes
//   whatever its projectiles (in _ready, or once a frame);
// - NODE: a Host operation, named as the method, on the projectiles' nodes,
//   which the call budget counts per projectile-frame under `member`;
// - BINDING: called by the binding itself; no Host operation.
// Pass WARFIELD_SKIP_ENGINE_METHOD for a use an expansion leaves out.
// Object.notification's hash is not listed in the API file; it was computed
// with the engine's own hash algorithm.
#define WARFIELD_ENGINE_METHODS(FIXED, NODE, BINDING)           \
    FIXED(editor_hint, Engine, is_editor_hint, 36873697)        \
    FIXED(viewport, Node, get_viewport, 3596683776)             \
    NODE(inside, Node, is_inside_tree, 36873697)                \
    NODE(child, Node, get_node_or_null, 2734337346)             \
    FIXED(visible_rect, Viewport, get_visible_rect, 1639390495) \
    NODE(get_global, Node2D, get_global_position, 3341600327)   \
    NODE(set_global, Node2D, set_global_position, 743155724)    \
    NODE(get_local, Node2D, get_position, 3341600327)           \
    NODE(set_local, Node2D, set_position, 743155724)            \
    NODE(get_turn, Node2D, get_rotation, 1740695150)            \
    NODE(set_turn, Node2D, set_rotation, 373806689)             \
    NODE(set_scale, Node2D, set_scale, 743155724)               \
    BINDING(notification, Object, notification, 4023243586)

#define WARFIELD_SKIP_ENGINE_METHOD(member, cls, method, hash)
