// The library's only exported symbol, named in warfield.gdextension.
#include "gdextension/initialization.h"
#include "register/module.h"

#if defined(_WIN32)
#define WARFIELD_EXPORT __declspec(dllexport)
#else
#define WARFIELD_EXPORT __attribute__((visibility("default")))
#endif

extern "C" WARFIELD_EXPORT GDExtensionBool warfield_init(GDExtensionInterfaceGetProcAddress get_proc_address,
                                                         GDExtensionClassLibraryPtr library,
                                                         GDExtensionInitialization* r_initialization) {
    try {
        return warfield::gde::Initialization::init(get_proc_address, library, r_initialization,
                                            &warfield::initialize_warfield_module,
                                            &warfield::uninitialize_warfield_module,
                                            GDEXTENSION_INITIALIZATION_SCENE)
                   ? 1
                   : 0;
    } catch (...) {
        return 0;
    }
}
