#include "binding/engine_cache.h"

#include <cstdio>

#include "binding/callback_trouble.h"
#include "gdextension/interface.h"

namespace warfield::gde {

namespace {

// A plain pointer: a static destructor would run after the engine is gone.
EngineCache* g_cache = nullptr;

GDExtensionMethodBindPtr find_bind(const char* class_name, const char* method, GDExtensionInt hash) {
    const StringName cls(class_name);
    const StringName name(method);
    return api.classdb_get_method_bind(cls.ptr(), name.ptr(), hash);
}

EngineBinds find_binds() {
    EngineBinds b;
#define WARFIELD_FIND_BIND(member, cls, method, hash) b.member = find_bind(#cls, #method, hash);
    WARFIELD_ENGINE_METHODS(WARFIELD_FIND_BIND, WARFIELD_FIND_BIND, WARFIELD_FIND_BIND)
#undef WARFIELD_FIND_BIND
    return b;
}

const char* first_missing(const EngineBinds& b) {
#define WARFIELD_CHECK_BIND(member, cls, method, hash) \
    if (b.member == nullptr) return #cls "." #method;
    WARFIELD_ENGINE_METHODS(WARFIELD_CHECK_BIND, WARFIELD_CHECK_BIND, WARFIELD_CHECK_BIND)
#undef WARFIELD_CHECK_BIND
    return nullptr;
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
    missing_method = first_missing(binds);
    complete = engine_singleton != nullptr && node2d_tag != nullptr && missing_method == nullptr;
}

EngineCache* engine_cache() { return g_cache; }

void create_engine_cache() {
    if (g_cache == nullptr) {
        g_cache = new EngineCache();
        if (g_cache->missing_method != nullptr) {
            // The first one named, as a missing interface function is.
            char message[192];
            std::snprintf(message, sizeof message,
                          "Warfield: the engine method %s was not found with its 4.5 hash; the node will skip "
                          "the calls that need it.",
                          g_cache->missing_method);
            WARFIELD_REPORT_ERROR(message);
        } else if (!g_cache->complete) {
            WARFIELD_REPORT_ERROR(
                "Warfield: the Engine singleton or the Node2D class was not found; the node will skip the calls "
                "that need them.");
        }
    }
}

void destroy_engine_cache() {
    forget_callback_trouble();  // the scripts it names go with the class
    delete g_cache;
    g_cache = nullptr;
}

}  // namespace warfield::gde
