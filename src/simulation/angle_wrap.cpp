#include "simulation/angle_wrap.h"

#include <cmath>

namespace warfield {
namespace {

constexpr double kTwoPi = 2.0 * kPi;  // exact: doubling only raises the exponent

// while (x > pi) x = float(x - 2pi), for finite x.
//
// Within one binade of floats, once x - 2pi stays inside the binade, every
// step removes the same number of units in the last place (2pi / ulp,
// rounded; never a tie, since 2pi's binary digits hold no long run). Runs of
// such steps are therefore taken at once, stopping two steps short of the
// binade's floor so that rounding in the count cannot matter; the steps near
// the floor are taken one by one. The loop thus runs a few times per binade
// instead of x / 2pi times.
float reduce_from_above(float x) {
    while (static_cast<double>(x) > kPi) {
        const double xd = static_cast<double>(x);
        const float next = static_cast<float>(xd - kTwoPi);
        if (next == x) {
            // The written loop would never end here: the step is below half
            // an ulp. Take the exact remainder, then finish as written.
            x = static_cast<float>(std::remainder(xd, kTwoPi));
            continue;
        }
        const double step = xd - static_cast<double>(next);
        const double binade_floor = std::ldexp(1.0, std::ilogb(x));
        const double runs = std::floor((xd - kTwoPi - binade_floor) / step) - 1.0;
        if (runs >= 1.0) {
            // Exact: x and the steps are multiples of the binade's ulp.
            x = static_cast<float>(xd - runs * step);
        } else {
            x = next;
        }
    }
    return x;
}

}  // namespace

float wrap_angle_reduce(float diff) {
    if (!std::isfinite(diff)) return diff;
    diff = reduce_from_above(diff);
    // Rounding is symmetric, so the upward loop is the downward one mirrored.
    if (static_cast<double>(diff) < -kPi) diff = -reduce_from_above(-diff);
    return diff;
}

}  // namespace warfield
