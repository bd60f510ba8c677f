// The module's initializer and terminator, called once per engine level.
#pragma once

#include "gdextension/gde_abi.h"

namespace warfield {

void initialize_warfield_module(GDExtensionInitializationLevel level);
void uninitialize_warfield_module(GDExtensionInitializationLevel level);

// Registers Warfield with its methods, property and callbacks; only the first
// call does anything.
void register_warfield_class(GDExtensionInitializationLevel level);

}  // namespace warfield
