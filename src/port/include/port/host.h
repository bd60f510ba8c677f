// The engine as the frame and the queries see it: the port between the core
// and the engine. A "host" is this interface or one of its implementations:
// EngineHost (binding/engine_host.h) over the engine's extension interface,
// and the tests' scripted FakeHost. Every method is one engine operation, so
// the number of calls made here is the number of engine calls a frame costs.
// Objects are the engine's raw object pointers, opaque to the core.
#pragma once

#include <cstdint>

#include "server/math_types.h"

namespace warfield {

using ObjectHandle = void*;

// Script methods that the node calls on the game's nodes, always without
// arguments. The binding builds their engine names once.
enum class ScriptMethod : uint8_t {
    update_grid_pos,
    check_shooter_height,
    over_from_extension,
    land_from_extension,
    enable_monitoring,
    disable_monitoring,
    hit_target_from_extension,
    target_died_from_extension,
    find_track_target,
    has_metallic_armor,
    count
};

// Child paths below a projectile's root node.
enum class ChildPath : uint8_t {
    projectile_body,    // "ProjectileBodyNode"
    projectile_sprite,  // "ProjectileBodyNode/ProjectileSprite"
    shadow_sprite,      // "ShadowSprite"
    hit_box,            // "HitBox"
    count
};

const char* script_method_name(ScriptMethod m);
const char* child_path_name(ChildPath p);
// The last name of the path: what the child itself is called.
const char* child_name(ChildPath p);

// Told, as it happens, of every node that leaves the scene tree (freed,
// removed or moved; each node of a subtree) or is renamed inside it: the two
// ways a node the core found by path can stop being what the path leads to.
class TreeWatcher {
public:
    virtual void node_changed(uint64_t instance_id) = 0;
    // The host stops reporting for good (it is going away): whatever it
    // would have reported may now change unheard.
    virtual void tree_gone() = 0;

protected:
    ~TreeWatcher() = default;
};

class Host {
public:
    virtual ~Host() = default;

    virtual bool is_editor_hint() = 0;
    // The viewport of the Warfield node itself; null when it has none.
    virtual ObjectHandle get_viewport() = 0;
    virtual Rect2 get_visible_rect(ObjectHandle viewport) = 0;

    // The live object with this instance id (and its extension-side wrapper),
    // or null.
    virtual ObjectHandle object_from_instance_id(uint64_t instance_id) = 0;
    // Null unless the object is a Node2D.
    virtual ObjectHandle cast_to_node2d(ObjectHandle object) = 0;
    virtual bool is_inside_tree(ObjectHandle node) = 0;
    virtual ObjectHandle get_node_or_null(ObjectHandle node, ChildPath path) = 0;
    // The object's instance id; 0 for none.
    virtual uint64_t get_instance_id(ObjectHandle object) = 0;

    // From now on, tells the watcher of every change TreeWatcher names, until
    // unwatch_tree. False when the engine cannot: the core then finds every
    // node by path every time.
    virtual bool watch_tree(TreeWatcher& watcher) = 0;
    virtual void unwatch_tree(TreeWatcher& watcher) = 0;

    virtual Vector2 get_global_position(ObjectHandle node2d) = 0;
    virtual void set_global_position(ObjectHandle node2d, Vector2 p) = 0;
    virtual Vector2 get_position(ObjectHandle node2d) = 0;
    virtual void set_position(ObjectHandle node2d, Vector2 p) = 0;
    virtual float get_rotation(ObjectHandle node2d) = 0;
    virtual void set_rotation(ObjectHandle node2d, float radians) = 0;
    virtual void set_scale(ObjectHandle node2d, Vector2 s) = 0;

    // Object.call(method) with no further arguments; the result is dropped.
    virtual void call(ObjectHandle object, ScriptMethod method) = 0;
    // Object.call(method), its result converted to bool (nil is false).
    virtual bool call_bool(ObjectHandle object, ScriptMethod method) = 0;
};

}  // namespace warfield
