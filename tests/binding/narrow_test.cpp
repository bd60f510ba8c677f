// Narrowing of script values to the declared types and widening of results.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "binding/arg_types.h"
#include "gdextension/narrow.h"

namespace warfield::gde {
namespace {

TEST(Narrow, Int32KeepsTheLowBitsAsSigned) {
    EXPECT_EQ(low_int32(4294967301LL), 5);  // 2^32 + 5
    EXPECT_EQ(low_int32(2147483648LL), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(low_int32(-1), -1);
    EXPECT_EQ(low_int32(std::numeric_limits<int64_t>::min()), 0);
    EXPECT_EQ(low_int32(0x7fffffff), 0x7fffffff);
}

TEST(Narrow, SlotsDecodeByDeclaredType) {
    const int64_t big = static_cast<int64_t>(0x8000000000000001ULL);  // 2^63 + 1, negative as a script int
    EXPECT_EQ(ArgType<uint64_t>::decode(&big), 0x8000000000000001ULL);
    EXPECT_EQ(ArgType<int32_t>::decode(&big), 1);
    const double tenth = 0.1;
    EXPECT_EQ(ArgType<float>::decode(&tenth), 0.1f);
    const uint8_t two = 2;  // any non-zero byte is true
    EXPECT_TRUE(ArgType<bool>::decode(&two));
}

TEST(Narrow, FloatMatchesIeeeRoundingWithoutOverflowUb) {
    EXPECT_EQ(narrow_to_float(0.1), 0.100000001490116119384765625f);
    EXPECT_EQ(narrow_to_float(static_cast<double>(FLT_MAX)), FLT_MAX);
    // Just below the midpoint to infinity rounds down, the midpoint itself up.
    EXPECT_EQ(narrow_to_float(std::nextafter(0x1.ffffffp127, 0.0)), FLT_MAX);
    EXPECT_TRUE(std::isinf(narrow_to_float(0x1.ffffffp127)));
    EXPECT_EQ(narrow_to_float(-1e300), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(narrow_to_float(std::numeric_limits<double>::infinity()), std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(narrow_to_float(std::numeric_limits<double>::quiet_NaN())));
    EXPECT_EQ(narrow_to_float(1e-300), 0.0f);
    EXPECT_TRUE(std::signbit(narrow_to_float(-0.0)));

    // In range it is exactly the hardware conversion.
    std::mt19937_64 rng(7);
    for (int i = 0; i < 100000; ++i) {
        uint64_t bits = rng();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        if (!std::isfinite(d) || std::fabs(d) > FLT_MAX) continue;
        ASSERT_EQ(narrow_to_float(d), static_cast<float>(d)) << d;
    }
}

TEST(Narrow, Int32ResultIsSignExtended) {
    int64_t slot = 0;
    ResultType<int32_t>::to_slot(-1, &slot);
    EXPECT_EQ(slot, -1);
    ResultType<int32_t>::to_slot(std::numeric_limits<int32_t>::min(), &slot);
    EXPECT_EQ(slot, static_cast<int64_t>(std::numeric_limits<int32_t>::min()));
}

}  // namespace
}  // namespace warfield::gde
