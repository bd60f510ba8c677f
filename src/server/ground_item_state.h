// An item lying on (or falling to) the ground. Stored and counted only.
#pragma once

#include <cstdint>

namespace warfield {

struct GroundItemState {
    uint64_t node_instance_id = 0;
    bool active = false;
    float z_val = 0.0f;
    float ground_height = 0.0f;
    float y_speed = 0.0f;
    float gravity = 0.0f;
    float gravity_scale = 0.0f;
    bool is_ground = false;
    bool gravity_use = false;
};

}  // namespace warfield
