// What the frame remembers of each projectile's nodes from one use to the
// next, so that a frame need not look every child up by path again.
//
// Nothing here is trusted as it stands: scripts may free, rename, reparent or
// replace any node between frames or inside a callback. Before a remembered
// node is used, the step proves it is still what a fresh lookup would give
// (step_ops.cpp); when the proof fails it looks the node up as if nothing had
// been remembered.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "simulation/host.h"

namespace warfield {

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
    std::array<RememberedNode, static_cast<std::size_t>(ChildPath::count)> children;
};

// One entry per projectile slot. Grows with the pool (only when the pool has
// grown), never shrinks, and is reached by slot each time: nothing holds an
// entry across a script call.
class NodeCache {
public:
    ProjectileNodes& at(int32_t slot) {
        const auto i = static_cast<std::size_t>(slot);
        if (i >= slots_.size()) slots_.resize(i + 1);
        return slots_[i];
    }

private:
    std::vector<ProjectileNodes> slots_;
};

// How a frame finds a projectile's nodes.
enum class NodeLookup : uint8_t {
    remembered,  // reuse what was found before, once proven still true
    by_path,     // look every node up every time and always write back
};

}  // namespace warfield
