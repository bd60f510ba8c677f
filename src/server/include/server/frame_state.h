// What the physics frame keeps from one frame to the next.
#pragma once

#include <cstdint>
#include <memory>

#include "server/math_types.h"
#include "server/node_memory.h"

namespace warfield {

struct FrameState {
    uint64_t frame_count = 0;
    // The viewport's visible rectangle, widened by 100 units left and right,
    // as _ready captured it; projectiles that leave it are over.
    Rect2 visible_rect{};
    // Made by the frame when the node first enters the tree; null before.
    std::unique_ptr<NodeMemory> node_memory;
};

}  // namespace warfield
