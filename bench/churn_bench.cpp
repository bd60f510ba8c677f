// Register/unregister churn on a steady population: the pools must reuse
// their slots and memory.
#include <benchmark/benchmark.h>

#include <vector>

#include "alloc_counter.h"
#include "fake_host.h"
#include "scenes.h"
#include "simulation/physics_frame.h"

namespace warfield::bench {
namespace {

constexpr int32_t kPopulation = 1000;
constexpr int kCountedPairs = 1000000;

// Each iteration releases the oldest live projectile and registers a new
// one, as a battle does when one shot ends and another is fired.
void BM_ProjectileChurn(benchmark::State& state) {
    test::FakeHost host{{.observed = false}};
    Warfield w;
    std::vector<int32_t> live;
    for (int32_t i = 0; i < kPopulation; ++i) live.push_back(register_flying(w, host, Kind::straight, 0));
    const uint64_t node = 1;  // scenes are not rebuilt: only the record churns
    const int32_t slots_before = w.projectiles().size();
    std::size_t oldest = 0;
    const auto pair = [&] {
        w.unregister_projectile(live[oldest]);
        live[oldest] = w.register_projectile({node, 0, {1.0f, 0.0f}, 0.0f, 1, 0, 0, false, 0.0f, 0, false, 0.0f, 0.0f,
                                             {}, 0.0f, 0.0f, 1, 0.0f, 0.0f, 0.0f, 0.0f, 0, 0.0f, {}, {}, false, 0.0f,
                                             false});
        oldest = (oldest + 1) % live.size();
    };
    // Counted apart from the timing loop, which allocates for itself.
    pair();  // the free list's first release grows it once
    const AllocationScope allocs;
    for (int i = 0; i < kCountedPairs; ++i) pair();
    state.counters["allocs_per_1M_pairs"] = static_cast<double>(allocs.count()) * 1e6 / kCountedPairs;
    for (auto _ : state) pair();
    state.counters["slot_growth"] = w.projectiles().size() - slots_before;
    state.counters["ns_per_pair"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ProjectileChurn);

// The same for targets. The counted run has a frame (and so an index
// rebuild) every 100 pairs, as targets die and spawn in a running game; the
// timed run is the pairs alone.
void BM_TargetChurn(benchmark::State& state) {
    test::FakeHost host{{.observed = false}};
    Warfield w;
    _ready(w, host);
    register_targets(w, kPopulation, 5);
    _physics_process(w, host, kDelta);
    const int32_t slots_before = w.targets().size();
    int32_t next = 0;
    uint64_t pairs = 0;
    bool with_frames = true;
    const auto pair = [&] {
        w.unregister_target(next);
        const int32_t id = register_target_at(w, 7, next % 2, next % 5, 1.0f, 1.0f);
        benchmark::DoNotOptimize(id);
        next = (next + 1) % kPopulation;
        if (with_frames && ++pairs % 100 == 0) _physics_process(w, host, kDelta);
    };
    pair();  // the free list's first release grows it once
    const AllocationScope allocs;
    for (int i = 0; i < kCountedPairs; ++i) pair();
    state.counters["allocs_per_1M_pairs"] = static_cast<double>(allocs.count()) * 1e6 / kCountedPairs;
    with_frames = false;
    for (auto _ : state) pair();
    state.counters["slot_growth"] = w.targets().size() - slots_before;
    state.counters["ns_per_pair"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TargetChurn);

}  // namespace
}  // namespace warfield::bench
