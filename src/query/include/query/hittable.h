// The test a target must pass to be offered to an attacker by the row, range
// and camp queries.
#pragma once

#include <cstdint>

#include "server/target_state.h"

namespace warfield {

inline bool is_hittable(const TargetState& t, int32_t collision_flags) {
    return t.active && !t.die && !t.near_die && !t.invincible && t.can_be_collection && !t.is_crater &&
           (t.mask_flags & collision_flags) != 0;
}

}  // namespace warfield
