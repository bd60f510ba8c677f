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

#include "library_scene.h"
#include "stand_in/array.h"
#include "stand_in/counters.h"
#include "stand_in/engine.h"
#include "stand_in/strings.h"

namespace warfield::bench {
namespace {

using stand_in::Fn;
using Clock = std::chrono::steady_clock;

constexpr int32_t kLive = 1000;
constexpr int kPeriod = 30;
constexpr double kDelta = 1.0 / 60.0;
constexpr std::array<const char*, 5> kKindNames{"straight", "lob", "arc", "tracking", "catapult"};

// Engine calls per projectile-frame, which must be exactly what the rules
// prescribe (call_budget.cpp), and the time a frame takes in the stand-in
// engine, whose calls cost what a real engine's might.
void BM_EngineCallsPerProjectileFrame(benchmark::State& state) {
    const int kind = static_cast<int>(state.range(0));
    LibraryScene scene(kind, kLive);
    if (scene.node == nullptr) {
        state.SkipWithError("the extension library did not load");
        return;
    }
    scene.frame();
    scene.frame();
    EngineCallMeter meter;
    meter.start();
    double seconds = 0.0;
    uint64_t frames = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        for (int f = 0; f < kPeriod; ++f) scene.frame();
        seconds += std::chrono::duration<double>(Clock::now() - t0).count();
        frames += kPeriod;
    }
    const EngineCallCount c = meter.stop(frames, kLive);
    if (const std::string diff = budget_differences(kind, c); !diff.empty()) {
        std::fprintf(stderr, "%s: engine calls differ from the rules\n%s", kKindNames[static_cast<std::size_t>(kind)],
                     diff.c_str());
        state.SkipWithError("engine calls differ from the rules");
        return;
    }
    state.counters["engine_ops_per_pf"] = total(c.per_pf);
    state.counters["prescribed_per_pf"] = total(prescribed(kind));
    state.counters["interface_calls_per_pf"] = c.interface_per_pf;
    state.counters["script_calls_per_pf"] = c.per_pf[script];
    state.counters["names_made"] = static_cast<double>(c.names_made);
    state.counters["ns_per_pf"] = seconds / (static_cast<double>(frames) * kLive) * 1e9;
    state.SetLabel(kKindNames[static_cast<std::size_t>(kind)]);
}
BENCHMARK(BM_EngineCallsPerProjectileFrame)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

// A query's result handed to a script: the typed Array is sized once and
// written by index, one array_operator_index per element. The only Array
// method the library fetches from the engine is resize, so it has no
// push_back to call.
void BM_QueryResultArray(benchmark::State& state) {
    const auto matches = static_cast<int32_t>(state.range(0));
    const bool typed = state.range(1) != 0;
    stand_in::Engine engine;  // starts the counters afresh
    if (!engine.load(library_path())) {
        state.SkipWithError("the extension library did not load");
        return;
    }
    const uint64_t builtins_fetched = stand_in::counters().of(Fn::variant_get_ptr_builtin_method);
    stand_in::Object* node = engine.instantiate("Warfield");
    engine.add_child(engine.root(), static_cast<stand_in::Node*>(node));
    demo::WarfieldScript script(node);
    for (int32_t i = 0; i < matches; ++i) {
        demo::TargetSpec t;
        t.node_instance_id = 1000 + i;
        t.camp = 1;
        t.grid_y = i % 5;
        script.register_target(t);
    }
    engine.physics_frame(kDelta);  // builds the index

    const int64_t camp = 1;
    const int64_t flags = 1;
    const stand_in::Variant v_camp(camp);
    const stand_in::Variant v_flags(flags);
    const stand_in::Variant* vargs[2] = {&v_camp, &v_flags};
    const GDExtensionConstTypePtr pargs[2] = {&camp, &flags};
    int64_t size = -1;
    const stand_in::Counters before = stand_in::counters();
    for (auto _ : state) {
        if (typed) {
            alignas(8) unsigned char slot[8];
            stand_in::array_new(slot);
            stand_in::ptrcall_method(node, "query_targets_all", pargs, slot);
            size = stand_in::array_size(slot);
            stand_in::array_destroy(slot);
        } else {
            const stand_in::CallResult r = stand_in::call_method(node, "query_targets_all", vargs, 2);
            size = stand_in::array_size(stand_in::var_payload(r.value.raw()));
        }
    }
    const stand_in::Counters& after = stand_in::counters();
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
