#include "binding/instance.h"

#include <cstring>
#include <new>

#include "binding/class_db.h"
#include "simulation/physics_frame.h"
#include "gdextension/interface.h"

namespace warfield::gde {

namespace {

// Delivers NOTIFICATION_POSTINITIALIZE to the engine object, which
// classdb_construct_object2 leaves undelivered (Node clears its
// "in constructor" state on it).
void notify_postinitialize(GDExtensionObjectPtr object, const EngineCache& cache) {
    const GDExtensionMethodBindPtr bind = cache.binds.notification;
    if (bind == nullptr) {
        return;
    }
    const GDExtensionInt what = WARFIELD_NOTIFICATION_POSTINITIALIZE;
    const GDExtensionBool reversed = 0;
    const GDExtensionConstTypePtr args[2] = {&what, &reversed};
    api.object_method_bind_ptrcall(bind, object, args, nullptr);
}

}  // namespace

GDExtensionObjectPtr create_instance(void* class_userdata, GDExtensionBool notify) noexcept {
    const ClassRecord* record = static_cast<const ClassRecord*>(class_userdata);
    const EngineCache* cache = engine_cache();
    if (record == nullptr || cache == nullptr) {
        return nullptr;
    }
    GDExtensionObjectPtr object = api.classdb_construct_object2(record->parent_name.ptr());
    if (object == nullptr) {
        return nullptr;
    }
    WarfieldInstance* instance = nullptr;
    try {
        instance = new WarfieldInstance(object, *cache);
    } catch (...) {
        WARFIELD_REPORT_EXCEPTION("creating the node");
        api.object_destroy(object);
        return nullptr;
    }
    api.object_set_instance(object, record->class_name.ptr(), instance);
    if (notify != 0) {
        notify_postinitialize(object, *cache);
    }
    return object;
}

void free_instance(void* /*class_userdata*/, GDExtensionClassInstancePtr instance) noexcept {
    delete as_instance(instance);
}

void call_physics_process(GDExtensionClassInstancePtr p, const GDExtensionConstTypePtr* args,
                          GDExtensionTypePtr /*r_ret*/) noexcept {
    WarfieldInstance* self = as_instance(p);
    if (self == nullptr || args == nullptr || args[0] == nullptr) {
        return;
    }
    double delta = 0.0;
    std::memcpy(&delta, args[0], sizeof delta);
    try {
        _physics_process(self->core, self->host, delta);
    } catch (...) {
        WARFIELD_REPORT_EXCEPTION("in the physics frame");
    }
}

void call_ready(GDExtensionClassInstancePtr p, const GDExtensionConstTypePtr* /*args*/,
                GDExtensionTypePtr /*r_ret*/) noexcept {
    WarfieldInstance* self = as_instance(p);
    if (self == nullptr) {
        return;
    }
    try {
        _ready(self->core, self->host);
    } catch (...) {
        WARFIELD_REPORT_EXCEPTION("in _ready");
    }
}

}  // namespace warfield::gde
