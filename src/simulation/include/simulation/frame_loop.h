// The frame's loop, for either way of finding nodes. The shipped frame
// (physics_frame.cpp) instantiates the remembered one; only tests and the
// fuzzers instantiate the lookup by path, the plain reference they compare
// it with (tests/support/reference_frame.cpp).
#pragma once

#include "simulation/kind_steps.h"
#include "simulation/physics_frame.h"
#include "simulation/step_ops.h"

namespace warfield {
namespace frame_detail {

inline StepOutcome step_kind(StepContext& s, int32_t type) {
    switch (type) {
        case static_cast<int32_t>(ProjectileType::straight): return step_straight(s);
        case static_cast<int32_t>(ProjectileType::lob): return step_lob(s);
        case static_cast<int32_t>(ProjectileType::arc): return step_arc(s);
        case static_cast<int32_t>(ProjectileType::tracking): return step_tracking(s);
        case static_cast<int32_t>(ProjectileType::catapult): return step_catapult(s);
        default: return StepOutcome::done;  // stored, never moved
    }
}

}  // namespace frame_detail

template <NodeLookup Lookup>
void ready_with(Warfield& warfield, Host& host) {
    if (host.is_editor_hint()) return;
    FrameState& frame = warfield.frame();
    if constexpr (Lookup == NodeLookup::remembered) node_cache_of(frame).watch(host);
    const ObjectHandle viewport = host.get_viewport();
    if (viewport == nullptr) return;
    const Rect2 rect = host.get_visible_rect(viewport);
    Rect2& area = frame.visible_rect;
    area = rect;
    area.position.x = -tuning::kPlayAreaSideMargin;
    area.size.x = rect.size.x + 2.0f * tuning::kPlayAreaSideMargin;
}

template <NodeLookup Lookup>
void step_projectiles_with(Warfield& warfield, Host& host, float delta) {
    FrameState& frame = warfield.frame();
    // Nodes are remembered only while the engine reports what changes them.
    NodeCache* cache = nullptr;
    if constexpr (Lookup == NodeLookup::remembered) {
        NodeCache* remembered = existing_node_cache(frame);
        if (remembered != nullptr && remembered->watching()) cache = remembered;
    }
    SlotPool<ProjectileState>& projectiles = warfield.projectiles();
    // The size is read afresh for every slot: projectiles appended by scripts
    // during the frame are stepped in it too.
    for (int32_t slot = 0; slot < projectiles.size(); ++slot) {
        uint64_t node_id = 0;
        int32_t type = 0;
        {
            const ProjectileState& r = projectiles[slot];
            if (!r.active || r.hit_over) continue;
            node_id = r.node_instance_id;
            type = r.type;
        }

        ObjectHandle root_object = nullptr;
        const ObjectHandle node = resolve_node(host, node_id, cache, slot, Role::root, root_object);
        if (node == nullptr) {
            projectiles[slot].active = false;
            continue;
        }

        StepContext s{warfield, frame, host, slot, node_id, node, delta, cache, root_object};
        spin_sprite(s);
        if (frame_detail::step_kind(s, type) == StepOutcome::abandoned) continue;

        const ProjectileState& r = projectiles[slot];
        if (r.hit_over || !r.active) continue;
        // Re-applies the root's global position. When this step set it after
        // its last script call, the engine already holds exactly that value.
        if (s.root_moved && root_settled(s)) continue;
        host.set_global_position(s.node, root_global_position(s));
    }
}

template <NodeLookup Lookup>
void physics_process_with(Warfield& warfield, Host& host, double delta) {
    if (host.is_editor_hint()) return;
    ++warfield.frame().frame_count;
    step_projectiles_with<Lookup>(warfield, host, static_cast<float>(delta));
    // After the step, so the index sees every target change its scripts made.
    TargetIndex& index = warfield.target_index();
    if (index.target_index_dirty) index.rebuild(warfield.targets());
}

}  // namespace warfield
