// Plain value types shared by the core. Their layout matches the engine's
// single-precision Vector2, Vector2i and Rect2, so the binding can pass them
// through without conversion.
#pragma once

#include <cstdint>

namespace warfield {

struct Vector2 {
    float x = 0.0f;
    float y = 0.0f;
};

struct Vector2i {
    int32_t x = 0;
    int32_t y = 0;
};

struct Rect2 {
    Vector2 position;
    Vector2 size;
};

static_assert(sizeof(Vector2) == 8);
static_assert(sizeof(Vector2i) == 8);
static_assert(sizeof(Rect2) == 16);

}  // namespace warfield
