// The library's side of the engine's initialization protocol: validates the
// host's interface, then forwards each initialization level to the module.
#pragma once

#include "gdextension/gde_abi.h"

namespace warfield::gde {

using ModuleCallback = void (*)(GDExtensionInitializationLevel level);

class Initialization {
public:
    // Loads the interface and fills `r_initialization`. False, with nothing
    // handed over, when the host is older than 4.5 or lacks a function.
    static bool init(GDExtensionInterfaceGetProcAddress get_proc_address, GDExtensionClassLibraryPtr library,
                     GDExtensionInitialization* r_initialization, ModuleCallback initializer,
                     ModuleCallback terminator, GDExtensionInitializationLevel minimum_level);

    // What the engine calls for each level.
    static void initialize_level(void* userdata, GDExtensionInitializationLevel level) noexcept;
    static void deinitialize_level(void* userdata, GDExtensionInitializationLevel level) noexcept;
};

}  // namespace warfield::gde
