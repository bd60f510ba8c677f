// The arithmetic the tracking step must do per frame by its rules (one
// atan2, one square root, two divisions, one angle wrap), alone: the floor
// under the tracking kind's own cost.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "simulation/angle_wrap.h"

namespace warfield::bench {
namespace {

void BM_TrackingMath(benchmark::State& state) {
    // Directions like those of the frame benchmark's tracking projectiles.
    std::vector<float> dx(1024);
    std::vector<float> dy(1024);
    for (std::size_t i = 0; i < dx.size(); ++i) {
        dx[i] = 1e7f - static_cast<float>(i);
        dy[i] = 1e7f - static_cast<float>(i) * 0.5f;
    }
    float rotation = 0.0f;
    for (auto _ : state) {
        for (std::size_t i = 0; i < dx.size(); ++i) {
            float x = dx[i];
            float y = dy[i];
            const float length = std::sqrt(x * x + y * y);
            x = x / length;
            y = y / length;
            const float diff = wrap_angle(std::atan2(y, x) - rotation);
            rotation = rotation + 0.0833f * diff;
            benchmark::DoNotOptimize(rotation);
        }
    }
    state.counters["ns_per_op"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(dx.size()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_TrackingMath);

void BM_Atan2(benchmark::State& state) {
    std::vector<float> dy(1024);
    for (std::size_t i = 0; i < dy.size(); ++i) dy[i] = 0.7f + static_cast<float>(i) * 1e-4f;
    for (auto _ : state) {
        for (const float y : dy) {
            float a = std::atan2(y, 0.7f);
            benchmark::DoNotOptimize(a);
        }
    }
    state.counters["ns_per_op"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * static_cast<double>(dy.size()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Atan2);

}  // namespace
}  // namespace warfield::bench
