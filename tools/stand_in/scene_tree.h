// The scene tree: parent and children by name, entering and leaving the
// tree, the ready notification (once, children first), the physics frame
// and deferred deletion. The root is a Viewport that is always in the tree;
// the SceneTree object beside it emits node_added, node_removed and
// node_renamed from these operations where the engine does (signals.h).
#pragma once

#include <cstdint>
#include <string_view>

#include "stand_in/objects.h"

namespace stand_in {

// Hashes the engine passes when it looks a Node virtual up.
namespace virtual_hash {
inline constexpr uint32_t kNoArgs = 3218959716;        // _ready, _enter_tree, _exit_tree
inline constexpr uint32_t kDelta = 373806689;          // _process, _physics_process (float delta)
inline constexpr uint32_t kInputEvent = 3754044979;    // _input and the other input callbacks
}  // namespace virtual_hash

Viewport* scene_root();
SceneTree* scene_tree();
// The SceneTree and its root.
void create_scene_root();
// SceneTree::finalize, then the tree itself goes: the deletion queue is
// flushed, the whole tree leaves (each node reported), the root and its
// children are freed, and the tree's remaining connections are dropped.
void destroy_scene_root();

// Node::add_child, remove_child, reparent and set_name; false (and an
// engine error) when the engine would refuse. add_child names a child whose
// name is empty or taken "@Class@N" unless asked for a readable name, which
// set_name always gives ("Name2", "Name3", ...).
bool add_child(Node* parent, Node* child, bool force_readable_name = false);
bool remove_child(Node* parent, Node* child);
bool reparent(Node* node, Node* new_parent, bool keep_global_transform = true);
void set_node_name(Node* node, std::string_view name);
// Node::get_node_or_null: "A/B", "..", "." and absolute "/root/..." paths.
Node* find_node(Node* from, std::string_view path);

Transform2D global_transform(Node2D* node);
void set_global_position(Node2D* node, Vector2 position);
void set_global_transform(Node2D* node, const Transform2D& transform);

// One physics frame: _physics_process(delta) on every node in the tree that
// processes physics, in tree order; then the deletion queue is flushed.
void physics_frame(double delta);
void queue_free(Node* node);
void flush_deletion_queue();

}  // namespace stand_in
