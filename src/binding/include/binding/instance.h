// The extension-side instance behind each engine Warfield object.
#pragma once

#include "binding/engine_cache.h"
#include "binding/engine_host.h"
#include "binding/scratch_lists.h"
#include "server/warfield.h"

namespace warfield::gde {

struct WarfieldInstance {
    WarfieldInstance(GDExtensionObjectPtr owner_object, const EngineCache& cache)
        : owner(owner_object), host(owner_object, cache) {}

    GDExtensionObjectPtr owner;
    EngineHost host;
    Warfield core;
    ScratchLists scratch;
};

inline WarfieldInstance* as_instance(GDExtensionClassInstancePtr p) { return static_cast<WarfieldInstance*>(p); }

// Class callbacks for instance creation and release.
GDExtensionObjectPtr create_instance(void* class_userdata, GDExtensionBool notify_postinitialize) noexcept;
void free_instance(void* class_userdata, GDExtensionClassInstancePtr instance) noexcept;

// Engine callbacks the class overrides, in the engine's virtual-call form:
// arguments arrive as pointers to typed-call values.
void call_physics_process(GDExtensionClassInstancePtr instance, const GDExtensionConstTypePtr* args,
                          GDExtensionTypePtr r_ret) noexcept;
void call_ready(GDExtensionClassInstancePtr instance, const GDExtensionConstTypePtr* args,
                GDExtensionTypePtr r_ret) noexcept;

}  // namespace warfield::gde
