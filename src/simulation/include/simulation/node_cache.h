// What the frame remembers of each projectile's nodes from one use to the
// next, so that a frame need not find its nodes again.
//
// Scripts may free, rename, reparent or replace any node between frames or
// inside a callback, and the engine says so as it happens: the cache watches
// the tree (Host::watch_tree) and forgets a remembered node the moment the
// engine reports it leaving the tree or being renamed. What is remembered and
// not forgotten is exactly what a fresh lookup would give. One thing is still
// proven before each use (step_ops.cpp), because a script can silence the
// engine (by blocking the tree's signals): that the node's id still names
// the remembered object, so a stale node may be used but never a freed one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "server/frame_state.h"
#include "server/node_memory.h"
#include "port/host.h"
#include "simulation/node_watch.h"

namespace warfield {

inline constexpr std::size_t kChildPaths = static_cast<std::size_t>(ChildPath::count);

// The nodes a projectile's step relies on, each with a settled bit.
enum class Role : uint8_t {
    root,
    child,  // child + ChildPath: the node at that path below the root
    target = child + kChildPaths,
    count
};
inline constexpr Role role_of(ChildPath path) {
    return static_cast<Role>(static_cast<std::size_t>(Role::child) + static_cast<std::size_t>(path));
}
inline constexpr uint8_t bit_of(Role role) { return static_cast<uint8_t>(1u << static_cast<unsigned>(role)); }
static_assert(static_cast<std::size_t>(Role::count) <= 8, "settled bits fit one byte");

// A node as last found: the object with that instance id, and the same object
// as a Node2D (null when it is none; an object's class never changes).
struct RememberedNode {
    uint64_t id = 0;  // 0: nothing remembered
    ObjectHandle object = nullptr;
    ObjectHandle node2d = nullptr;
};

struct ProjectileNodes {
    RememberedNode root;
    RememberedNode target;
    std::array<RememberedNode, kChildPaths> children;
    // A bit per Role, set while the engine has reported nothing about that
    // node since it was found: the root and the target were in the tree, a
    // child was what its path led to (a path that leads nowhere is never
    // settled). While set, the node is watched under its id.
    uint8_t settled = 0;

    RememberedNode& node(Role role) {
        if (role == Role::root) return root;
        if (role == Role::target) return target;
        return children[static_cast<std::size_t>(role) - static_cast<std::size_t>(Role::child)];
    }
};

// One entry per projectile slot. Grows with the pool (only when the pool has
// grown), never shrinks, and is reached by slot each time: nothing holds an
// entry across a script call, since the engine's reports arrive inside them.
class NodeCache final : public TreeWatcher, public NodeMemory {
public:
    NodeCache() = default;
    NodeCache(const NodeCache&) = delete;
    NodeCache& operator=(const NodeCache&) = delete;
    ~NodeCache() { stop_watching(); }

    // Starts watching host's tree; false (and nothing remembered from then
    // on) when the host cannot report changes.
    bool watch(Host& host);
    void stop_watching();
    bool watching() const { return host_ != nullptr; }

    ProjectileNodes& at(int32_t slot) {
        const auto i = static_cast<std::size_t>(slot);
        if (i >= slots_.size()) slots_.resize(i + 1);
        return slots_[i];
    }

    // The remembered node of role is relied on until the engine reports it.
    void settle(int32_t slot, Role role);
    // Forgets the node of role and what depends on it (the root's children
    // below it, the sprite below the body).
    void unsettle(int32_t slot, Role role);
    bool settled(int32_t slot, Role role) const {
        const auto i = static_cast<std::size_t>(slot);
        return i < slots_.size() && (slots_[i].settled & bit_of(role)) != 0;
    }

    void node_changed(uint64_t instance_id) override;
    void tree_gone() override;

    // For checks: the slot's entry if it has one, and how many (slot, role)
    // pairs are watched (one per settled bit).
    const ProjectileNodes* find(int32_t slot) const {
        const auto i = static_cast<std::size_t>(slot);
        return i < slots_.size() ? &slots_[i] : nullptr;
    }
    std::size_t slot_count() const { return slots_.size(); }
    std::size_t watched() const { return watch_.size(); }

private:
    static Watcher watcher_of(int32_t slot, Role role) {
        return static_cast<Watcher>(slot) * 8u + static_cast<Watcher>(role);
    }

    Host* host_ = nullptr;
    std::vector<ProjectileNodes> slots_;
    NodeWatch watch_;
};

// The node memory of the frame's state, made on first use; and the one
// there is, or null. The frame is the only maker of a node memory, so it is
// always a NodeCache.
NodeCache& node_cache_of(FrameState& frame);
NodeCache* existing_node_cache(FrameState& frame);
const NodeCache* existing_node_cache(const FrameState& frame);

// How a frame finds a projectile's nodes.
enum class NodeLookup : uint8_t {
    remembered,  // keep what was found while the engine reports no change
    by_path,     // look every node up every time and always write back
};

}  // namespace warfield
