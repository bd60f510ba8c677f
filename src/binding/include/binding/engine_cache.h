// Engine names, paths, method binds and class tags the node's engine calls
// use, built once when the class is registered and released when it is
// unregistered, so no call builds a name or looks up a bind.
#pragma once

#include <vector>

#include "gdextension/builtins.h"
#include "port/host.h"

namespace warfield::gde {

struct EngineBinds {
    GDExtensionMethodBindPtr engine_is_editor_hint = nullptr;
    GDExtensionMethodBindPtr node_get_viewport = nullptr;
    GDExtensionMethodBindPtr node_is_inside_tree = nullptr;
    GDExtensionMethodBindPtr node_get_node_or_null = nullptr;
    GDExtensionMethodBindPtr viewport_get_visible_rect = nullptr;
    GDExtensionMethodBindPtr node2d_get_global_position = nullptr;
    GDExtensionMethodBindPtr node2d_set_global_position = nullptr;
    GDExtensionMethodBindPtr node2d_get_position = nullptr;
    GDExtensionMethodBindPtr node2d_set_position = nullptr;
    GDExtensionMethodBindPtr node2d_get_rotation = nullptr;
    GDExtensionMethodBindPtr node2d_set_rotation = nullptr;
    GDExtensionMethodBindPtr node2d_set_scale = nullptr;
    GDExtensionMethodBindPtr object_notification = nullptr;
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
    bool complete = false;                // every bind, tag and singleton was found
};

// Null outside the registered lifetime of the class.
EngineCache* engine_cache();
void create_engine_cache();
void destroy_engine_cache();

}  // namespace warfield::gde
