#include "binding/engine_cache.h"

#include "binding/callback_trouble.h"
#include "gdextension/engine_hashes.h"
#include "gdextension/interface.h"

namespace warfield::gde {

namespace {

// A plain pointer: a static destructor would run after the engine is gone.
EngineCache* g_cache = nullptr;

GDExtensionMethodBindPtr find_bind(const hashes::EngineMethod& m) {
    const StringName cls(m.class_name);
    const StringName name(m.method);
    return api.classdb_get_method_bind(cls.ptr(), name.ptr(), m.hash);
}

EngineBinds find_binds() {
    using namespace hashes;
    EngineBinds b;
    b.engine_is_editor_hint = find_bind(kEngineIsEditorHint);
    b.node_get_viewport = find_bind(kNodeGetViewport);
    b.node_is_inside_tree = find_bind(kNodeIsInsideTree);
    b.node_get_node_or_null = find_bind(kNodeGetNodeOrNull);
    b.viewport_get_visible_rect = find_bind(kViewportGetVisibleRect);
    b.node2d_get_global_position = find_bind(kNode2DGetGlobalPosition);
    b.node2d_set_global_position = find_bind(kNode2DSetGlobalPosition);
    b.node2d_get_position = find_bind(kNode2DGetPosition);
    b.node2d_set_position = find_bind(kNode2DSetPosition);
    b.node2d_get_rotation = find_bind(kNode2DGetRotation);
    b.node2d_set_rotation = find_bind(kNode2DSetRotation);
    b.node2d_set_scale = find_bind(kNode2DSetScale);
    b.object_notification = find_bind(kObjectNotification);
    return b;
}

bool all_found(const EngineBinds& b) {
    const GDExtensionMethodBindPtr all[] = {
        b.engine_is_editor_hint,      b.node_get_viewport,          b.node_is_inside_tree,
        b.node_get_node_or_null,      b.viewport_get_visible_rect,  b.node2d_get_global_position,
        b.node2d_set_global_position, b.node2d_get_position,        b.node2d_set_position,
        b.node2d_get_rotation,        b.node2d_set_rotation,        b.node2d_set_scale,
        b.object_notification,
    };
    for (GDExtensionMethodBindPtr p : all) {
        if (p == nullptr) {
            return false;
        }
    }
    return true;
}

}  // namespace

EngineCache::EngineCache()
    : empty_name(""),
      nil(Variant::Nil{}),
      get_tree_name("get_tree"),
      connect_name("connect"),
      node_removed_name("node_removed"),
      node_renamed_name("node_renamed"),
      get_script_name("get_script"),
      get_path_name("get_path"),
      get_name_name("get_name") {
    {
        const StringName engine("Engine");
        engine_singleton = api.global_get_singleton(engine.ptr());
    }
    {
        const StringName node2d("Node2D");
        node2d_tag = api.classdb_get_class_tag(node2d.ptr());
    }
    binds = find_binds();

    child_paths.reserve(static_cast<size_t>(ChildPath::count));
    for (size_t i = 0; i < static_cast<size_t>(ChildPath::count); ++i) {
        child_paths.emplace_back(child_path_name(static_cast<ChildPath>(i)));
    }
    script_methods.reserve(static_cast<size_t>(ScriptMethod::count));
    for (size_t i = 0; i < static_cast<size_t>(ScriptMethod::count); ++i) {
        script_methods.emplace_back(script_method_name(static_cast<ScriptMethod>(i)));
    }
    complete = engine_singleton != nullptr && node2d_tag != nullptr && all_found(binds);
}

EngineCache* engine_cache() { return g_cache; }

void create_engine_cache() {
    if (g_cache == nullptr) {
        g_cache = new EngineCache();
        if (!g_cache->complete) {
            WARFIELD_REPORT_ERROR("Warfield: some engine methods were not found; the node will skip those calls.");
        }
    }
}

void destroy_engine_cache() {
    forget_callback_trouble();  // the scripts it names go with the class
    delete g_cache;
    g_cache = nullptr;
}

}  // namespace warfield::gde
