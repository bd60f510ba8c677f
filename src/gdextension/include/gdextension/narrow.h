// How script values are narrowed to the declared parameter types, shared by
// the typed and the dynamic call paths.
#pragma once

#include <cfloat>
#include <cstdint>
#include <limits>

namespace warfield::gde {

// The low 32 bits, read as signed (modular since C++20).
constexpr int32_t low_int32(int64_t v) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }

// A script int carries an instance id's 64 bits unchanged.
constexpr uint64_t as_uint64(int64_t v) { return static_cast<uint64_t>(v); }
constexpr int64_t as_int64(uint64_t v) { return static_cast<int64_t>(v); }

// Nearest float, as IEEE round-to-nearest gives it, without relying on an
// out-of-range double-to-float conversion (undefined in C++): values past
// FLT_MAX by half an ulp or more become infinite, the rest FLT_MAX.
inline float narrow_to_float(double d) {
    constexpr double kMax = static_cast<double>(FLT_MAX);
    constexpr double kOverflow = 0x1.ffffffp127;  // FLT_MAX + half an ulp
    constexpr float kInf = std::numeric_limits<float>::infinity();
    if (d >= kOverflow) {
        return kInf;
    }
    if (d <= -kOverflow) {
        return -kInf;
    }
    if (d > kMax) {
        return FLT_MAX;
    }
    if (d < -kMax) {
        return -FLT_MAX;
    }
    return static_cast<float>(d);  // in range, or NaN
}

}  // namespace warfield::gde
