// Brings a turn angle into [-pi, pi] the way the tracking body expects:
// steps of 2*pi taken in double precision, the value narrowed to a float
// after each step.
#pragma once

namespace warfield {

// Pi, as the double nearest it. A double, not a float: the wrap compares and
// steps in double precision, and the float nearest pi lies above pi, so a
// float constant would leave an angle of exactly that float unwrapped (and
// steps of a float 2*pi would round differently).
inline constexpr double kPi = 3.141592653589793;

// Bit for bit the result of
//   while (diff > pi)  diff = float(diff - 2pi);
//   while (diff < -pi) diff = float(diff + 2pi);
// for every finite input on which those loops end, in time that does not
// grow with the input. NaN and infinities are returned as given; a value too
// large for a step of 2*pi to change it is reduced by remainder first.
float wrap_angle_reduce(float diff);

// Inline for the common case of an angle already in range, so a homing body
// that has turned to its target pays no call.
inline float wrap_angle(float diff) {
    const double d = static_cast<double>(diff);
    if (d <= kPi && d >= -kPi) return diff;
    return wrap_angle_reduce(diff);
}

}  // namespace warfield
