// The engine callbacks and the per-frame loop over the projectile pool.
#include "server/warfield.h"
#include "simulation/host.h"
#include "simulation/kind_steps.h"
#include "simulation/step_ops.h"

namespace warfield {
namespace {

StepOutcome step_kind(StepContext& s, int32_t type) {
    switch (type) {
        case static_cast<int32_t>(ProjectileType::straight): return step_straight(s);
        case static_cast<int32_t>(ProjectileType::lob): return step_lob(s);
        case static_cast<int32_t>(ProjectileType::arc): return step_arc(s);
        case static_cast<int32_t>(ProjectileType::tracking): return step_tracking(s);
        case static_cast<int32_t>(ProjectileType::catapult): return step_catapult(s);
        default: return StepOutcome::done;  // stored, never moved
    }
}

}  // namespace

void Warfield::_ready(Host& host) {
    if (host.is_editor_hint()) return;
    const ObjectHandle viewport = host.get_viewport();
    if (viewport == nullptr) return;
    const Rect2 rect = host.get_visible_rect(viewport);
    // Projectiles may stray 100 units past the left and right edges, not past
    // the top or bottom.
    visible_rect_ = rect;
    visible_rect_.position.x = -100.0f;
    visible_rect_.size.x = rect.size.x + 200.0f;
}

void Warfield::_physics_process(Host& host, double delta) {
    if (host.is_editor_hint()) return;
    ++frame_count_;
    step_projectiles(host, static_cast<float>(delta));
    // After the step, so the index sees every target change its scripts made.
    if (index_.target_index_dirty) index_.rebuild(targets_);
}

void Warfield::step_projectiles(Host& host, float delta) {
    NodeCache* cache = node_lookup_ == NodeLookup::remembered ? &node_cache_ : nullptr;
    // The size is read afresh for every slot: projectiles appended by scripts
    // during the frame are stepped in it too.
    for (int32_t slot = 0; slot < projectiles_.size(); ++slot) {
        uint64_t node_id = 0;
        int32_t type = 0;
        {
            const ProjectileState& r = projectiles_[slot];
            if (!r.active || r.hit_over) continue;
            node_id = r.node_instance_id;
            type = r.type;
        }

        ObjectHandle root_object = nullptr;
        RememberedNode* memo = cache != nullptr ? &cache->at(slot).root : nullptr;
        const ObjectHandle node = resolve_node(host, node_id, memo, root_object);
        if (node == nullptr) {
            projectiles_[slot].active = false;
            continue;
        }

        StepContext s{*this, host, slot, node_id, node, delta, cache, root_object};
        spin_sprite(s);
        if (step_kind(s, type) == StepOutcome::abandoned) continue;

        const ProjectileState& r = projectiles_[slot];
        if (r.hit_over || !r.active) continue;
        // Re-applies the root's global position. When this step set it after
        // its last script call, the engine already holds exactly that value.
        if (s.root_moved) continue;
        host.set_global_position(s.node, root_global_position(s));
    }
}

}  // namespace warfield
