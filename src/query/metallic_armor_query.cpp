// The one query that asks scripts. "has_metallic_armor" may register,
// unregister or change targets, growing and moving the pool, so each slot is
// read afresh and nothing of the pool is held across the call.
#include "query/target_queries.h"

namespace warfield {

void query_metallic_armor_targets(const Warfield& warfield, Host& host, int32_t camp, InstanceIdList& out) {
    const SlotPool<TargetState>& targets = warfield.targets();
    // The size is read again for every slot: targets registered by a script
    // beyond the current position are visited too.
    for (int32_t slot = 0; slot < targets.size(); ++slot) {
        uint64_t instance_id = 0;
        {
            const TargetState& t = targets[slot];
            if (!t.active || t.camp == camp || t.die) continue;
            instance_id = t.node_instance_id;
        }
        const ObjectHandle node = host.object_from_instance_id(instance_id);
        if (node == nullptr) continue;
        if (host.call_bool(node, ScriptMethod::has_metallic_armor)) out.push_back(instance_id);
    }
}

}  // namespace warfield
