#include "register/module.h"

#include "binding/class_db.h"
#include "binding/instance.h"
#include "gdextension/engine_hashes.h"
#include "register/class_reference.h"
#include "register/method_table.h"

namespace warfield {

void register_warfield_class(GDExtensionInitializationLevel level) {
    using gde::ClassDb;
    if (!ClassDb::register_class("Warfield", "Node", level)) {
        return;  // already registered
    }
    for (const gde::MethodDef& method : warfield_methods()) {
        ClassDb::bind_method(method);
    }
    ClassDb::add_property(warfield_grid_size_property());
    for (const gde::ConstantDef& constant : warfield_constants()) {
        ClassDb::bind_integer_constant(constant);
    }
    using namespace gde::hashes;
    ClassDb::bind_virtual_method("_physics_process", kNodePhysicsProcess, &gde::call_physics_process);
    ClassDb::bind_virtual_method("_ready", kNodeReady, &gde::call_ready);
}

void initialize_warfield_module(GDExtensionInitializationLevel level) {
    if (level == GDEXTENSION_INITIALIZATION_SCENE) {
        register_warfield_class(level);
    } else if (level == GDEXTENSION_INITIALIZATION_EDITOR) {
        // The editor's help reads it at this level (an export has none).
        load_class_reference();
    }
}

void uninitialize_warfield_module(GDExtensionInitializationLevel level) {
    // The class leaves with the level it was registered at.
    if (gde::ClassDb::registered_at(level)) {
        gde::ClassDb::unregister_class();
    }
}

}  // namespace warfield
