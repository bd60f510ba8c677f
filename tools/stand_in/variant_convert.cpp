// The engine's conversions between Variant types, and which of them a
// typed argument accepts (can_convert_strict) or a loose one (can_convert).
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "stand_in/array.h"
#include "stand_in/callable.h"
#include "stand_in/strings.h"
#include "stand_in/variant.h"

namespace stand_in {

namespace {

const VariantData& as(const void* v) { return *static_cast<const VariantData*>(v); }

template <typename T>
T get(const void* v) {
    T out;
    std::memcpy(&out, as(v).payload, sizeof out);
    return out;
}

// String.to_int() / to_float() for what the host needs: leading number.
int64_t text_to_int(std::string_view s) {
    const std::string copy(s);
    return std::strtoll(copy.c_str(), nullptr, 10);
}

double text_to_float(std::string_view s) {
    const std::string copy(s);
    return std::strtod(copy.c_str(), nullptr);
}

bool in(uint32_t t, std::initializer_list<uint32_t> set) {
    for (uint32_t s : set) {
        if (s == t) {
            return true;
        }
    }
    return false;
}

}  // namespace

int64_t var_to_int(const void* v) {
    switch (as(v).type) {
        case GDEXTENSION_VARIANT_TYPE_BOOL: return as(v).payload[0] != 0 ? 1 : 0;
        case GDEXTENSION_VARIANT_TYPE_INT: return get<int64_t>(v);
        case GDEXTENSION_VARIANT_TYPE_FLOAT: return truncate_to_int64(get<double>(v));
        case GDEXTENSION_VARIANT_TYPE_STRING: return text_to_int(string_text(as(v).payload));
        default: return 0;
    }
}

double var_to_float(const void* v) {
    switch (as(v).type) {
        case GDEXTENSION_VARIANT_TYPE_BOOL: return as(v).payload[0] != 0 ? 1.0 : 0.0;
        case GDEXTENSION_VARIANT_TYPE_INT: return static_cast<double>(get<int64_t>(v));
        case GDEXTENSION_VARIANT_TYPE_FLOAT: return get<double>(v);
        case GDEXTENSION_VARIANT_TYPE_STRING: return text_to_float(string_text(as(v).payload));
        default: return 0.0;
    }
}

Vector2 var_to_vector2(const void* v) {
    switch (as(v).type) {
        case GDEXTENSION_VARIANT_TYPE_VECTOR2: return get<Vector2>(v);
        case GDEXTENSION_VARIANT_TYPE_VECTOR2I: {
            const Vector2i i = get<Vector2i>(v);
            return {static_cast<float>(i.x), static_cast<float>(i.y)};
        }
        default: return {};
    }
}

Vector2i var_to_vector2i(const void* v) {
    switch (as(v).type) {
        case GDEXTENSION_VARIANT_TYPE_VECTOR2I: return get<Vector2i>(v);
        case GDEXTENSION_VARIANT_TYPE_VECTOR2: {
            const Vector2 f = get<Vector2>(v);
            return {truncate_to_int32(f.x), truncate_to_int32(f.y)};
        }
        default: return {};
    }
}

Rect2 var_to_rect2(const void* v) { return as(v).type == GDEXTENSION_VARIANT_TYPE_RECT2 ? get<Rect2>(v) : Rect2{}; }

std::string var_to_text(const void* v) {
    char buf[64];
    switch (as(v).type) {
        case GDEXTENSION_VARIANT_TYPE_NIL: return "<null>";
        case GDEXTENSION_VARIANT_TYPE_BOOL: return as(v).payload[0] != 0 ? "true" : "false";
        case GDEXTENSION_VARIANT_TYPE_INT: std::snprintf(buf, sizeof buf, "%" PRId64, get<int64_t>(v)); return buf;
        case GDEXTENSION_VARIANT_TYPE_FLOAT: std::snprintf(buf, sizeof buf, "%.17g", get<double>(v)); return buf;
        case GDEXTENSION_VARIANT_TYPE_STRING: return std::string(string_text(as(v).payload));
        case GDEXTENSION_VARIANT_TYPE_STRING_NAME: return std::string(name_text(as(v).payload));
        case GDEXTENSION_VARIANT_TYPE_NODE_PATH: return std::string(path_text(as(v).payload));
        case GDEXTENSION_VARIANT_TYPE_VECTOR2: {
            const Vector2 f = get<Vector2>(v);
            std::snprintf(buf, sizeof buf, "(%g, %g)", static_cast<double>(f.x), static_cast<double>(f.y));
            return buf;
        }
        case GDEXTENSION_VARIANT_TYPE_VECTOR2I: {
            const Vector2i i = get<Vector2i>(v);
            std::snprintf(buf, sizeof buf, "(%d, %d)", i.x, i.y);
            return buf;
        }
        case GDEXTENSION_VARIANT_TYPE_CALLABLE: return callable_text(as(v).payload);
        default: return std::string("<") + type_name(as(v).type) + ">";
    }
}

void var_convert_into(uint32_t type, void* dst, const void* v) {
    const uint32_t from = as(v).type;
    switch (type) {
        case GDEXTENSION_VARIANT_TYPE_BOOL: {
            const uint8_t b = var_booleanize(v) ? 1 : 0;
            std::memcpy(dst, &b, 1);
        } break;
        case GDEXTENSION_VARIANT_TYPE_INT: {
            const int64_t i = var_to_int(v);
            std::memcpy(dst, &i, sizeof i);
        } break;
        case GDEXTENSION_VARIANT_TYPE_FLOAT: {
            const double f = var_to_float(v);
            std::memcpy(dst, &f, sizeof f);
        } break;
        case GDEXTENSION_VARIANT_TYPE_VECTOR2: {
            const Vector2 f = var_to_vector2(v);
            std::memcpy(dst, &f, sizeof f);
        } break;
        case GDEXTENSION_VARIANT_TYPE_VECTOR2I: {
            const Vector2i i = var_to_vector2i(v);
            std::memcpy(dst, &i, sizeof i);
        } break;
        case GDEXTENSION_VARIANT_TYPE_RECT2: {
            const Rect2 r = var_to_rect2(v);
            std::memcpy(dst, &r, sizeof r);
        } break;
        case GDEXTENSION_VARIANT_TYPE_STRING: string_new(dst, var_to_text(v)); break;
        case GDEXTENSION_VARIANT_TYPE_STRING_NAME:
            if (from == GDEXTENSION_VARIANT_TYPE_STRING_NAME) {
                name_copy(dst, as(v).payload);
            } else {
                name_new(dst, from == GDEXTENSION_VARIANT_TYPE_STRING ? string_text(as(v).payload) : "");
            }
            break;
        case GDEXTENSION_VARIANT_TYPE_NODE_PATH:
            if (from == GDEXTENSION_VARIANT_TYPE_NODE_PATH) {
                path_copy(dst, as(v).payload);
            } else {
                path_new(dst, from == GDEXTENSION_VARIANT_TYPE_STRING ? string_text(as(v).payload) : "");
            }
            break;
        case GDEXTENSION_VARIANT_TYPE_ARRAY:
            if (from == GDEXTENSION_VARIANT_TYPE_ARRAY) {
                array_copy(dst, as(v).payload);
            } else {
                array_new(dst);
            }
            break;
        case GDEXTENSION_VARIANT_TYPE_OBJECT: {
            Object* o = var_to_object(v);
            std::memcpy(dst, &o, sizeof o);
        } break;
        case GDEXTENSION_VARIANT_TYPE_CALLABLE:
            // Anything but a Callable converts to the null Callable.
            if (from == GDEXTENSION_VARIANT_TYPE_CALLABLE) {
                callable_copy(dst, as(v).payload);
            } else {
                callable_nil(dst);
            }
            break;
        default: break;
    }
}

// Variant::can_convert_strict, for the types the host models (others only
// convert to themselves, to NIL, and the engine's listed pairs below).
bool can_convert_strict(uint32_t from, uint32_t to) {
    if (from == to || to == GDEXTENSION_VARIANT_TYPE_NIL) {
        return true;
    }
    if (from == GDEXTENSION_VARIANT_TYPE_NIL) {
        return to == GDEXTENSION_VARIANT_TYPE_OBJECT;
    }
    switch (to) {
        case GDEXTENSION_VARIANT_TYPE_BOOL: return in(from, {GDEXTENSION_VARIANT_TYPE_INT, GDEXTENSION_VARIANT_TYPE_FLOAT});
        case GDEXTENSION_VARIANT_TYPE_INT: return in(from, {GDEXTENSION_VARIANT_TYPE_BOOL, GDEXTENSION_VARIANT_TYPE_FLOAT});
        case GDEXTENSION_VARIANT_TYPE_FLOAT: return in(from, {GDEXTENSION_VARIANT_TYPE_BOOL, GDEXTENSION_VARIANT_TYPE_INT});
        case GDEXTENSION_VARIANT_TYPE_STRING:
            return in(from, {GDEXTENSION_VARIANT_TYPE_NODE_PATH, GDEXTENSION_VARIANT_TYPE_STRING_NAME});
        case GDEXTENSION_VARIANT_TYPE_VECTOR2: return from == GDEXTENSION_VARIANT_TYPE_VECTOR2I;
        case GDEXTENSION_VARIANT_TYPE_VECTOR2I: return from == GDEXTENSION_VARIANT_TYPE_VECTOR2;
        case GDEXTENSION_VARIANT_TYPE_RECT2: return from == GDEXTENSION_VARIANT_TYPE_RECT2I;
        case GDEXTENSION_VARIANT_TYPE_RECT2I: return from == GDEXTENSION_VARIANT_TYPE_RECT2;
        case GDEXTENSION_VARIANT_TYPE_VECTOR3: return from == GDEXTENSION_VARIANT_TYPE_VECTOR3I;
        case GDEXTENSION_VARIANT_TYPE_VECTOR3I: return from == GDEXTENSION_VARIANT_TYPE_VECTOR3;
        case GDEXTENSION_VARIANT_TYPE_VECTOR4: return from == GDEXTENSION_VARIANT_TYPE_VECTOR4I;
        case GDEXTENSION_VARIANT_TYPE_VECTOR4I: return from == GDEXTENSION_VARIANT_TYPE_VECTOR4;
        case GDEXTENSION_VARIANT_TYPE_COLOR: return in(from, {GDEXTENSION_VARIANT_TYPE_STRING, GDEXTENSION_VARIANT_TYPE_INT});
        case GDEXTENSION_VARIANT_TYPE_RID: return from == GDEXTENSION_VARIANT_TYPE_OBJECT;
        case GDEXTENSION_VARIANT_TYPE_STRING_NAME:
        case GDEXTENSION_VARIANT_TYPE_NODE_PATH: return from == GDEXTENSION_VARIANT_TYPE_STRING;
        case GDEXTENSION_VARIANT_TYPE_ARRAY:
            return from >= GDEXTENSION_VARIANT_TYPE_PACKED_BYTE_ARRAY && from < GDEXTENSION_VARIANT_TYPE_VARIANT_MAX;
        default:
            if (to >= GDEXTENSION_VARIANT_TYPE_PACKED_BYTE_ARRAY && to < GDEXTENSION_VARIANT_TYPE_VARIANT_MAX) {
                return from == GDEXTENSION_VARIANT_TYPE_ARRAY;
            }
            return false;
    }
}

// Variant::can_convert: the strict pairs plus the string and number ones.
bool can_convert(uint32_t from, uint32_t to) {
    if (can_convert_strict(from, to)) {
        return true;
    }
    const uint32_t kString = GDEXTENSION_VARIANT_TYPE_STRING;
    switch (to) {
        case GDEXTENSION_VARIANT_TYPE_BOOL:
        case GDEXTENSION_VARIANT_TYPE_INT:
        case GDEXTENSION_VARIANT_TYPE_FLOAT: return from == kString;
        case GDEXTENSION_VARIANT_TYPE_STRING: return from != GDEXTENSION_VARIANT_TYPE_OBJECT;
        default: return false;
    }
}

const char* type_name(uint32_t type) {
    static constexpr const char* kNames[] = {
        "Nil",         "bool",       "int",          "float",       "String",           "Vector2",
        "Vector2i",    "Rect2",      "Rect2i",       "Vector3",     "Vector3i",         "Transform2D",
        "Vector4",     "Vector4i",   "Plane",        "Quaternion",  "AABB",             "Basis",
        "Transform3D", "Projection", "Color",        "StringName",  "NodePath",         "RID",
        "Object",      "Callable",   "Signal",       "Dictionary",  "Array",            "PackedByteArray",
        "PackedInt32Array", "PackedInt64Array", "PackedFloat32Array", "PackedFloat64Array",
        "PackedStringArray", "PackedVector2Array", "PackedVector3Array", "PackedColorArray",
        "PackedVector4Array",
    };
    return type < GDEXTENSION_VARIANT_TYPE_VARIANT_MAX ? kNames[type] : "<invalid>";
}

}  // namespace stand_in
