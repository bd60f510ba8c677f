// The engine's single-precision math values, as the host stores them. Layouts
// are the engine's: a ptrcall slot or a Variant payload holds these bytes.
#pragma once

#include <cstdint>

namespace stand_in {

struct Vector2 {
    float x = 0.0f;
    float y = 0.0f;
    friend bool operator==(const Vector2&, const Vector2&) = default;
};

struct Vector2i {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Vector2i&, const Vector2i&) = default;
};

struct Rect2 {
    Vector2 position;
    Vector2 size;
    friend bool operator==(const Rect2&, const Rect2&) = default;
};

// Columns x and y, then the origin, as the engine lays out Transform2D.
struct Transform2D {
    Vector2 x{1.0f, 0.0f};
    Vector2 y{0.0f, 1.0f};
    Vector2 origin;

    Vector2 basis_xform(Vector2 v) const { return {x.x * v.x + y.x * v.y, x.y * v.x + y.y * v.y}; }
    Vector2 xform(Vector2 v) const {
        const Vector2 b = basis_xform(v);
        return {b.x + origin.x, b.y + origin.y};
    }
    Transform2D operator*(const Transform2D& r) const {
        Transform2D t;
        t.x = basis_xform(r.x);
        t.y = basis_xform(r.y);
        t.origin = xform(r.origin);
        return t;
    }
    Transform2D affine_inverse() const;
    static Transform2D from(Vector2 position, float rotation, Vector2 scale);
};

static_assert(sizeof(Vector2) == 8);
static_assert(sizeof(Vector2i) == 8);
static_assert(sizeof(Rect2) == 16);
static_assert(sizeof(Transform2D) == 24);

// Float to int as the engine's x86-64 builds convert: truncation, and the
// "integer indefinite" value for NaN and out-of-range input (a plain cast
// would be undefined behaviour here).
int64_t truncate_to_int64(double v);
int32_t truncate_to_int32(float v);

}  // namespace stand_in
