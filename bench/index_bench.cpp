// The target index rebuild and the four target queries, in the core.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <memory>
#include <vector>

#include "alloc_counter.h"
#include "fake_host.h"
#include "scenes.h"
#include "simulation/physics_frame.h"
#include "query/target_queries.h"

namespace warfield::bench {
namespace {

using Clock = std::chrono::steady_clock;

void BM_IndexRebuild(benchmark::State& state) {
    const auto n = static_cast<int32_t>(state.range(0));
    Warfield w;
    register_targets(w, n, 5);
    TargetIndex index;
    index.rebuild(w.targets());  // grows the tables once
    const AllocationScope allocs;
    for (auto _ : state) {
        index.rebuild(w.targets());
        benchmark::ClobberMemory();
    }
    state.counters["allocs_per_rebuild"] =
        static_cast<double>(allocs.count()) / static_cast<double>(state.iterations());
    state.counters["ns_per_target"] = benchmark::Counter(static_cast<double>(state.iterations()) * n,
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_IndexRebuild)->Arg(1000)->Arg(10000)->Arg(100000);

// The rebuild as the frame runs it: one target changes row every frame, no
// projectiles, so the frame is the rebuild plus its bookkeeping.
void BM_FrameWithRebuild(benchmark::State& state) {
    const auto n = static_cast<int32_t>(state.range(0));
    test::FakeHost host{{.observed = false}};
    Warfield w;
    _ready(w, host);
    register_targets(w, n, 5);
    int32_t row = 0;
    _physics_process(w, host, kDelta);
    const AllocationScope allocs;
    for (auto _ : state) {
        w.set<&TargetState::grid_y>(0, row = (row + 1) % 5);
        _physics_process(w, host, kDelta);
    }
    state.counters["allocs_per_frame"] =
        static_cast<double>(allocs.count()) / static_cast<double>(state.iterations());
    state.counters["ns_per_target"] = benchmark::Counter(static_cast<double>(state.iterations()) * n,
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_FrameWithRebuild)->Arg(1000)->Arg(100000);

// A lane of 20 targets, spread evenly over a pool that holds the rest of
// the field's targets in the other four lanes.
std::unique_ptr<Warfield> pool_with_lane(int32_t pool) {
    auto w = std::make_unique<Warfield>();
    constexpr int32_t kLane = 20;
    const int32_t stride = pool / kLane;
    for (int32_t i = 0; i < pool; ++i) {
        const bool in_lane = i % stride == 0 && i / stride < kLane;
        const int32_t other_row = i % 4 < 2 ? i % 4 : i % 4 + 1;
        register_target_at(*w, static_cast<uint64_t>(i) + 1, 1, in_lane ? 2 : other_row, 0.0f, 0.0f);
    }
    test::FakeHost host{{.observed = false}};
    _physics_process(*w, host, kDelta);  // builds the index
    return w;
}

// query_targets_in_line for a lane of fixed population while the pool grows
// from 1k to 100k targets. The three pools are timed side by side, in
// alternation, and each query's fastest time is kept.
void BM_LineQueryFlat(benchmark::State& state) {
    constexpr std::array<int32_t, 3> kPools{1000, 10000, 100000};
    std::array<std::unique_ptr<Warfield>, 3> pools;
    for (std::size_t p = 0; p < kPools.size(); ++p) pools[p] = pool_with_lane(kPools[p]);
    InstanceIdList out;
    out.reserve(64);
    std::array<double, 3> best{1e300, 1e300, 1e300};
    std::array<double, 3> total{};
    constexpr int kBatch = 1000;
    for (auto _ : state) {
        for (std::size_t p = 0; p < kPools.size(); ++p) {
            const auto t0 = Clock::now();
            for (int q = 0; q < kBatch; ++q) {
                out.clear();
                query_targets_in_line(*pools[p], 0, 2, 1, false, 2, out);
                benchmark::DoNotOptimize(out.data());
            }
            const double t = std::chrono::duration<double>(Clock::now() - t0).count() / kBatch;
            best[p] = std::min(best[p], t);
            total[p] += t;
        }
    }
    if (out.size() != 20) state.SkipWithError("lane query found the wrong targets");
    const auto iters = static_cast<double>(state.iterations());
    state.counters["ns_1k"] = total[0] / iters * 1e9;
    state.counters["ns_10k"] = total[1] / iters * 1e9;
    state.counters["ns_100k"] = total[2] / iters * 1e9;
    state.counters["best_ns_1k"] = best[0] * 1e9;
    state.counters["best_ns_100k"] = best[2] * 1e9;
    state.counters["ratio_100k_1k"] = total[2] / total[0];
    state.counters["best_ratio_100k_1k"] = best[2] / best[0];
}
BENCHMARK(BM_LineQueryFlat);

// Whole-pool scans, per target scanned: about a tenth of the field matches.
void BM_RangeQuery(benchmark::State& state) {
    const auto n = static_cast<int32_t>(state.range(0));
    Warfield w;
    register_targets(w, n, 5);
    InstanceIdList out;
    out.reserve(static_cast<std::size_t>(n));
    for (auto _ : state) {
        out.clear();
        query_targets_in_range(w, 0, 1, 500.0f, 250.0f, 160.0f, 80.0f, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["found"] = static_cast<double>(out.size());
    state.counters["ns_per_target"] = benchmark::Counter(static_cast<double>(state.iterations()) * n,
                                                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RangeQuery)->Arg(1000)->Arg(10000)->Arg(100000);

// The camp walk through the index, per target listed.
void BM_CampQuery(benchmark::State& state) {
    const auto n = static_cast<int32_t>(state.range(0));
    test::FakeHost host{{.observed = false}};
    Warfield w;
    register_targets(w, n, 5);
    _physics_process(w, host, kDelta);
    InstanceIdList out;
    out.reserve(static_cast<std::size_t>(n));
    for (auto _ : state) {
        out.clear();
        query_targets_all(w, 1, 1, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["ns_per_listed"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(out.size()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_CampQuery)->Arg(1000)->Arg(100000);

// The metallic-armour scan: one script call per candidate.
void BM_MetallicQuery(benchmark::State& state) {
    const auto n = static_cast<int32_t>(state.range(0));
    test::FakeHost host{{.observed = false}};
    Warfield w;
    for (int32_t i = 0; i < n; ++i) {
        const uint64_t node = host.add_node();
        host.answer(node, ScriptMethod::has_metallic_armor, i % 3 == 0);
        register_target_at(w, node, 1, i % 5, 0.0f, 0.0f);
    }
    InstanceIdList out;
    out.reserve(static_cast<std::size_t>(n));
    for (auto _ : state) {
        out.clear();
        query_metallic_armor_targets(w, host, 0, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["ns_per_candidate"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * n, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MetallicQuery)->Arg(1000)->Arg(100000);

}  // namespace
}  // namespace warfield::bench
