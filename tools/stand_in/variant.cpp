#include "stand_in/variant.h"

#include <cstring>

#include "stand_in/array.h"
#include "stand_in/callable.h"
#include "stand_in/objects.h"
#include "stand_in/strings.h"

namespace stand_in {

namespace {

VariantData& as(void* v) { return *static_cast<VariantData*>(v); }
const VariantData& as(const void* v) { return *static_cast<const VariantData*>(v); }

template <typename T>
void put(void* dst, uint32_t type, const T& value) {
    VariantData& d = as(dst);
    d.type = type;
    d.pad = 0;
    std::memset(d.payload, 0, sizeof d.payload);
    std::memcpy(d.payload, &value, sizeof value);
}

struct ObjData {
    uint64_t id;
    Object* object;
};
static_assert(sizeof(ObjData) == 16);

}  // namespace

void var_nil(void* dst) { put(dst, GDEXTENSION_VARIANT_TYPE_NIL, uint64_t{0}); }

void var_copy(void* dst, const void* src) {
    const VariantData& s = as(src);
    VariantData& d = as(dst);
    if (dst == src) {
        return;
    }
    d.type = s.type;
    d.pad = 0;
    std::memset(d.payload, 0, sizeof d.payload);
    switch (s.type) {
        case GDEXTENSION_VARIANT_TYPE_STRING: string_copy(d.payload, s.payload); break;
        case GDEXTENSION_VARIANT_TYPE_STRING_NAME: name_copy(d.payload, s.payload); break;
        case GDEXTENSION_VARIANT_TYPE_NODE_PATH: path_copy(d.payload, s.payload); break;
        case GDEXTENSION_VARIANT_TYPE_ARRAY: array_copy(d.payload, s.payload); break;
        case GDEXTENSION_VARIANT_TYPE_CALLABLE: callable_copy(d.payload, s.payload); break;
        default: std::memcpy(d.payload, s.payload, sizeof d.payload); break;
    }
}

void var_destroy(void* v) {
    VariantData& d = as(v);
    switch (d.type) {
        case GDEXTENSION_VARIANT_TYPE_STRING: string_destroy(d.payload); break;
        case GDEXTENSION_VARIANT_TYPE_STRING_NAME: name_destroy(d.payload); break;
        case GDEXTENSION_VARIANT_TYPE_NODE_PATH: path_destroy(d.payload); break;
        case GDEXTENSION_VARIANT_TYPE_ARRAY: array_destroy(d.payload); break;
        case GDEXTENSION_VARIANT_TYPE_CALLABLE: callable_destroy(d.payload); break;
        default: break;
    }
    var_nil(v);
}

uint32_t var_type(const void* v) { return as(v).type; }

void* var_payload(void* v) { return as(v).payload; }
const void* var_payload(const void* v) { return as(v).payload; }

// The engine's booleanize: !is_zero().
bool var_booleanize(const void* v) {
    const VariantData& d = as(v);
    switch (d.type) {
        case GDEXTENSION_VARIANT_TYPE_NIL: return false;
        case GDEXTENSION_VARIANT_TYPE_BOOL: return d.payload[0] != 0;
        case GDEXTENSION_VARIANT_TYPE_INT: return var_to_int(v) != 0;
        case GDEXTENSION_VARIANT_TYPE_FLOAT: return var_to_float(v) != 0.0;
        case GDEXTENSION_VARIANT_TYPE_STRING: return !string_text(d.payload).empty();
        case GDEXTENSION_VARIANT_TYPE_VECTOR2: return !(var_to_vector2(v) == Vector2{});
        case GDEXTENSION_VARIANT_TYPE_VECTOR2I: return !(var_to_vector2i(v) == Vector2i{});
        case GDEXTENSION_VARIANT_TYPE_RECT2: return !(var_to_rect2(v) == Rect2{});
        case GDEXTENSION_VARIANT_TYPE_STRING_NAME: return !name_text(d.payload).empty();
        case GDEXTENSION_VARIANT_TYPE_NODE_PATH: return !path_text(d.payload).empty();
        case GDEXTENSION_VARIANT_TYPE_OBJECT: return var_to_object(v) != nullptr;
        case GDEXTENSION_VARIANT_TYPE_ARRAY: return array_size(d.payload) != 0;
        case GDEXTENSION_VARIANT_TYPE_CALLABLE: return !callable_is_null(d.payload);
        default: return true;
    }
}

void var_from_bool(void* dst, bool b) { put(dst, GDEXTENSION_VARIANT_TYPE_BOOL, static_cast<uint8_t>(b ? 1 : 0)); }
void var_from_int(void* dst, int64_t i) { put(dst, GDEXTENSION_VARIANT_TYPE_INT, i); }
void var_from_float(void* dst, double f) { put(dst, GDEXTENSION_VARIANT_TYPE_FLOAT, f); }
void var_from_vector2(void* dst, Vector2 v) { put(dst, GDEXTENSION_VARIANT_TYPE_VECTOR2, v); }
void var_from_vector2i(void* dst, Vector2i v) { put(dst, GDEXTENSION_VARIANT_TYPE_VECTOR2I, v); }
void var_from_rect2(void* dst, Rect2 r) { put(dst, GDEXTENSION_VARIANT_TYPE_RECT2, r); }

void var_from_string(void* dst, std::string_view text) {
    var_nil(dst);
    as(dst).type = GDEXTENSION_VARIANT_TYPE_STRING;
    string_new(as(dst).payload, text);
}

void var_from_name(void* dst, std::string_view text) {
    var_nil(dst);
    as(dst).type = GDEXTENSION_VARIANT_TYPE_STRING_NAME;
    name_new(as(dst).payload, text);
}

void var_from_path(void* dst, std::string_view text) {
    var_nil(dst);
    as(dst).type = GDEXTENSION_VARIANT_TYPE_NODE_PATH;
    path_new(as(dst).payload, text);
}

void var_from_slot(void* dst, uint32_t type, const void* slot) {
    VariantData tmp;
    tmp.type = type;
    std::memset(tmp.payload, 0, sizeof tmp.payload);
    switch (type) {
        case GDEXTENSION_VARIANT_TYPE_NIL: break;
        case GDEXTENSION_VARIANT_TYPE_BOOL: tmp.payload[0] = *static_cast<const uint8_t*>(slot) != 0 ? 1 : 0; break;
        case GDEXTENSION_VARIANT_TYPE_INT:
        case GDEXTENSION_VARIANT_TYPE_FLOAT:
        case GDEXTENSION_VARIANT_TYPE_VECTOR2:
        case GDEXTENSION_VARIANT_TYPE_VECTOR2I: std::memcpy(tmp.payload, slot, 8); break;
        case GDEXTENSION_VARIANT_TYPE_RECT2: std::memcpy(tmp.payload, slot, 16); break;
        case GDEXTENSION_VARIANT_TYPE_STRING:
        case GDEXTENSION_VARIANT_TYPE_STRING_NAME:
        case GDEXTENSION_VARIANT_TYPE_NODE_PATH:
        case GDEXTENSION_VARIANT_TYPE_ARRAY:
            std::memcpy(tmp.payload, slot, 8);
            var_copy(dst, &tmp);  // shares the value
            return;
        case GDEXTENSION_VARIANT_TYPE_CALLABLE:
            std::memcpy(tmp.payload, slot, kCallableSize);
            var_copy(dst, &tmp);  // a further reference to the same callable
            return;
        case GDEXTENSION_VARIANT_TYPE_OBJECT: {
            Object* o = nullptr;
            std::memcpy(&o, slot, sizeof o);
            var_from_object(dst, o);
            return;
        }
        default: tmp.type = GDEXTENSION_VARIANT_TYPE_NIL; break;
    }
    std::memcpy(dst, &tmp, sizeof tmp);
}

void var_from_object(void* dst, Object* o) {
    const ObjData data{o != nullptr ? o->id : 0, o};
    put(dst, o != nullptr ? GDEXTENSION_VARIANT_TYPE_OBJECT : GDEXTENSION_VARIANT_TYPE_NIL, data);
    if (o == nullptr) {
        // A null Object* becomes an OBJECT variant holding null in the engine.
        as(dst).type = GDEXTENSION_VARIANT_TYPE_OBJECT;
    }
}

Object* var_to_object(const void* v) {
    const VariantData& d = as(v);
    if (d.type != GDEXTENSION_VARIANT_TYPE_OBJECT) {
        return nullptr;
    }
    ObjData data;
    std::memcpy(&data, d.payload, sizeof data);
    if (data.object == nullptr) {
        return nullptr;
    }
    return object_by_id(data.id) == data.object ? data.object : nullptr;
}

uint64_t var_object_id(const void* v) {
    const VariantData& d = as(v);
    if (d.type != GDEXTENSION_VARIANT_TYPE_OBJECT) {
        return 0;
    }
    ObjData data;
    std::memcpy(&data, d.payload, sizeof data);
    return data.object != nullptr ? data.id : 0;
}

Variant Variant::name(std::string_view text) {
    Variant v;
    var_from_name(v.raw(), text);
    return v;
}

Variant Variant::path(std::string_view text) {
    Variant v;
    var_from_path(v.raw(), text);
    return v;
}

Variant Variant::adopt(VariantData& raw) {
    Variant v;
    std::memcpy(v.raw(), &raw, sizeof raw);
    var_nil(&raw);
    return v;
}

Variant& Variant::operator=(const Variant& o) {
    if (this != &o) {
        VariantData tmp;
        var_copy(&tmp, &o.d_);
        var_destroy(&d_);
        d_ = tmp;
    }
    return *this;
}

Variant& Variant::operator=(Variant&& o) noexcept {
    if (this != &o) {
        var_destroy(&d_);
        d_ = o.d_;
        var_nil(&o.d_);
    }
    return *this;
}

}  // namespace stand_in
