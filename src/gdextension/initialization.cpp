#include "gdextension/initialization.h"

#include <cstdio>

#include "gdextension/interface.h"

namespace warfield::gde {

namespace {

ModuleCallback g_initializer = nullptr;
ModuleCallback g_terminator = nullptr;

}  // namespace

bool Initialization::init(GDExtensionInterfaceGetProcAddress get_proc_address, GDExtensionClassLibraryPtr library,
                   GDExtensionInitialization* r_initialization, ModuleCallback initializer,
                   ModuleCallback terminator, GDExtensionInitializationLevel minimum_level) {
    if (r_initialization == nullptr) {
        return false;
    }
    switch (load_interface(get_proc_address, library)) {
        case LoadStatus::ok:
            break;
        case LoadStatus::engine_too_old:
            WARFIELD_REPORT_ERROR("Warfield requires Godot 4.5 or later; the extension was not loaded.");
            clear_interface();
            return false;
        case LoadStatus::missing_function: {
            char message[192];
            const char* missing = missing_interface_function();
            std::snprintf(message, sizeof message,
                          "Warfield: the engine lacks the extension interface function %s; not loaded.",
                          missing != nullptr ? missing : "(unknown)");
            WARFIELD_REPORT_ERROR(message);
            clear_interface();
            return false;
        }
    }
    g_initializer = initializer;
    g_terminator = terminator;
    r_initialization->minimum_initialization_level = minimum_level;
    r_initialization->userdata = nullptr;
    r_initialization->initialize = &Initialization::initialize_level;
    r_initialization->deinitialize = &Initialization::deinitialize_level;
    return true;
}

void Initialization::initialize_level(void* /*userdata*/, GDExtensionInitializationLevel level) noexcept {
    if (!interface_loaded() || g_initializer == nullptr) {
        return;
    }
    try {
        g_initializer(level);
    } catch (...) {
        WARFIELD_REPORT_EXCEPTION("while registering the class");
    }
}

void Initialization::deinitialize_level(void* /*userdata*/, GDExtensionInitializationLevel level) noexcept {
    if (!interface_loaded()) {
        return;
    }
    if (g_terminator == nullptr) {
        return;
    }
    try {
        g_terminator(level);
    } catch (...) {
        WARFIELD_REPORT_EXCEPTION("while unregistering the class");
    }
}

}  // namespace warfield::gde
