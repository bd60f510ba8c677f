// Programs for the seed corpus: each starts the fuzzer in a different corner
// of the script surface.
#pragma once

#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "input_builder.h"

namespace warfield::fuzz {

inline std::vector<std::pair<std::string, std::vector<uint8_t>>> seed_programs() {
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    constexpr float inf = std::numeric_limits<float>::infinity();
    std::vector<std::pair<std::string, std::vector<uint8_t>>> out;
    auto add = [&](const char* name, const InputBuilder& b) { out.emplace_back(name, b.bytes()); };

    {  // Slot churn on all four pools, with ids that name nothing.
        InputBuilder b;
        for (int i = 0; i < 3; ++i) {
            b.op(Op::register_character).no_id().no_id().no_id().no_id().no_id();
            for (int k = 0; k < 16; ++k) b.u8(0);
            b.target(i, i, 1, 0, 10.0f * i, 0.0f);
            b.op(Op::register_ground_item).live(0);
            for (int k = 0; k < 7; ++k) b.u8(0);
        }
        b.op(Op::unregister_character).held(1).op(Op::unregister_character).released(0);
        b.op(Op::unregister_target).minus_one().op(Op::unregister_target).past_end();
        b.op(Op::set_target_camp).edge_slot(0).i32(9).op(Op::set_target_grid_y).held(2).i32(7);
        b.op(Op::set_character_z).held(0).f32(nan).op(Op::set_ground_item_z).edge_slot(1).f32(inf);
        b.op(Op::register_character).no_id().no_id().no_id().no_id().no_id();
        b.frame(1.0 / 60.0).op(Op::get_active_target_count).op(Op::get_active_character_count);
        add("store_churn", b);
    }
    {  // One projectile of every kind in a 1280x720 play area.
        InputBuilder b;
        b.op(Op::set_viewport).flag(true).vec2(0, 0).vec2(1280, 720).op(Op::ready);
        b.target(1, 0, 1, 0, 900.0f, 300.0f);
        for (int type = 0; type <= 5; ++type) b.projectile(type, 100.0f, 300.0f, 400.0f, 0.0f, 300.0f, 50.0f, -300.0f, 0.0f, 0);
        for (int f = 0; f < 40; ++f) b.frame(1.0 / 60.0);
        add("every_kind", b);
    }
    {  // Callbacks that free their own node, release their slot and spawn.
        InputBuilder b;
        b.op(Op::set_viewport).flag(true).vec2(0, 0).vec2(1280, 720).op(Op::ready);
        b.projectile(0, 100.0f, 300.0f, 400.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
        b.projectile(1, 100.0f, 300.0f, 100.0f, 0.0f, 0.0f, 10.0f, 0.0f, 0.0f);
        b.frame(1.0 / 60.0).script(2).op(Op::free_current).op(Op::unregister_current).u8(0);
        b.script(1).projectile(4, 10.0f, 10.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f);
        b.script(1).op(Op::free_current_child).u8(0);
        b.frame(1.0 / 60.0).script(3).op(Op::finish_current).u8(0).flag(true).op(Op::free_current).frame(0.1);
        add("reentrant_callbacks", b);
    }
    {  // A tracking projectile whose target is freed, then replaced.
        InputBuilder b;
        b.target(1, 0, 1, 0, 500.0f, 300.0f);
        b.projectile(3, 100.0f, 300.0f, 0.0f, 0.0f, 600.0f, 0.0f, 0.0f, 0.0f, 0);
        b.frame(1.0 / 60.0).script(0);
        b.op(Op::free_node).u8(0);
        for (int f = 0; f < 32; ++f) b.frame(1.0 / 60.0).script(1).op(Op::retarget_current).u8(0).live(1);
        add("tracking_retarget", b);
    }
    {  // Metallic armour queries whose scripts unregister and register targets.
        InputBuilder b;
        for (int i = 0; i < 4; ++i) b.target(i % 2, i, 1, 0, 0.0f, 0.0f);
        b.op(Op::query_metallic_armor_targets).i32(0).script(1, true).op(Op::unregister_target).held(1);
        b.script(1, true).target(1, 5, 1, 0, 0.0f, 0.0f).script(0, true);
        b.frame(0.0);
        b.op(Op::query_targets_in_line).i32(0).i32(1).i32(1).flag(true).i32(1);
        b.op(Op::query_targets_in_range).i32(0).i32(-1).f32(0).f32(0).f32(inf).f32(nan);
        b.op(Op::query_targets_all).i32(1).i32(1);
        add("metallic_reentry", b);
    }
    {  // Hostile numbers: odd frame times, rectangles and flight values.
        InputBuilder b;
        b.op(Op::set_viewport).flag(true).vec2(nan, -inf).vec2(-1e38f, inf).op(Op::ready);
        for (int type = 0; type <= 4; ++type) b.projectile(type, nan, inf, -inf, 1e38f, nan, inf, -1e38f, nan, 0);
        const double deltas[] = {0.0, -1.0, std::numeric_limits<double>::quiet_NaN(), 1e300, 5e-324, 3.5e38};
        for (double d : deltas) b.frame(d);
        b.op(Op::rotate_node).u8(0).f32(inf).frame(0.016);
        b.op(Op::set_editor_hint).flag(true).frame(0.016).op(Op::ready).op(Op::set_editor_hint).flag(false);
        b.op(Op::set_viewport).flag(false).vec2(0, 0).vec2(0, 0).op(Op::ready).frame(0.016);
        add("hostile_numbers", b);
    }
    {  // Children changed by a script reacting inside the frame's own writes,
       // a renamed root, and a stretch with the tree's reports blocked.
        InputBuilder b;
        b.op(Op::set_viewport).flag(true).vec2(0, 0).vec2(1280, 30000).op(Op::ready);
        b.projectile(4, 300.0f, 20000.0f, 10.0f, 0.0f, 0.0f, 0.0f, -3000.0f, 0.0f);
        b.op(Op::react_to_writes).u8(2).op(Op::rename_current);
        for (int f = 0; f < 12; ++f) {
            // A write to the shadow replaces the body, then the hit box is freed.
            b.frame(1.0 / 60.0).u8(2).op(Op::replace_current_child).u8(0).op(Op::free_current_child).u8(3);
        }
        b.op(Op::silence_tree).flag(true).op(Op::free_current_child).u8(0).frame(1.0 / 60.0);
        b.op(Op::silence_tree).flag(false).frame(1.0 / 60.0);
        add("tree_reactions", b);
    }
    return out;
}

}  // namespace warfield::fuzz
