#include "register/module.h"

#include "binding/class_registry.h"
#include "binding/instance.h"
#include "register/method_table.h"

namespace warfield {

void register_warfield_class(GDExtensionInitializationLevel level) {
    using gde::ClassRegistry;
    if (!ClassRegistry::register_class("Warfield", "Node", level)) {
        return;  // already registered
    }
    for (const gde::MethodDef& method : warfield_methods()) {
        ClassRegistry::bind_method(method);
    }
    ClassRegistry::add_property(warfield_grid_size_property());
    ClassRegistry::bind_virtual_method("_physics_process", kPhysicsProcessHash, &gde::call_physics_process);
    ClassRegistry::bind_virtual_method("_ready", kReadyHash, &gde::call_ready);
}

void initialize_warfield_module(GDExtensionInitializationLevel level) {
    if (level == GDEXTENSION_INITIALIZATION_SCENE) {
        register_warfield_class(level);
    }
}

void uninitialize_warfield_module(GDExtensionInitializationLevel /*level*/) {
    // Nothing of ours to undo: the binding unregisters the class with its level.
}

}  // namespace warfield
