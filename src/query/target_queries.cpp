// The row, range and camp queries. They read the records as they are now and
// the index as of its last rebuild, and call no script.
#include "query/target_queries.h"

#include "query/hittable.h"

namespace warfield {

void query_targets_in_line(const Warfield& warfield, int32_t camp, int32_t grid_y, int32_t collision_flags,
                           bool check_all_line, int32_t self_grid_y, InstanceIdList& out) {
    const SlotPool<TargetState>& targets = warfield.targets();
    // A row unknown to the last rebuild yields nothing, even for a whole-field search.
    const SlotList* row = warfield.target_index().targets_by_grid_y.find(grid_y);
    if (row == nullptr) return;
    const int32_t n = targets.size();
    for (const int32_t slot : *row) {
        if (slot >= n) continue;
        const TargetState& t = targets[slot];
        // A target that left the row since the rebuild is not listed under it;
        // the scan below finds it in its new row instead, and only once.
        if (t.grid_y != grid_y) continue;
        if (!is_hittable(t, collision_flags) || t.camp == camp) continue;
        if (check_all_line || t.grid_y == self_grid_y || t.all_line_check) out.push_back(t.node_instance_id);
    }
    if (!check_all_line) return;
    for (int32_t slot = 0; slot < n; ++slot) {
        const TargetState& t = targets[slot];
        if (is_hittable(t, collision_flags) && t.camp != camp && t.grid_y != grid_y) {
            out.push_back(t.node_instance_id);
        }
    }
}

void query_targets_in_range(const Warfield& warfield, int32_t camp, int32_t collision_flags, float center_x,
                            float center_y, float range_x, float range_y, InstanceIdList& out) {
    const SlotPool<TargetState>& targets = warfield.targets();
    const float left = center_x - range_x;
    const float right = center_x + range_x;
    const float top = center_y - range_y;
    const float bottom = center_y + range_y;
    const int32_t n = targets.size();
    for (int32_t slot = 0; slot < n; ++slot) {
        const TargetState& t = targets[slot];
        if (!is_hittable(t, collision_flags) || t.camp == camp) continue;
        // Written so that any NaN, in a bound or a coordinate, rejects.
        const float x = t.global_position_x;
        const float y = t.global_position_y;
        if (left <= x && x <= right && top <= y && y <= bottom) out.push_back(t.node_instance_id);
    }
}

void query_targets_all(const Warfield& warfield, int32_t camp, int32_t collision_flags, InstanceIdList& out) {
    const SlotPool<TargetState>& targets = warfield.targets();
    const int32_t n = targets.size();
    if (const SlotList* listed = warfield.target_index().targets_by_camp.find(camp)) {
        for (const int32_t slot : *listed) {
            if (slot >= n) continue;
            const TargetState& t = targets[slot];
            // A target that changed camp, or a new one in a reused slot of
            // another camp, is not listed under the stale key.
            if (t.camp == camp && is_hittable(t, collision_flags)) out.push_back(t.node_instance_id);
        }
        return;
    }
    // No target had this camp at the last rebuild: look at the pool itself,
    // keeping the same set the index would have listed.
    for (int32_t slot = 0; slot < n; ++slot) {
        const TargetState& t = targets[slot];
        if (t.camp == camp && is_hittable(t, collision_flags)) out.push_back(t.node_instance_id);
    }
}

}  // namespace warfield
