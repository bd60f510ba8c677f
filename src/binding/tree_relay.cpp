#include "binding/tree_relay.h"

#include <new>

#include "binding/engine_cache.h"
#include "gdextension/interface.h"

namespace warfield::gde {

namespace {

// Called by the engine with the node the signal names.
void relay_call(void* userdata, const GDExtensionConstVariantPtr* args, GDExtensionInt count,
                GDExtensionVariantPtr /*r_return*/, GDExtensionCallError* r_error) {
    if (r_error != nullptr) *r_error = {GDEXTENSION_CALL_OK, 0, 0};
    const auto* relay = static_cast<const TreeRelay*>(userdata);
    if (relay == nullptr || relay->watcher == nullptr || count < 1 || args == nullptr || args[0] == nullptr) return;
    if (api.variant_get_type(args[0]) != GDEXTENSION_VARIANT_TYPE_OBJECT) return;
    GDExtensionObjectPtr node = nullptr;
    api.object_from_variant(&node, const_cast<GDExtensionVariantPtr>(args[0]));
    if (node == nullptr) return;
    try {
        relay->watcher->node_changed(api.object_get_instance_id(node));
    } catch (...) {
        WARFIELD_REPORT_EXCEPTION("hearing of a change to the tree");
    }
}

void relay_free(void* userdata) {
    auto* relay = static_cast<TreeRelay*>(userdata);
    if (relay == nullptr) return;
    if (relay->owner != nullptr) *relay->owner = nullptr;
    delete relay;
}

bool connect(VariantStorage& tree, const EngineCache& cache, const StringName& signal, VariantStorage& callable) {
    VariantStorage name;
    api.variant_from_string_name(name.ptr(), const_cast<void*>(signal.ptr()));
    const GDExtensionConstVariantPtr args[2] = {name.ptr(), callable.ptr()};
    VariantStorage result;
    bool ok = call_dynamic(tree, cache.connect_name, args, 2, result);
    GDExtensionInt code = -1;
    if (ok && api.variant_get_type(result.ptr()) == GDEXTENSION_VARIANT_TYPE_INT) api.int_from_variant(&code, result.ptr());
    ok = ok && code == 0;  // OK
    api.variant_destroy(result.ptr());
    api.variant_destroy(name.ptr());
    return ok;
}

bool can_relay() {
    return api.variant_call != nullptr && api.callable_custom_create2 != nullptr && api.variant_from_object != nullptr &&
           api.variant_from_callable != nullptr && api.object_from_variant != nullptr &&
           api.callable_destroy != nullptr;
}

}  // namespace

TreeRelay* connect_tree_relay(GDExtensionObjectPtr node, const EngineCache& cache, TreeWatcher& watcher,
                              TreeRelay** owner) {
    if (node == nullptr || owner == nullptr || !can_relay()) return nullptr;
    VariantStorage self;
    api.variant_from_object(self.ptr(), &node);
    VariantStorage tree;
    const bool found = call_dynamic(self, cache.get_tree_name, nullptr, 0, tree);
    api.variant_destroy(self.ptr());
    if (!found || api.variant_get_type(tree.ptr()) != GDEXTENSION_VARIANT_TYPE_OBJECT) {
        api.variant_destroy(tree.ptr());
        return nullptr;
    }

    auto* relay = new (std::nothrow) TreeRelay{&watcher, owner};
    if (relay == nullptr) {
        api.variant_destroy(tree.ptr());
        return nullptr;
    }
    *owner = relay;  // from here on the engine may free it
    GDExtensionCallableCustomInfo2 info{};
    info.callable_userdata = relay;
    info.token = api.library;
    info.object_id = api.object_get_instance_id(node);
    info.call_func = relay_call;
    info.free_func = relay_free;
    alignas(8) unsigned char callable[kCallableSize];
    api.callable_custom_create2(callable, &info);
    VariantStorage callable_value;
    api.variant_from_callable(callable_value.ptr(), callable);
    api.callable_destroy(callable);

    const bool connected = connect(tree, cache, cache.node_removed_name, callable_value) &&
                           connect(tree, cache, cache.node_renamed_name, callable_value);
    // The connections now hold the relay; without them this was its last copy.
    api.variant_destroy(callable_value.ptr());
    api.variant_destroy(tree.ptr());
    if (!connected && *owner != nullptr) (*owner)->watcher = nullptr;  // one signal alone would miss changes
    return connected ? *owner : nullptr;
}

}  // namespace warfield::gde
