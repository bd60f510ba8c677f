// Engine names, paths, method binds and class tags the node's engine calls
// use, built once when the class is registered and released when it is
// unregistered, so no call builds a name or looks up a bind.
#pragma once

#include <vector>

#include "gdextension/builtins.h"
#include "gdextension/engine_methods.h"
#include "port/host.h"

namespace warfield::gde {

// One bind per engine method of engine_methods.h, under its member name;
// null when the engine did not give it.
struct EngineBinds {
#define WARFIELD_BIND_FIELD(member, cls, method, hash) GDExtensionMethodBindPtr member = nullptr;
    WARFIELD_ENGINE_METHODS(WARFIELD_BIND_FIELD, WARFIELD_BIND_FIELD, WARFIELD_BIND_FIELD)
#undef WARFIELD_BIND_FIELD
};

struct EngineCache {
    EngineCache();

    StringName empty_name;
    Variant nil;
    GDExtensionObjectPtr engine_singleton = nullptr;
    void* node2d_tag = nullptr;
    EngineBinds binds;
    // Indexed by ChildPath and ScriptMethod.
    std::vector<NodePath> child_paths;
    std::vector<StringName> script_methods;
    // For hearing of changes to the tree (tree_relay.h).
    StringName get_tree_name;
    StringName connect_name;
    StringName node_removed_name;
    StringName node_renamed_name;
    // For naming what failed when a script method cannot be called
    // (callback_trouble.h).
    StringName get_script_name;
    StringName get_path_name;
    StringName get_name_name;
    // The first engine method not found, as "Class.method"; null when every
    // one was.
    const char* missing_method = nullptr;
    bool complete = false;                // every bind, tag and singleton was found
};

// Null outside the registered lifetime of the class.
EngineCache* engine_cache();
void create_engine_cache();
void destroy_engine_cache();

}  // namespace warfield::gde
