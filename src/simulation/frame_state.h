// What the physics frame keeps from one frame to the next.
#pragma once

#include <cstdint>

#include "server/math_types.h"
#include "simulation/node_cache.h"

namespace warfield {

struct FrameState {
    uint64_t frame_count = 0;
    // The viewport's visible rectangle, widened by 100 units left and right,
    // as _ready captured it; projectiles that leave it are over.
    Rect2 visible_rect{};
    // Remembered nodes (the default) or a lookup by path of every node every
    // time; both behave alike, the second is the plain form tests compare with.
    NodeLookup node_lookup = NodeLookup::remembered;
    NodeCache node_cache;  // by projectile slot
};

}  // namespace warfield
