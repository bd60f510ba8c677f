// The engine's per-type function tables an extension fetches: pointer
// constructors and destructors, builtin methods (by name and hash), operator
// evaluators, and the conversions between values and Variants.
#pragma once

#include <cstdint>

#include "gdextension/gde_abi.h"

namespace stand_in {

GDExtensionPtrConstructor ptr_constructor(uint32_t type, int32_t index);
GDExtensionPtrDestructor ptr_destructor(uint32_t type);
GDExtensionPtrBuiltInMethod builtin_method(uint32_t type, const void* name, int64_t hash);
GDExtensionPtrOperatorEvaluator operator_evaluator(uint32_t op, uint32_t left, uint32_t right);
GDExtensionVariantFromTypeConstructorFunc variant_from_type(uint32_t type);
GDExtensionTypeFromVariantConstructorFunc type_from_variant(uint32_t type);

}  // namespace stand_in
