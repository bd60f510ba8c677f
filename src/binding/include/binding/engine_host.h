// The core's view of the engine, over the extension interface. One engine
// call per operation (a script call also destroys its result Variant), with
// every name, path and bind taken from the EngineCache.
#pragma once

#include "binding/engine_cache.h"
#include "binding/tree_relay.h"
#include "port/host.h"

namespace warfield::gde {

class EngineHost final : public Host {
public:
    EngineHost(GDExtensionObjectPtr self, const EngineCache& cache) : self_(self), cache_(cache) {}
    ~EngineHost() override;
    EngineHost(const EngineHost&) = delete;
    EngineHost& operator=(const EngineHost&) = delete;

    bool is_editor_hint() override;
    ObjectHandle get_viewport() override;
    Rect2 get_visible_rect(ObjectHandle viewport) override;

    ObjectHandle object_from_instance_id(uint64_t instance_id) override;
    ObjectHandle cast_to_node2d(ObjectHandle object) override;
    bool is_inside_tree(ObjectHandle node) override;
    ObjectHandle get_node_or_null(ObjectHandle node, ChildPath path) override;
    uint64_t get_instance_id(ObjectHandle object) override;
    // Through the scene tree's node_removed and node_renamed signals.
    bool watch_tree(TreeWatcher& watcher) override;
    void unwatch_tree(TreeWatcher& watcher) override;

    Vector2 get_global_position(ObjectHandle node2d) override { return get_vector2(cache_.binds.get_global, node2d); }
    void set_global_position(ObjectHandle node2d, Vector2 p) override {
        set_vector2(cache_.binds.set_global, node2d, p);
    }
    Vector2 get_position(ObjectHandle node2d) override { return get_vector2(cache_.binds.get_local, node2d); }
    void set_position(ObjectHandle node2d, Vector2 p) override { set_vector2(cache_.binds.set_local, node2d, p); }
    float get_rotation(ObjectHandle node2d) override;
    void set_rotation(ObjectHandle node2d, float radians) override;
    void set_scale(ObjectHandle node2d, Vector2 s) override { set_vector2(cache_.binds.set_scale, node2d, s); }

    void call(ObjectHandle object, ScriptMethod method) override;
    bool call_bool(ObjectHandle object, ScriptMethod method) override;

private:
    Vector2 get_vector2(GDExtensionMethodBindPtr bind, ObjectHandle node2d);
    void set_vector2(GDExtensionMethodBindPtr bind, ObjectHandle node2d, Vector2 v);
    // Object::callp(method) into `result` (24 bytes the engine constructs);
    // false, with nothing constructed, when there is nothing to call.
    bool invoke(ObjectHandle object, ScriptMethod method, void* result);

    GDExtensionObjectPtr self_;
    const EngineCache& cache_;
    TreeRelay* relay_ = nullptr;  // the engine owns it; cleared when it is freed
};

}  // namespace warfield::gde
