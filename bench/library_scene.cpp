#include "library_scene.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#ifndef WARFIELD_LIBRARY_PATH
#define WARFIELD_LIBRARY_PATH ""
#endif

namespace warfield::bench {

using stand_in::Fn;

std::string library_path() {
    if (const char* env = std::getenv("WARFIELD_LIBRARY"); env != nullptr && *env != '\0') return env;
    return WARFIELD_LIBRARY_PATH;
}

namespace {

demo::ProjectileSpec flight(int kind, int64_t node, int64_t target) {
    demo::ProjectileSpec p;
    p.node_instance_id = node;
    p.type = kind;
    p.velocity = {1.0f, 0.0f};
    p.gravity_scale_val = 0.0;
    switch (kind) {
        case 0:
            p.fire_length = 1.0;
            p.check_distance = 1e9;
            p.rotate_follow_velocity = true;
            break;
        case 1:
            p.z_val = 100.0;
            p.rotate_scale = 2.0;
            break;
        case 2:
            p.z_val = 100.0;
            p.rotate_follow_velocity = true;
            break;
        case 3:
            p.speed = 1.0;
            p.target_instance_id = target;
            break;
        case 4:
            p.y_speed = -1e7;
            p.rotate_follow_velocity = true;
            break;
        default: break;
    }
    return p;
}

// Calls through every engine bind of that class and name (compatibility
// hashes included) between two counter snapshots.
uint64_t bind_delta(const stand_in::Counters& before, const stand_in::Counters& after, BindName b) {
    uint64_t n = 0;
    for (const stand_in::EngineBind& e : stand_in::engine_binds()) {
        if (std::string_view(e.cls) == b.cls && std::string_view(e.name) == b.name) {
            n += after.binds[e.index] - before.binds[e.index];
        }
    }
    return n;
}

}  // namespace

LibraryScene::LibraryScene(int kind, int32_t live_count) : live(live_count) {
    // Tall enough that a rising catapult's body stays in play.
    engine.set_visible_rect({{0.0f, 0.0f}, {1e9f, 1e9f}});
    loaded = engine.load(library_path());
    if (!loaded) return;
    node = engine.instantiate("Warfield");
    if (node == nullptr) return;
    engine.add_child(engine.root(), static_cast<stand_in::Node*>(node));
    script = demo::WarfieldScript(node);
    stand_in::Node2D* target = engine.make_node2d("Target", {1e7f, 1e7f});
    engine.add_child(engine.root(), target);
    for (int32_t i = 0; i < live; ++i) {
        const demo::ProjectileScene s = demo::make_projectile_scene(engine, engine.root(), {0.0f, 5e8f});
        for (const char* m : {"update_grid_pos", "check_shooter_height", "over_from_extension", "land_from_extension",
                              "enable_monitoring", "disable_monitoring", "hit_target_from_extension",
                              "target_died_from_extension", "find_track_target"}) {
            engine.set_script_method(s.root, m, [](stand_in::Object&) { return stand_in::Variant(); });
        }
        script.register_projectile(flight(kind, s.id(), static_cast<int64_t>(target->id)));
    }
}

void LibraryScene::frame() {
    if (node == nullptr) return;
    const double delta = 1.0 / 60.0;
    const GDExtensionConstTypePtr args[1] = {&delta};
    stand_in::call_virtual(node, "_physics_process", stand_in::virtual_hash::kDelta, args, nullptr);
}

void EngineCallMeter::start() {
    before_ = stand_in::counters();
    texts_ = stand_in::live_texts();
}

EngineCallCount EngineCallMeter::stop(uint64_t frames, int32_t live) const {
    const stand_in::Counters& after = stand_in::counters();
    const double pf = static_cast<double>(frames) * live;
    const auto per_pf = [&](uint64_t n) { return static_cast<double>(n) / pf; };
    const auto delta_of = [&](Fn f) { return after.of(f) - before_.of(f); };
    EngineCallCount c;
    c.per_pf[lookup] = per_pf(delta_of(Fn::object_get_instance_from_id));
    c.per_pf[cast] = per_pf(delta_of(Fn::object_cast_to));
    c.per_pf[instance] = per_pf(delta_of(Fn::object_get_instance_id));
    c.per_pf[script] = per_pf(delta_of(Fn::object_call_script_method));
    for (int op = kFirstBindOp; op < script; ++op) c.per_pf[static_cast<std::size_t>(op)] = per_pf(bind_delta(before_, after, bind_of(op)));
    // Engine.is_editor_hint, once a frame whatever the projectiles.
    const uint64_t fixed = frames;
    c.interface_per_pf = per_pf(after.interface_total() - before_.interface_total() - fixed);
    c.ptrcalls_per_pf = per_pf(delta_of(Fn::object_method_bind_ptrcall) - fixed);
    c.bind_calls_per_pf = per_pf(delta_of(Fn::object_method_bind_call));
    c.variant_destroys_per_pf = per_pf(delta_of(Fn::variant_destroy));
    for (std::size_t f = 0; f < stand_in::kFnCount; ++f) {
        const auto fn = static_cast<Fn>(f);
        if (fn == Fn::object_get_instance_from_id || fn == Fn::object_cast_to || fn == Fn::object_get_instance_id ||
            fn == Fn::object_call_script_method ||
            fn == Fn::object_method_bind_ptrcall || fn == Fn::object_method_bind_call || fn == Fn::variant_destroy) {
            continue;
        }
        c.other_per_pf += per_pf(after.interface[f] - before_.interface[f]);
    }
    c.names_made = after.string_names_made - before_.string_names_made;
    const stand_in::LiveTexts texts = stand_in::live_texts();
    c.texts_unchanged = texts.strings == texts_.strings && texts.names == texts_.names && texts.paths == texts_.paths;
    return c;
}

std::string budget_differences(int kind, const EngineCallCount& c) {
    const OpCounts want = prescribed(kind);
    std::string out = differences(want, c.per_pf);
    const auto check = [&out](const char* what, double want_n, double got_n) {
        if (std::abs(want_n - got_n) <= 1e-9) return;
        char line[160];
        std::snprintf(line, sizeof line, "%s: expected %.4f, made %.4f\n", what, want_n, got_n);
        out += line;
    };
    // One interface call per op; a script call also destroys its result.
    const double binds = total(want) - want[lookup] - want[cast] - want[instance] - want[script];
    check("object_method_bind_ptrcall", binds, c.ptrcalls_per_pf);
    check("object_method_bind_call", 0.0, c.bind_calls_per_pf);
    check("variant_destroy", want[script], c.variant_destroys_per_pf);
    check("other interface functions", 0.0, c.other_per_pf);
    check("StringNames made", 0.0, static_cast<double>(c.names_made));
    if (!c.texts_unchanged) out += "Strings, StringNames or NodePaths were left alive\n";
    return out;
}

}  // namespace warfield::bench
