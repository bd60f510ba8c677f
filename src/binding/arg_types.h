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

template <typename T>
struct ArgType;

template <>
struct ArgType<int32_t> {
    static constexpr GDExtensionVariantType variant_type = GDEXTENSION_VARIANT_TYPE_INT;
    static constexpr GDExtensionClassMethodArgumentMetadata metadata = GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_INT32;
    using Slot = int64_t;
    static int32_t decode(const void* slot) {
        int64_t v;
        std::memcpy(&v, slot, sizeof v);
        return low_int32(v);
    }
    static GDExtensionTypeFromVariantConstructorFunc from_variant() { return api.int_from_variant; }
};

// Instance ids: the slot's 64 bits, unchanged.
template <>
struct ArgType<uint64_t> {
    static constexpr GDExtensionVariantType variant_type = GDEXTENSION_VARIANT_TYPE_INT;
    static constexpr GDExtensionClassMethodArgumentMetadata metadata = GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_UINT64;
    using Slot = int64_t;
    static uint64_t decode(const void* slot) {
        uint64_t v;
        std::memcpy(&v, slot, sizeof v);
        return v;
    }
    static GDExtensionTypeFromVariantConstructorFunc from_variant() { return api.int_from_variant; }
};

template <>
struct ArgType<float> {
    static constexpr GDExtensionVariantType variant_type = GDEXTENSION_VARIANT_TYPE_FLOAT;
    static constexpr GDExtensionClassMethodArgumentMetadata metadata = GDEXTENSION_METHOD_ARGUMENT_METADATA_REAL_IS_FLOAT;
    using Slot = double;
    static float decode(const void* slot) {
        double v;
        std::memcpy(&v, slot, sizeof v);
        return narrow_to_float(v);
    }
    static GDExtensionTypeFromVariantConstructorFunc from_variant() { return api.float_from_variant; }
};

template <>
struct ArgType<bool> {
    static constexpr GDExtensionVariantType variant_type = GDEXTENSION_VARIANT_TYPE_BOOL;
    static constexpr GDExtensionClassMethodArgumentMetadata metadata = GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE;
    using Slot = uint8_t;
    // Any non-zero byte is true; the byte is never read as a C++ bool.
    static bool decode(const void* slot) { return *static_cast<const uint8_t*>(slot) != 0; }
    static GDExtensionTypeFromVariantConstructorFunc from_variant() { return api.bool_from_variant; }
};

template <>
struct ArgType<Vector2> {
    static constexpr GDExtensionVariantType variant_type = GDEXTENSION_VARIANT_TYPE_VECTOR2;
    static constexpr GDExtensionClassMethodArgumentMetadata metadata = GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE;
    using Slot = Vector2;
    static Vector2 decode(const void* slot) {
        Vector2 v;
        std::memcpy(&v, slot, sizeof v);
        return v;
    }
    static GDExtensionTypeFromVariantConstructorFunc from_variant() { return api.vector2_from_variant; }
};

template <>
struct ArgType<Vector2i> {
    static constexpr GDExtensionVariantType variant_type = GDEXTENSION_VARIANT_TYPE_VECTOR2I;
    static constexpr GDExtensionClassMethodArgumentMetadata metadata = GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE;
    using Slot = Vector2i;
    static Vector2i decode(const void* slot) {
        Vector2i v;
        std::memcpy(&v, slot, sizeof v);
        return v;
    }
    static GDExtensionTypeFromVariantConstructorFunc from_variant() { return api.vector2i_from_variant; }
};

// Results. NoResult marks a method without one.
struct NoResult {};
// A query's instance ids, handed back as an Array typed to int.
struct IdArrayResult {};

template <typename R>
struct ResultType;

template <>
struct ResultType<NoResult> {
    static constexpr bool has_value = false;
    static constexpr GDExtensionVariantType variant_type = GDEXTENSION_VARIANT_TYPE_NIL;
    static constexpr GDExtensionClassMethodArgumentMetadata metadata = GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE;
    static constexpr uint32_t hint = WARFIELD_PROPERTY_HINT_NONE;
    static constexpr const char* hint_string = "";
    template <typename T>
    static void to_slot(const T&, void*) {}
    template <typename T>
    static void to_variant(const T&, GDExtensionVariantPtr) {}
};

template <>
struct ResultType<int32_t> {
    static constexpr bool has_value = true;
    static constexpr GDExtensionVariantType variant_type = GDEXTENSION_VARIANT_TYPE_INT;
    static constexpr GDExtensionClassMethodArgumentMetadata metadata = GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_INT32;
    static constexpr uint32_t hint = WARFIELD_PROPERTY_HINT_NONE;
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
struct ResultType<Vector2> {
    static constexpr bool has_value = true;
    static constexpr GDExtensionVariantType variant_type = GDEXTENSION_VARIANT_TYPE_VECTOR2;
    static constexpr GDExtensionClassMethodArgumentMetadata metadata = GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE;
    static constexpr uint32_t hint = WARFIELD_PROPERTY_HINT_NONE;
    static constexpr const char* hint_string = "";
    static void to_slot(Vector2 v, void* r_ret) { std::memcpy(r_ret, &v, sizeof v); }
    static void to_variant(Vector2 v, GDExtensionVariantPtr r_ret) {
        api.variant_destroy(r_ret);
        api.variant_from_vector2(r_ret, &v);
    }
};

template <>
struct ResultType<IdArrayResult> {
    static constexpr bool has_value = true;
    static constexpr GDExtensionVariantType variant_type = GDEXTENSION_VARIANT_TYPE_ARRAY;
    static constexpr GDExtensionClassMethodArgumentMetadata metadata = GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE;
    static constexpr uint32_t hint = WARFIELD_PROPERTY_HINT_ARRAY_TYPE;
    static constexpr const char* hint_string = "int";
    static void to_slot(const std::vector<uint64_t>& ids, void* r_ret) { assign_id_array(r_ret, ids); }
    static void to_variant(const std::vector<uint64_t>& ids, GDExtensionVariantPtr r_ret) {
        assign_id_array_variant(r_ret, ids);
    }
};

}  // namespace warfield::gde
