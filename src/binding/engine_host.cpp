#include "binding/engine_host.h"

#include "binding/callback_trouble.h"

#include "gdextension/interface.h"
#include "gdextension/narrow.h"

namespace warfield::gde {

// Null handles and missing binds are answered with the "nothing there" value
// instead of reaching the engine with them.

bool EngineHost::is_editor_hint() {
    const GDExtensionMethodBindPtr bind = cache_.binds.editor_hint;
    if (bind == nullptr || cache_.engine_singleton == nullptr) {
        return false;
    }
    GDExtensionBool result = 0;
    api.object_method_bind_ptrcall(bind, cache_.engine_singleton, nullptr, &result);
    return result != 0;
}

ObjectHandle EngineHost::get_viewport() {
    const GDExtensionMethodBindPtr bind = cache_.binds.viewport;
    if (bind == nullptr || self_ == nullptr) {
        return nullptr;
    }
    GDExtensionObjectPtr viewport = nullptr;
    api.object_method_bind_ptrcall(bind, self_, nullptr, &viewport);
    return viewport;
}

Rect2 EngineHost::get_visible_rect(ObjectHandle viewport) {
    Rect2 rect{};
    const GDExtensionMethodBindPtr bind = cache_.binds.visible_rect;
    if (bind == nullptr || viewport == nullptr) {
        return rect;
    }
    api.object_method_bind_ptrcall(bind, viewport, nullptr, &rect);
    return rect;
}

ObjectHandle EngineHost::object_from_instance_id(uint64_t instance_id) {
    // We keep no wrapper objects: the engine object is its own handle.
    return api.object_get_instance_from_id(instance_id);
}

ObjectHandle EngineHost::cast_to_node2d(ObjectHandle object) {
    if (object == nullptr || cache_.node2d_tag == nullptr) {
        return nullptr;
    }
    return api.object_cast_to(object, cache_.node2d_tag);
}

bool EngineHost::is_inside_tree(ObjectHandle node) {
    const GDExtensionMethodBindPtr bind = cache_.binds.inside;
    if (bind == nullptr || node == nullptr) {
        return false;
    }
    GDExtensionBool result = 0;
    api.object_method_bind_ptrcall(bind, node, nullptr, &result);
    return result != 0;
}

ObjectHandle EngineHost::get_node_or_null(ObjectHandle node, ChildPath path) {
    const GDExtensionMethodBindPtr bind = cache_.binds.child;
    const auto index = static_cast<size_t>(path);
    if (bind == nullptr || node == nullptr || index >= cache_.child_paths.size()) {
        return nullptr;
    }
    const GDExtensionConstTypePtr args[1] = {cache_.child_paths[index].ptr()};
    GDExtensionObjectPtr child = nullptr;
    api.object_method_bind_ptrcall(bind, node, args, &child);
    return child;
}

uint64_t EngineHost::get_instance_id(ObjectHandle object) {
    return object != nullptr ? api.object_get_instance_id(object) : 0;
}

EngineHost::~EngineHost() {
    if (relay_ != nullptr) {
        relay_->watcher = nullptr;
        relay_->owner = nullptr;
    }
}

bool EngineHost::watch_tree(TreeWatcher& watcher) {
    if (relay_ != nullptr) {
        // Connected before: one connection per node and signal.
        relay_->watcher = &watcher;
        return true;
    }
    // Only a node in the tree has one to listen to (asking otherwise is an
    // engine error); _ready may be driven by a script on a node outside it.
    if (!is_inside_tree(self_)) return false;
    return connect_tree_relay(self_, cache_, watcher, &relay_) != nullptr;
}

void EngineHost::unwatch_tree(TreeWatcher& watcher) {
    // The connections stay until the node is freed; they tell no one.
    if (relay_ != nullptr && relay_->watcher == &watcher) relay_->watcher = nullptr;
}

Vector2 EngineHost::get_vector2(GDExtensionMethodBindPtr bind, ObjectHandle node2d) {
    Vector2 v{};
    if (bind == nullptr || node2d == nullptr) {
        return v;
    }
    api.object_method_bind_ptrcall(bind, node2d, nullptr, &v);
    return v;
}

void EngineHost::set_vector2(GDExtensionMethodBindPtr bind, ObjectHandle node2d, Vector2 v) {
    if (bind == nullptr || node2d == nullptr) {
        return;
    }
    const GDExtensionConstTypePtr args[1] = {&v};
    api.object_method_bind_ptrcall(bind, node2d, args, nullptr);
}

float EngineHost::get_rotation(ObjectHandle node2d) {
    const GDExtensionMethodBindPtr bind = cache_.binds.get_turn;
    if (bind == nullptr || node2d == nullptr) {
        return 0.0f;
    }
    double radians = 0.0;  // a float result travels as double
    api.object_method_bind_ptrcall(bind, node2d, nullptr, &radians);
    return narrow_to_float(radians);
}

void EngineHost::set_rotation(ObjectHandle node2d, float radians) {
    const GDExtensionMethodBindPtr bind = cache_.binds.set_turn;
    if (bind == nullptr || node2d == nullptr) {
        return;
    }
    const double wide = radians;
    const GDExtensionConstTypePtr args[1] = {&wide};
    api.object_method_bind_ptrcall(bind, node2d, args, nullptr);
}

bool EngineHost::invoke(ObjectHandle object, ScriptMethod method, void* result) {
    const auto index = static_cast<size_t>(method);
    if (object == nullptr || index >= cache_.script_methods.size()) {
        return false;
    }
    // The engine's Object.call without the bind in between: the same
    // Object::callp, so the same lookup of script and native methods.
    GDExtensionCallError error{GDEXTENSION_CALL_OK, 0, 0};
    api.object_call_script_method(object, cache_.script_methods[index].ptr(), nullptr, 0, result, &error);
    if (kReportCallbackTrouble && is_callback_trouble(error)) report_callback_trouble(object, method, error, cache_);
    return true;
}

void EngineHost::call(ObjectHandle object, ScriptMethod method) {
    VariantStorage result;
    if (invoke(object, method, result.ptr())) api.variant_destroy(result.ptr());
}

bool EngineHost::call_bool(ObjectHandle object, ScriptMethod method) {
    VariantStorage result;
    if (!invoke(object, method, result.ptr())) return false;
    const bool value = api.variant_booleanize(result.ptr()) != 0;
    api.variant_destroy(result.ptr());
    return value;
}

}  // namespace warfield::gde
