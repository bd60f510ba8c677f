// Interface types of the 4.5 engine that only the host's side needs: the
// library never calls the functions that take them.
#pragma once

#include "gdextension/gde_abi.h"

extern "C" {

typedef struct {
    uint32_t major;
    uint32_t minor;
    uint32_t patch;
    const char* string;
} GDExtensionGodotVersion;

typedef struct {
    GDExtensionStringNamePtr name;
    uint32_t method_flags;
    GDExtensionPropertyInfo return_value;
    GDExtensionClassMethodArgumentMetadata return_value_metadata;
    uint32_t argument_count;
    GDExtensionPropertyInfo* arguments;
    GDExtensionClassMethodArgumentMetadata* arguments_metadata;
} GDExtensionClassVirtualMethodInfo;

}  // extern "C"
