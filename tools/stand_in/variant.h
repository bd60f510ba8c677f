// The host's Variant: 24 bytes, a type tag then a 16-byte payload, as the
// engine lays it out. The raw functions work on any 24-byte buffer an
// extension hands over; `Variant` is the owning form tests and the host use.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "gdextension/gde_abi.h"
#include "stand_in/value_types.h"

namespace stand_in {

struct Object;

struct alignas(8) VariantData {
    uint32_t type = GDEXTENSION_VARIANT_TYPE_NIL;
    uint32_t pad = 0;
    alignas(8) unsigned char payload[16] = {};
};
static_assert(sizeof(VariantData) == 24);

// Raw operations. `dst` arguments are uninitialised storage.
void var_nil(void* dst);
void var_copy(void* dst, const void* src);
void var_destroy(void* v);  // leaves NIL behind
uint32_t var_type(const void* v);
bool var_booleanize(const void* v);
// The value inside: what a ptrcall slot for the Variant's type points to.
void* var_payload(void* v);
const void* var_payload(const void* v);

void var_from_bool(void* dst, bool b);
void var_from_int(void* dst, int64_t i);
void var_from_float(void* dst, double f);
void var_from_vector2(void* dst, Vector2 v);
void var_from_vector2i(void* dst, Vector2i v);
void var_from_rect2(void* dst, Rect2 r);
void var_from_string(void* dst, std::string_view text);
void var_from_name(void* dst, std::string_view text);
void var_from_path(void* dst, std::string_view text);
// Copies of an existing value slot of the type (shared, like the engine).
void var_from_slot(void* dst, uint32_t type, const void* slot);
void var_from_object(void* dst, Object* o);

// The engine's Variant conversions (operator int64_t and friends).
int64_t var_to_int(const void* v);
double var_to_float(const void* v);
Vector2 var_to_vector2(const void* v);
Vector2i var_to_vector2i(const void* v);
Rect2 var_to_rect2(const void* v);
std::string var_to_text(const void* v);  // what String(variant) holds
// Constructs the value of `type` converted from `v` into the uninitialised
// slot `dst`, as the engine's type-from-variant constructors do.
void var_convert_into(uint32_t type, void* dst, const void* v);
Object* var_to_object(const void* v);  // null once the object is freed
// The id of the object an OBJECT Variant was made from, freed or not; 0 for
// a null object or another type.
uint64_t var_object_id(const void* v);

bool can_convert_strict(uint32_t from, uint32_t to);
bool can_convert(uint32_t from, uint32_t to);
const char* type_name(uint32_t type);

// An owning Variant.
class Variant {
public:
    Variant() { var_nil(&d_); }
    Variant(bool b) { var_from_bool(&d_, b); }
    Variant(int v) { var_from_int(&d_, v); }
    Variant(int64_t v) { var_from_int(&d_, v); }
    Variant(uint64_t v) { var_from_int(&d_, static_cast<int64_t>(v)); }
    Variant(double f) { var_from_float(&d_, f); }
    Variant(Vector2 v) { var_from_vector2(&d_, v); }
    Variant(Vector2i v) { var_from_vector2i(&d_, v); }
    Variant(Rect2 r) { var_from_rect2(&d_, r); }
    Variant(const char* text) { var_from_string(&d_, text); }
    Variant(Object* o) { var_from_object(&d_, o); }
    static Variant name(std::string_view text);
    static Variant path(std::string_view text);
    // Takes over a Variant an extension constructed.
    static Variant adopt(VariantData& raw);

    Variant(const Variant& o) { var_copy(&d_, &o.d_); }
    Variant(Variant&& o) noexcept : d_(o.d_) { var_nil(&o.d_); }
    Variant& operator=(const Variant& o);
    Variant& operator=(Variant&& o) noexcept;
    ~Variant() { var_destroy(&d_); }

    uint32_t type() const { return d_.type; }
    bool is_nil() const { return d_.type == GDEXTENSION_VARIANT_TYPE_NIL; }
    bool to_bool() const { return var_booleanize(&d_); }
    int64_t to_int() const { return var_to_int(&d_); }
    double to_float() const { return var_to_float(&d_); }
    Vector2 to_vector2() const { return var_to_vector2(&d_); }
    Vector2i to_vector2i() const { return var_to_vector2i(&d_); }
    std::string to_text() const { return var_to_text(&d_); }
    Object* to_object() const { return var_to_object(&d_); }

    VariantData* raw() { return &d_; }
    const VariantData* raw() const { return &d_; }

private:
    VariantData d_;
};

}  // namespace stand_in
