// The four target queries. Each appends the matching targets' instance ids
// to `out`, in the order found.
#pragma once

#include <cstdint>

#include "server/warfield.h"
#include "port/host.h"

namespace warfield {

// Hittable targets of other camps in row `grid_y` as of the last index
// rebuild; with `check_all_line`, then those of every other row.
void query_targets_in_line(const Warfield& warfield, int32_t camp, int32_t grid_y, int32_t collision_flags,
                           bool check_all_line, int32_t self_grid_y, InstanceIdList& out);
// Hittable targets of other camps inside the rectangle center ± range.
void query_targets_in_range(const Warfield& warfield, int32_t camp, int32_t collision_flags, float center_x,
                            float center_y, float range_x, float range_y, InstanceIdList& out);
// Hittable targets of camp `camp`.
void query_targets_all(const Warfield& warfield, int32_t camp, int32_t collision_flags, InstanceIdList& out);
// Live targets of other camps whose script answers "has_metallic_armor".
// Those scripts may change the node, so nothing of the pool is held across
// a call.
void query_metallic_armor_targets(const Warfield& warfield, Host& host, int32_t camp, InstanceIdList& out);

}  // namespace warfield
