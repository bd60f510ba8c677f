// The operations the projectile kinds are built from, and the state of one
// record's step while it runs.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "server/math_types.h"
#include "server/projectile_state.h"
#include "server/warfield.h"
#include "port/host.h"
#include "simulation/node_cache.h"

namespace warfield {

// How a kind step ended. `abandoned` means a script call took the record's
// node away (freed it, or released the slot to another registration): the
// step stopped at once and the node must not be touched again.
enum class StepOutcome : uint8_t { done, abandoned };

// One record's step in progress. Scripts may grow and move the pool during
// any call, so the record is always reached through the slot, never kept.
struct StepContext {
    Warfield& warfield;
    FrameState& frame;
    Host& host;
    int32_t slot;
    uint64_t node_id;   // the record's node when the step began
    ObjectHandle node;  // the root as a Node2D, resolved again after every script call
    float delta;
    // What is remembered between frames; null when every node is looked up
    // by path every time (and the frame always writes back): by choice, or
    // because the engine cannot report changes to the tree.
    NodeCache* cache = nullptr;
    ObjectHandle root_object = nullptr;  // the root as an object: its children's parent

    // Facts true since the last script call (each call forgets them).
    uint8_t proven = 0;  // a bit per ChildPath: its id was found live, its slot below holds it
    std::array<ObjectHandle, kChildPaths> child_object{};  // the in-tree object at the path, or null
    std::array<ObjectHandle, kChildPaths> child{};         // the same as a usable Node2D, or null
    bool root_known = false;  // root_position is what the engine reports
    bool root_moved = false;  // and this step set it last
    Vector2 root_position{};

    ProjectileState& record() { return warfield.projectiles()[slot]; }
    void forget_facts() {
        proven = 0;
        root_known = false;
        root_moved = false;
    }
};

// The live, in-tree Node2D with this instance id, or null. `object` receives
// the object (null when there is none). With a cache, `role` (the root or
// the target) of the slot remembers the node: its class is not asked again
// while the id names the same object, nor whether it is in the tree while
// the engine has not reported it leaving.
ObjectHandle resolve_node(Host& host, uint64_t instance_id, NodeCache* cache, int32_t slot, Role role,
                          ObjectHandle& object);

// Whether the root is still as the step found it: the engine has reported
// neither its leaving the tree nor a new name since.
inline bool root_settled(const StepContext& s) { return s.cache != nullptr && s.cache->settled(s.slot, Role::root); }

// The root's child at path when it is usable (in the tree, a Node2D), or null.
ObjectHandle find_child(StepContext& s, ChildPath path);

// The root's global position, read from the engine unless already known.
Vector2 root_global_position(StepContext& s);

// Moves the root by delta * velocity.
void advance_node(StepContext& s);

// Raises the child at path, when usable, to the record's height, keeping its
// x. Returns the child, or null when there was none to raise.
ObjectHandle lift_child(StepContext& s, ChildPath path);

// Shrinks "ShadowSprite" with height, down to nothing at tuning::kShadowVanishHeight.
void scale_shadow(StepContext& s);

// Turns "ProjectileBodyNode/ProjectileSprite" by the record's spin.
void spin_sprite(StepContext& s);

// With rotate_follow_velocity set, turns "ProjectileBodyNode" to the angle of
// the record's velocity, atan2(velocity.y, velocity.x).
void turn_body_along_velocity(StepContext& s);

// Calls the script method on the root. Returns false when the step must stop
// because the call took the node away.
[[nodiscard]] bool call_script(StepContext& s, ScriptMethod method);

// Ends the projectile (hit_over set, active cleared), then calls the script.
StepOutcome finish_projectile(StepContext& s, ScriptMethod method);

// The half-open test against the play area.
inline bool inside_rect(Rect2 r, Vector2 p) {
    return p.x >= r.position.x && p.y >= r.position.y && p.x < r.position.x + r.size.x &&
           p.y < r.position.y + r.size.y;
}

// Whether "ProjectileBodyNode" is usable and its global position lies outside
// the play area. Without a body nothing leaves.
[[nodiscard]] bool body_left_play_area(StepContext& s);

}  // namespace warfield
