// The SceneTree's signals as the engine keeps them: connecting and
// disconnecting callables, emitting to them, and dropping connections when
// either end is freed. node_added, node_removed and node_renamed are
// modelled; the scene operations (scene_tree.h) emit them where the engine
// does. Also the two dynamic calls an extension makes to reach them:
// Node.get_tree and SceneTree.connect through variant_call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "gdextension/gde_abi.h"
#include "stand_in/objects.h"

namespace stand_in {

// The engine's Error values the host answers with.
inline constexpr int64_t kOk = 0;
inline constexpr int64_t kErrInvalidParameter = 31;

// Object.ConnectFlags.
inline constexpr uint32_t kConnectDeferred = 1;
inline constexpr uint32_t kConnectPersist = 2;
inline constexpr uint32_t kConnectOneShot = 4;
inline constexpr uint32_t kConnectReferenceCounted = 8;
inline constexpr uint32_t kConnectAppendSourceObject = 16;

// The tree signals the host emits.
inline constexpr const char* kNodeAdded = "node_added";
inline constexpr const char* kNodeRemoved = "node_removed";
inline constexpr const char* kNodeRenamed = "node_renamed";

// Object::connect on the tree: the engine's Error, its message logged on
// failure. `callable` points at a Callable value.
int64_t connect_signal(SceneTree* tree, std::string_view signal, const void* callable, uint32_t flags = 0);
// Object::disconnect: a reference-counted connection goes with its last
// disconnect. False, with the engine's error, when there is no connection.
bool disconnect_signal(SceneTree* tree, std::string_view signal, const void* callable);
// Connections of one tree signal (a reference-counted one counts once).
size_t connection_count(const SceneTree* tree, std::string_view signal);

// SceneTree::node_added and friends: every connected callable is called
// with the node, in connect order, unless the tree's signals are blocked.
void emit_tree_signal(const char* signal, Node* node);

// What the Object destructor does with connections: those of the object's
// own signals go, then those whose callable names the object. The object is
// still registered when this runs.
void drop_connections_of(Object* o);

// variant_call on an OBJECT Variant. Node.get_tree and SceneTree.connect
// are modelled (a script method of that name is called instead, as
// Object::callp does); anything else is refused as not modelled. `ret`
// holds a constructed Variant (nil).
void object_variant_call(const void* self, std::string_view method, const void* const* args, int64_t count,
                         VariantData* ret, GDExtensionCallError& error);

}  // namespace stand_in
