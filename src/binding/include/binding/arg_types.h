// How each declared C++ type crosses the boundary: its engine type and
// metadata, its typed-call slot, and how a Variant becomes that slot.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

#include "binding/id_array.h"
#include "gdextension/interface.h"
#include "gdextension/narrow.h"
#include "server/math_types.h"

namespace warfield::gde {

// A slot's value as the declared type: ints keep their low 32 bits, ids
// all 64, doubles round to the nearest float, and any non-zero byte is true
// (the byte is never read as a C++ bool).
inline int32_t from_slot_value(int64_t v, int32_t*) { return low_int32(v); }
inline uint64_t from_slot_value(int64_t v, uint64_t*) { return as_uint64(v); }
inline float from_slot_value(double v, float*) { return narrow_to_float(v); }
inline bool from_slot_value(uint8_t v, bool*) { return v != 0; }
template <typename T>
T from_slot_value(T v, T*) {
    return v;
}

// One declared argument type: its engine type and metadata, the slot a typed
// call passes it in, and the engine's conversion of a Variant into that slot.
template <typename T, typename SlotType, GDExtensionVariantType Type, GDExtensionClassMethodArgumentMetadata Meta,
          GDExtensionTypeFromVariantConstructorFunc Interface::*FromVariant>
struct ScriptArg {
    static constexpr GDExtensionVariantType variant_type = Type;
    static constexpr GDExtensionClassMethodArgumentMetadata metadata = Meta;
    using Slot = SlotType;
    static T decode(const void* slot) {
        Slot v;
        std::memcpy(&v, slot, sizeof v);
        return from_slot_value(v, static_cast<T*>(nullptr));
    }
    static GDExtensionTypeFromVariantConstructorFunc from_variant() { return api.*FromVariant; }
};

template <typename T>
struct ArgType;
template <>
struct ArgType<int32_t> : ScriptArg<int32_t, int64_t, GDEXTENSION_VARIANT_TYPE_INT,
                                    GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_INT32, &Interface::int_from_variant> {};
// Instance ids: the slot's 64 bits, unchanged.
template <>
struct ArgType<uint64_t> : ScriptArg<uint64_t, int64_t, GDEXTENSION_VARIANT_TYPE_INT,
                                     GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_UINT64, &Interface::int_from_variant> {};
template <>
struct ArgType<float> : ScriptArg<float, double, GDEXTENSION_VARIANT_TYPE_FLOAT,
                                  GDEXTENSION_METHOD_ARGUMENT_METADATA_REAL_IS_FLOAT, &Interface::float_from_variant> {};
template <>
struct ArgType<bool> : ScriptArg<bool, uint8_t, GDEXTENSION_VARIANT_TYPE_BOOL, GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE,
                                 &Interface::bool_from_variant> {};
template <>
struct ArgType<Vector2> : ScriptArg<Vector2, Vector2, GDEXTENSION_VARIANT_TYPE_VECTOR2,
                                    GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE, &Interface::vector2_from_variant> {};
template <>
struct ArgType<Vector2i> : ScriptArg<Vector2i, Vector2i, GDEXTENSION_VARIANT_TYPE_VECTOR2I,
                                     GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE, &Interface::vector2i_from_variant> {};

// Results. NoResult marks a method without one.
struct NoResult {};
// A query's instance ids, handed back as an Array typed to int.
struct IdArrayResult {};

// What the engine is told about a result.
template <bool HasValue, GDExtensionVariantType Type,
          GDExtensionClassMethodArgumentMetadata Meta = GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE,
          uint32_t Hint = WARFIELD_PROPERTY_HINT_NONE>
struct ResultInfo {
    static constexpr bool has_value = HasValue;
    static constexpr GDExtensionVariantType variant_type = Type;
    static constexpr GDExtensionClassMethodArgumentMetadata metadata = Meta;
    static constexpr uint32_t hint = Hint;
};

template <typename R>
struct ResultType;

template <>
struct ResultType<NoResult> : ResultInfo<false, GDEXTENSION_VARIANT_TYPE_NIL> {
    static constexpr const char* hint_string = "";
    template <typename T>
    static void to_slot(const T&, void*) {}
    template <typename T>
    static void to_variant(const T&, GDExtensionVariantPtr) {}
};

template <>
struct ResultType<int32_t>
    : ResultInfo<true, GDEXTENSION_VARIANT_TYPE_INT, GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_INT32> {
    static constexpr const char* hint_string = "";
    static void to_slot(int32_t v, void* r_ret) {
        const int64_t wide = v;  // sign-extended: -1 stays -1
        std::memcpy(r_ret, &wide, sizeof wide);
    }
    static void to_variant(int32_t v, GDExtensionVariantPtr r_ret) {
        int64_t wide = v;
        api.variant_destroy(r_ret);
        api.variant_from_int(r_ret, &wide);
    }
};

template <>
struct ResultType<Vector2> : ResultInfo<true, GDEXTENSION_VARIANT_TYPE_VECTOR2> {
    static constexpr const char* hint_string = "";
    static void to_slot(Vector2 v, void* r_ret) { std::memcpy(r_ret, &v, sizeof v); }
    static void to_variant(Vector2 v, GDExtensionVariantPtr r_ret) {
        api.variant_destroy(r_ret);
        api.variant_from_vector2(r_ret, &v);
    }
};

template <>
struct ResultType<IdArrayResult> : ResultInfo<true, GDEXTENSION_VARIANT_TYPE_ARRAY,
                                              GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE,
                                              WARFIELD_PROPERTY_HINT_ARRAY_TYPE> {
    static constexpr const char* hint_string = "int";
    static void to_slot(const std::vector<uint64_t>& ids, void* r_ret) { assign_id_array(r_ret, ids); }
    static void to_variant(const std::vector<uint64_t>& ids, GDExtensionVariantPtr r_ret) {
        assign_id_array_variant(r_ret, ids);
    }
};

}  // namespace warfield::gde
