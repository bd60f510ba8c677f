// The method table against the script-visible contract, written out
// independently in expected_surface.h: names, order, argument names, types,
// metadata, results and flags.
#include <gtest/gtest.h>

#include <string>

#include "expected_surface.h"
#include "register/method_table.h"

namespace warfield {
namespace {

using boundary::A;
using boundary::R;

struct TypeAndMetadata {
    GDExtensionVariantType type;
    GDExtensionClassMethodArgumentMetadata metadata;
};

// Instance ids keep all 64 bits; other ints are 32-bit, floats 32-bit floats.
TypeAndMetadata engine_type(A a) {
    switch (a) {
        case A::Int: return {GDEXTENSION_VARIANT_TYPE_INT, GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_INT32};
        case A::Id: return {GDEXTENSION_VARIANT_TYPE_INT, GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_UINT64};
        case A::Float: return {GDEXTENSION_VARIANT_TYPE_FLOAT, GDEXTENSION_METHOD_ARGUMENT_METADATA_REAL_IS_FLOAT};
        case A::Bool: return {GDEXTENSION_VARIANT_TYPE_BOOL, GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE};
        case A::Vec2: return {GDEXTENSION_VARIANT_TYPE_VECTOR2, GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE};
        case A::Vec2i: return {GDEXTENSION_VARIANT_TYPE_VECTOR2I, GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE};
    }
    return {GDEXTENSION_VARIANT_TYPE_NIL, GDEXTENSION_METHOD_ARGUMENT_METADATA_NONE};
}

void expect_result(const gde::MethodDef& m, R r) {
    EXPECT_EQ(m.has_return, r != R::None);
    switch (r) {
        case R::None: break;
        case R::Int:
            EXPECT_EQ(m.return_type, GDEXTENSION_VARIANT_TYPE_INT);
            EXPECT_EQ(m.return_metadata, GDEXTENSION_METHOD_ARGUMENT_METADATA_INT_IS_INT32);
            break;
        case R::Vec2: EXPECT_EQ(m.return_type, GDEXTENSION_VARIANT_TYPE_VECTOR2); break;
        case R::IdArray:
            EXPECT_EQ(m.return_type, GDEXTENSION_VARIANT_TYPE_ARRAY);
            EXPECT_EQ(m.return_hint, 31u);  // PROPERTY_HINT_ARRAY_TYPE
            EXPECT_STREQ(m.return_hint_string, "int");
            break;
    }
}

TEST(MethodTable, MatchesTheScriptSurface) {
    const auto methods = warfield_methods();
    const auto& expected = boundary::expected_methods();
    ASSERT_EQ(methods.size(), expected.size());
    for (size_t i = 0; i < methods.size(); ++i) {
        const gde::MethodDef& m = methods[i];
        SCOPED_TRACE(expected[i].name);
        EXPECT_STREQ(m.name, expected[i].name);
        ASSERT_EQ(m.arg_count, expected[i].args.size());
        for (size_t a = 0; a < expected[i].args.size(); ++a) {
            SCOPED_TRACE(expected[i].args[a].name);
            EXPECT_STREQ(m.arg_names[a], expected[i].args[a].name);
            const TypeAndMetadata t = engine_type(expected[i].args[a].type);
            EXPECT_EQ(m.arg_types[a], t.type);
            EXPECT_EQ(m.arg_metadata[a], t.metadata);
        }
        expect_result(m, expected[i].result);
        uint32_t flags = GDEXTENSION_METHOD_FLAG_NORMAL;
        if (expected[i].is_const) flags |= GDEXTENSION_METHOD_FLAG_CONST;
        EXPECT_EQ(m.flags, flags);
        EXPECT_NE(m.call, nullptr);
        EXPECT_NE(m.ptrcall, nullptr);
    }
}

TEST(MethodTable, GridSizeProperty) {
    const gde::PropertyDef& p = warfield_grid_size_property();
    EXPECT_STREQ(p.name, "grid_size");
    EXPECT_EQ(p.type, GDEXTENSION_VARIANT_TYPE_VECTOR2);
    EXPECT_EQ(p.hint, 0u);
    EXPECT_STREQ(p.hint_string, "");
    EXPECT_EQ(p.usage, 6u);
    EXPECT_STREQ(p.setter, "set_grid_size");
    EXPECT_STREQ(p.getter, "get_grid_size");
}

}  // namespace
}  // namespace warfield
