// The tracking body's angle wrap: the same bits as the two loops written out,
// and an end for every input.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "simulation/angle_wrap.h"

namespace warfield {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;

float written_loops(float diff) {
    while (static_cast<double>(diff) > kPi) diff = static_cast<float>(static_cast<double>(diff) - kTwoPi);
    while (static_cast<double>(diff) < -kPi) diff = static_cast<float>(static_cast<double>(diff) + kTwoPi);
    return diff;
}

void expect_same_bits(float x) {
    const float want = written_loops(x);
    const float got = wrap_angle(x);
    EXPECT_EQ(std::bit_cast<uint32_t>(got), std::bit_cast<uint32_t>(want))
        << "input " << x << " (bits " << std::bit_cast<uint32_t>(x) << "): got " << got << ", want " << want;
}

TEST(AngleWrap, OrdinaryValuesMatchTheLoops) {
    std::mt19937 rng(12345);
    std::uniform_real_distribution<float> angle(-50.0f, 50.0f);
    for (int i = 0; i < 20000; ++i) expect_same_bits(angle(rng));

    const float pi = static_cast<float>(kPi);
    for (float base : {pi, -pi, 3 * pi, -3 * pi, 2 * pi, -2 * pi, 0.0f, -0.0f}) {
        float x = base;
        for (int i = 0; i < 8; ++i) x = std::nextafter(x, -INFINITY);
        for (int i = 0; i < 16; ++i, x = std::nextafter(x, INFINITY)) expect_same_bits(x);
    }
    const float denorm = std::numeric_limits<float>::denorm_min();
    expect_same_bits(denorm);
    expect_same_bits(-denorm);
}

// Where the loops run long, the runs of equal steps are taken at once; the
// result must still be exact at every binade, on both sides.
TEST(AngleWrap, LargeValuesMatchTheLoopsBitForBit) {
    std::mt19937 rng(777);
    for (int e = 2; e <= 22; ++e) {
        const float lo = std::ldexp(1.0f, e);
        const float hi = std::ldexp(1.0f, e + 1);
        std::uniform_real_distribution<float> in_binade(lo, hi);
        std::vector<float> xs = {lo, std::nextafter(lo, INFINITY), std::nextafter(hi, 0.0f), lo * 1.5f};
        for (int i = 0; i < 6; ++i) xs.push_back(in_binade(rng));
        for (float x : xs) {
            expect_same_bits(x);
            expect_same_bits(-x);
        }
    }
    // A few where the written loops take millions of steps.
    for (float x : {12345678.0f, 16777216.0f, 25000001.0f, 67108860.0f, 100000000.0f}) {
        expect_same_bits(x);
        expect_same_bits(-x);
    }
}

TEST(AngleWrap, EveryInputEnds) {
    const float pi = static_cast<float>(kPi);
    for (float x : {1e30f, -1e30f, std::numeric_limits<float>::max(), -std::numeric_limits<float>::max(),
                    std::ldexp(1.0f, 28), -std::ldexp(1.0f, 28), 3.0e9f, 123456789012.0f}) {
        const float r = wrap_angle(x);
        EXPECT_GE(r, -pi) << x;
        EXPECT_LE(r, pi) << x;
        // The exact remainder: equal to it as a double, up to the final narrowing.
        EXPECT_NEAR(r, std::remainder(static_cast<double>(x), kTwoPi), 1e-6) << x;
    }
    EXPECT_TRUE(std::isnan(wrap_angle(std::numeric_limits<float>::quiet_NaN())));
    EXPECT_EQ(wrap_angle(INFINITY), INFINITY);
    EXPECT_EQ(wrap_angle(-INFINITY), -INFINITY);
}

}  // namespace
}  // namespace warfield
