// Our cost per projectile-frame for each kind, against a host whose calls
// cost almost nothing, and the ratio of a frame to the bare replay of the
// host calls it made.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <numeric>
#include <string>
#include <vector>

#include "alloc_counter.h"
#include "call_budget.h"
#include "call_recorder.h"
#include "scenes.h"
#include "simulation/physics_frame.h"

namespace warfield::bench {
namespace {

using Clock = std::chrono::steady_clock;

// The straight kind refreshes every 5th frame and tracking every 30th, so
// frames are measured in whole periods of 30.
constexpr int kPeriod = 30;

double seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

// Reads a recording through once, untimed.
uint64_t warm(const std::vector<RecordedCall>& calls) {
    uint64_t sum = 0;
    for (const RecordedCall& c : calls) sum += static_cast<uint64_t>(c.op);
    return sum;
}

// Recordings of a whole period cost 24 bytes a call; beyond this many live
// projectiles only the frames are timed.
constexpr int32_t kMaxRecorded = 10000;

void BM_Frame(benchmark::State& state) {
    const auto kind = static_cast<Kind>(state.range(0));
    const auto live = static_cast<int32_t>(state.range(1));
    const bool half_released = state.range(2) != 0;
    FrameScene scene(kind, live, half_released);
    Warfield& w = scene.warfield;
    // Two frames to let every table reach its size.
    _physics_process(w, scene.host, kDelta);
    _physics_process(w, scene.host, kDelta);

    // One recording per frame of a period. Frame k of every later period
    // makes the same calls as recording k, with other values.
    const bool record = live <= kMaxRecorded;
    std::vector<std::vector<RecordedCall>> recordings(record ? kPeriod : 0);
    uint64_t recorded_calls = 0;
    for (std::vector<RecordedCall>& calls : recordings) {
        calls.reserve(static_cast<std::size_t>(live) * 32);
        record_calls(scene.host, calls, [&] { _physics_process(w, scene.host, kDelta); });
        recorded_calls += calls.size();
    }

    double frame_time = 0.0;
    double replay_time = 0.0;
    // Fastest time of each frame of the period and of its replay: other
    // processes on this machine only ever add time.
    std::vector<double> best_frame(kPeriod, 1e300);
    std::vector<double> best_replay(kPeriod, 1e300);
    uint64_t frames = 0;
    uint64_t allocations_in_frames = 0;
    uint64_t sink = 0;
    for (auto _ : state) {
        // Each frame of a period, then the replay of its recording, side by
        // side so that both see the same machine.
        double t_iteration = 0.0;
        for (int f = 0; f < kPeriod; ++f) {
            const AllocationScope allocs;
            const auto t0 = Clock::now();
            _physics_process(w, scene.host, kDelta);
            const auto t1 = Clock::now();
            allocations_in_frames += allocs.count();
            const double t_frame = seconds(t1 - t0);
            t_iteration += t_frame;
            best_frame[static_cast<std::size_t>(f)] = std::min(best_frame[static_cast<std::size_t>(f)], t_frame);
            if (record) {
                // The frame found its records in cache; so should the replay.
                const std::vector<RecordedCall>& calls = recordings[static_cast<std::size_t>(f)];
                sink += warm(calls);
                const auto t2 = Clock::now();
                sink += replay(scene.host, calls);
                const double t_replay = seconds(Clock::now() - t2);
                replay_time += t_replay;
                best_replay[static_cast<std::size_t>(f)] =
                    std::min(best_replay[static_cast<std::size_t>(f)], t_replay);
            }
        }
        frame_time += t_iteration;
        frames += kPeriod;
        state.SetIterationTime(t_iteration);
    }
    benchmark::DoNotOptimize(sink);

    if (w.get_active_projectile_count() != live) state.SkipWithError("projectiles ended during the run");
    if (record && kind != Kind::mixed) {
        std::vector<uint64_t> by_op(static_cast<std::size_t>(Op::count), 0);
        for (const std::vector<RecordedCall>& calls : recordings) {
            const std::vector<uint64_t> n = count_by_op(calls);
            for (std::size_t i = 0; i < n.size(); ++i) by_op[i] += n[i];
        }
        const OpCounts made = from_recording(by_op, double{kPeriod} * live, nullptr);
        if (!differences(prescribed(static_cast<int>(kind)), made).empty()) {
            state.SkipWithError("host calls differ from the rules");
        }
    }
    const double pf = static_cast<double>(frames) * live;
    state.counters["ns_per_pf"] = frame_time / pf * 1e9;
    state.counters["best_ns_per_pf"] =
        std::accumulate(best_frame.begin(), best_frame.end(), 0.0) / (double{kPeriod} * live) * 1e9;
    if (record) {
        state.counters["replay_ns_per_pf"] = replay_time / pf * 1e9;
        state.counters["own_ns_per_pf"] = (frame_time - replay_time) / pf * 1e9;
        state.counters["ratio"] = frame_time / replay_time;
        state.counters["best_ratio"] = std::accumulate(best_frame.begin(), best_frame.end(), 0.0) /
                                       std::accumulate(best_replay.begin(), best_replay.end(), 0.0);
        state.counters["calls_per_pf"] = static_cast<double>(recorded_calls) / (double{kPeriod} * live);
    }
    state.counters["allocs_per_frame"] = static_cast<double>(allocations_in_frames) / static_cast<double>(frames);
    state.SetLabel(std::string(kind_name(kind)) + (half_released ? "/half_released" : ""));
}

BENCHMARK(BM_Frame)
    ->ArgNames({"kind", "live", "half"})
    ->ArgsProduct({{0, 1, 2, 3, 4, 5}, {1000, 10000, 100000}, {0, 1}})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace warfield::bench
