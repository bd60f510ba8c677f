// The method table's types as the documents name them. The class reference
// and the usage document agree on every name but the queries' typed int
// arrays, which each spells its own way.
#pragma once

#include <string>

#include "gdextension/gde_abi.h"

namespace warfield {

inline std::string type_name(GDExtensionVariantType type, const char* int_array) {
    switch (type) {
        case GDEXTENSION_VARIANT_TYPE_NIL: return "void";
        case GDEXTENSION_VARIANT_TYPE_BOOL: return "bool";
        case GDEXTENSION_VARIANT_TYPE_INT: return "int";
        case GDEXTENSION_VARIANT_TYPE_FLOAT: return "float";
        case GDEXTENSION_VARIANT_TYPE_VECTOR2: return "Vector2";
        case GDEXTENSION_VARIANT_TYPE_VECTOR2I: return "Vector2i";
        case GDEXTENSION_VARIANT_TYPE_ARRAY: return int_array;
        default: return "?";
    }
}

}  // namespace warfield
