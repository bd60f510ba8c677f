// Carries the scene tree's node_removed and node_renamed signals to a
// TreeWatcher: one custom Callable, bound to the Warfield node (so the engine
// drops both connections when the node is freed), connected to both signals.
#pragma once

#include "gdextension/gde_abi.h"
#include "port/host.h"

namespace warfield::gde {

struct EngineCache;

// Owned by the engine's Callable (freed with its last copy). The host that
// made it and the watcher detach themselves when they go first.
struct TreeRelay {
    TreeWatcher* watcher = nullptr;
    TreeRelay** owner = nullptr;  // cleared when the relay is freed
};

// Connects a new relay for `watcher` to the tree `node` is in; null when the
// engine cannot (no tree, no custom callables, a refused connection).
TreeRelay* connect_tree_relay(GDExtensionObjectPtr node, const EngineCache& cache, TreeWatcher& watcher,
                              TreeRelay** owner);

}  // namespace warfield::gde
