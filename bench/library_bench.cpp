// The real extension library in the stand-in engine: the engine calls a
// projectile-frame costs, per kind, against the count the movement rules
// prescribe, and the cost of handing a query's result to a script.
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "demo/warfield_script.h"
#include "host/array.h"
#include "host/counters.h"
#include "host/engine.h"
#include "host/strings.h"

#ifndef WARFIELD_LIBRARY_PATH
#define WARFIELD_LIBRARY_PATH ""
#endif

namespace warfield::bench {
namespace {

using whost::Fn;
using Clock = std::chrono::steady_clock;

constexpr int32_t kLive = 1000;
constexpr int kPeriod = 30;
constexpr double kDelta = 1.0 / 60.0;

std::string library_path() {
    if (const char* env = std::getenv("WARFIELD_LIBRARY"); env != nullptr && *env != '\0') return env;
    return WARFIELD_LIBRARY_PATH;
}

// The engine operations of one projectile's step.
enum Op : int {
    lookup,       // object_get_instance_from_id
    cast,         // object_cast_to (to Node2D)
    inside,       // Node.is_inside_tree
    child,        // Node.get_node_or_null
    get_global,   // Node2D.get_global_position
    set_global,   // Node2D.set_global_position
    get_local,    // Node2D.get_position
    set_local,    // Node2D.set_position
    get_turn,     // Node2D.get_rotation
    set_turn,     // Node2D.set_rotation
    set_scale,    // Node2D.set_scale
    script,       // Object.call
    kOps
};
using OpCounts = std::array<double, kOps>;

struct BindName {
    const char* cls;
    const char* name;
};
constexpr std::array<BindName, kOps> kBinds{{{"", ""},
                                             {"", ""},
                                             {"Node", "is_inside_tree"},
                                             {"Node", "get_node_or_null"},
                                             {"Node2D", "get_global_position"},
                                             {"Node2D", "set_global_position"},
                                             {"Node2D", "get_position"},
                                             {"Node2D", "set_position"},
                                             {"Node2D", "get_rotation"},
                                             {"Node2D", "set_rotation"},
                                             {"Node2D", "set_scale"},
                                             {"Object", "call"}}};

// What the rules prescribe for one projectile in the configuration below,
// averaged over a period of 30 frames, with `script_calls` script calls a
// frame. Every script call is followed by finding the root again (lookup,
// cast, is_inside_tree): a script may free the node, and the step must then
// not touch it.
OpCounts prescribed(int kind) {
    OpCounts c{};
    double calls = 0.0;
    switch (kind) {
        case 0:  // straight, turned along its velocity, with a range
            // root; body for the turn; body for the off-screen test
            c[cast] = c[inside] = 3;
            c[child] = 2;
            c[get_global] = 4;  // advance, body position, range test, write-back
            c[set_global] = 2;  // advance, write-back
            c[set_turn] = 1;
            calls = 1.0 + 1.0 / 5.0;  // check_shooter_height; update_grid_pos every 5th frame
            break;
        case 1:  // lob, gliding, with a spinning sprite
            c[cast] = c[inside] = 4;  // root, sprite, body, shadow
            c[child] = 3;
            c[get_turn] = c[set_turn] = 1;
            c[get_global] = c[set_global] = 2;
            c[get_local] = c[set_local] = 1;
            c[set_scale] = 1;
            break;
        case 2:  // arc, gliding above its hit window, turned along its path
            c[cast] = c[inside] = 2;  // root, body
            c[child] = 1;
            c[get_global] = c[set_global] = 2;
            c[get_local] = c[set_local] = 1;
            c[set_turn] = 1;
            calls = 1.0;  // disable_monitoring
            break;
        case 3:  // tracking, homing on a far target
            c[lookup] = 1;            // the target
            c[cast] = c[inside] = 3;  // root, target, body
            c[child] = 1;
            c[get_global] = 4;  // target, root, advance, write-back
            c[set_global] = 2;
            c[get_turn] = c[set_turn] = 1;
            calls = 1.0 / 30.0;  // update_grid_pos every 30th frame
            break;
        case 4:  // catapult, rising, turned along its path
            c[cast] = c[inside] = 5;  // root, body, shadow, hit box, body again
            c[child] = 4;
            c[get_global] = 3;  // advance, body for the play area, write-back
            c[set_global] = 2;
            c[get_local] = c[set_local] = 2;
            c[set_scale] = 1;
            c[set_turn] = 1;
            break;
        default: break;
    }
    c[lookup] += 1.0 + calls;  // the root, then again after each script call
    c[cast] += calls;
    c[inside] += calls;
    c[script] = calls;
    return c;
}

demo::ProjectileSpec flight(int kind, int64_t node, int64_t target) {
    demo::ProjectileSpec p;
    p.node = node;
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
            p.target = target;
            break;
        case 4:
            p.y_speed = -1e7;
            p.rotate_follow_velocity = true;
            break;
        default: break;
    }
    return p;
}

// A Warfield node with kLive flying projectiles of one kind, every script
// method of theirs defined and doing nothing.
struct LibraryScene {
    explicit LibraryScene(int kind) {
        // Tall enough that a rising catapult's body stays in play.
        engine.set_visible_rect({{0.0f, 0.0f}, {1e9f, 1e9f}});
        loaded = engine.load(library_path());
        if (!loaded) return;
        node = engine.instantiate("Warfield");
        engine.add_child(engine.root(), static_cast<whost::Node*>(node));
        script = demo::WarfieldScript(node);
        whost::Node2D* target = engine.make_node2d("Target", {1e7f, 1e7f});
        engine.add_child(engine.root(), target);
        for (int32_t i = 0; i < kLive; ++i) {
            const demo::ProjectileScene s = demo::make_projectile_scene(engine, engine.root(), {0.0f, 5e8f});
            for (const char* m : {"update_grid_pos", "check_shooter_height", "over_from_extension",
                                  "land_from_extension", "enable_monitoring", "disable_monitoring",
                                  "hit_target_from_extension", "target_died_from_extension", "find_track_target"}) {
                engine.set_script_method(s.root, m, [](whost::Object&) { return whost::Variant(); });
            }
            script.register_projectile(flight(kind, s.id(), static_cast<int64_t>(target->id)));
        }
    }

    // The engine's call of the node's _physics_process, without the walk of
    // the scene tree that decides whom to call.
    void frame() {
        const double delta = kDelta;
        const GDExtensionConstTypePtr args[1] = {&delta};
        whost::call_virtual(node, "_physics_process", whost::virtual_hash::kDelta, args, nullptr);
    }

    whost::Engine engine;
    bool loaded = false;
    whost::Object* node = nullptr;
    demo::WarfieldScript script{nullptr};
};

// Calls through every engine bind of that class and name (compatibility
// hashes included) between two counter snapshots.
uint64_t bind_delta(const whost::Counters& before, const whost::Counters& after, const BindName& b) {
    uint64_t n = 0;
    for (const whost::EngineBind& e : whost::engine_binds()) {
        if (std::string_view(e.cls) == b.cls && std::string_view(e.name) == b.name) {
            n += after.binds[e.index] - before.binds[e.index];
        }
    }
    return n;
}

void BM_EngineCallsPerProjectileFrame(benchmark::State& state) {
    const int kind = static_cast<int>(state.range(0));
    LibraryScene scene(kind);
    if (!scene.loaded || scene.node == nullptr) {
        state.SkipWithError("the extension library did not load");
        return;
    }
    scene.frame();
    scene.frame();
    const whost::Counters before = whost::counters();
    const whost::LiveTexts texts_before = whost::live_texts();
    double seconds = 0.0;
    uint64_t frames = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        for (int f = 0; f < kPeriod; ++f) scene.frame();
        seconds += std::chrono::duration<double>(Clock::now() - t0).count();
        frames += kPeriod;
    }
    const whost::Counters& after = whost::counters();
    const double pf = static_cast<double>(frames) * kLive;
    const auto per_pf = [&](uint64_t n) { return static_cast<double>(n) / pf; };
    const auto delta_of = [&](Fn f) { return after.of(f) - before.of(f); };

    // Per frame, whatever the projectiles: Engine.is_editor_hint.
    const double fixed_ptrcalls = static_cast<double>(frames);
    const OpCounts want = prescribed(kind);
    OpCounts got{};
    got[lookup] = per_pf(delta_of(Fn::object_get_instance_from_id));
    got[cast] = per_pf(delta_of(Fn::object_cast_to));
    for (int op = inside; op < kOps; ++op) {
        const auto i = static_cast<std::size_t>(op);
        got[i] = per_pf(bind_delta(before, after, kBinds[i]));
    }

    bool exact = true;
    double want_total = 0.0;
    double got_total = 0.0;
    for (int op = 0; op < kOps; ++op) {
        const auto i = static_cast<std::size_t>(op);
        want_total += want[i];
        got_total += got[i];
        if (std::abs(got[i] - want[i]) > 1e-9) exact = false;
    }
    // The interface functions behind them: one each, and Object.call also
    // destroys its result Variant. Nothing else may be asked of the engine.
    const double ptrcalls = per_pf(delta_of(Fn::object_method_bind_ptrcall)) - fixed_ptrcalls / pf;
    double other = 0.0;
    for (std::size_t f = 0; f < whost::kFnCount; ++f) {
        const auto fn = static_cast<Fn>(f);
        if (fn == Fn::object_get_instance_from_id || fn == Fn::object_cast_to ||
            fn == Fn::object_method_bind_ptrcall || fn == Fn::object_method_bind_call || fn == Fn::variant_destroy) {
            continue;
        }
        other += per_pf(after.interface[f] - before.interface[f]);
    }
    const double want_ptrcalls = want_total - want[lookup] - want[cast] - want[script];
    if (std::abs(ptrcalls - want_ptrcalls) > 1e-9 || other != 0.0 ||
        std::abs(per_pf(delta_of(Fn::object_method_bind_call)) - want[script]) > 1e-9 ||
        std::abs(per_pf(delta_of(Fn::variant_destroy)) - want[script]) > 1e-9) {
        exact = false;
    }
    const uint64_t names = after.string_names_made - before.string_names_made;
    const whost::LiveTexts texts_after = whost::live_texts();
    const bool no_texts = names == 0 && texts_after.names == texts_before.names &&
                          texts_after.paths == texts_before.paths && texts_after.strings == texts_before.strings;

    if (!exact || !no_texts) {
        std::fprintf(stderr, "kind %d: engine calls per projectile-frame differ from the rules\n", kind);
        for (int op = 0; op < kOps; ++op) {
            std::fprintf(stderr, "  op %2d: want %.4f got %.4f\n", op, want[static_cast<std::size_t>(op)],
                         got[static_cast<std::size_t>(op)]);
        }
        std::fprintf(stderr, "  ptrcalls %.4f (want %.4f), other interface calls %.4f, names made %llu\n", ptrcalls,
                     want_ptrcalls, other, static_cast<unsigned long long>(names));
        state.SkipWithError("engine calls differ from the rules");
        return;
    }
    state.counters["engine_ops_per_pf"] = got_total;
    state.counters["prescribed_per_pf"] = want_total;
    state.counters["interface_calls_per_pf"] =
        per_pf(after.interface_total() - before.interface_total()) - fixed_ptrcalls / pf;
    state.counters["script_calls_per_pf"] = got[script];
    state.counters["names_made"] = static_cast<double>(names);
    state.counters["ns_per_pf"] = seconds / pf * 1e9;
    state.SetLabel(std::array<const char*, 5>{"straight", "lob", "arc", "tracking", "catapult"}[static_cast<std::size_t>(kind)]);
}
BENCHMARK(BM_EngineCallsPerProjectileFrame)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

// A query's result handed to a script: the typed Array is sized once and
// written by index, one array_operator_index per element. The only Array
// method the library fetches from the engine is resize, so it has no
// push_back to call.
void BM_QueryResultArray(benchmark::State& state) {
    const auto matches = static_cast<int32_t>(state.range(0));
    const bool typed = state.range(1) != 0;
    whost::Engine engine;  // starts the counters afresh
    if (!engine.load(library_path())) {
        state.SkipWithError("the extension library did not load");
        return;
    }
    const uint64_t builtins_fetched = whost::counters().of(Fn::variant_get_ptr_builtin_method);
    whost::Object* node = engine.instantiate("Warfield");
    engine.add_child(engine.root(), static_cast<whost::Node*>(node));
    demo::WarfieldScript script(node);
    for (int32_t i = 0; i < matches; ++i) {
        demo::TargetSpec t;
        t.node = 1000 + i;
        t.camp = 1;
        t.grid_y = i % 5;
        script.register_target(t);
    }
    engine.physics_frame(kDelta);  // builds the index

    const int64_t camp = 1;
    const int64_t flags = 1;
    const whost::Variant v_camp(camp);
    const whost::Variant v_flags(flags);
    const whost::Variant* vargs[2] = {&v_camp, &v_flags};
    const GDExtensionConstTypePtr pargs[2] = {&camp, &flags};
    int64_t size = -1;
    const whost::Counters before = whost::counters();
    for (auto _ : state) {
        if (typed) {
            alignas(8) unsigned char slot[8];
            whost::array_new(slot);
            whost::ptrcall_method(node, "query_targets_all", pargs, slot);
            size = whost::array_size(slot);
            whost::array_destroy(slot);
        } else {
            const whost::CallResult r = whost::call_method(node, "query_targets_all", vargs, 2);
            size = whost::array_size(whost::var_payload(r.value.raw()));
        }
    }
    const whost::Counters& after = whost::counters();
    const auto per_query = [&](Fn f) {
        return static_cast<double>(after.of(f) - before.of(f)) / static_cast<double>(state.iterations());
    };
    if (size != matches) state.SkipWithError("the query found the wrong number of targets");
    state.counters["index_writes_per_query"] = per_query(Fn::array_operator_index);
    state.counters["set_typed_per_query"] = per_query(Fn::array_set_typed);
    state.counters["builtin_methods_fetched"] = static_cast<double>(builtins_fetched);
    state.counters["ns_per_element"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * (matches > 0 ? matches : 1),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.SetLabel(typed ? "typed" : "dynamic");
}
BENCHMARK(BM_QueryResultArray)->ArgsProduct({{0, 10, 100, 1000}, {1, 0}});

}  // namespace
}  // namespace warfield::bench
