#include "stand_in/value_types.h"

#include <cmath>
#include <limits>

namespace stand_in {

Transform2D Transform2D::affine_inverse() const {
    const float det = x.x * y.y - x.y * y.x;
    const float idet = det != 0.0f ? 1.0f / det : 0.0f;
    Transform2D inv;
    inv.x = {y.y * idet, -x.y * idet};
    inv.y = {-y.x * idet, x.x * idet};
    const Vector2 o = inv.basis_xform(origin);
    inv.origin = {-o.x, -o.y};
    return inv;
}

Transform2D Transform2D::from(Vector2 position, float rotation, Vector2 scale) {
    Transform2D t;
    if (rotation != 0.0f) {
        const float c = std::cos(rotation);
        const float s = std::sin(rotation);
        t.x = {c, s};
        t.y = {-s, c};
    }
    t.x = {t.x.x * scale.x, t.x.y * scale.x};
    t.y = {t.y.x * scale.y, t.y.y * scale.y};
    t.origin = position;
    return t;
}

// Near the limits both types are spaced far wider than 1, so the in-range
// values are exactly [-2^n, 2^n).
int64_t truncate_to_int64(double v) {
    constexpr double kLimit = 9223372036854775808.0;  // 2^63
    if (!(v >= -kLimit && v < kLimit)) {                // NaN fails too
        return std::numeric_limits<int64_t>::min();
    }
    return static_cast<int64_t>(v);
}

int32_t truncate_to_int32(float v) {
    constexpr float kLimit = 2147483648.0f;  // 2^31
    if (!(v >= -kLimit && v < kLimit)) {
        return std::numeric_limits<int32_t>::min();
    }
    return static_cast<int32_t>(v);
}

}  // namespace stand_in
