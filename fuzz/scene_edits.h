// The fuzzer's changes to its scene, made as scripts and the engine make
// them: projectile-shaped nodes, and children renamed, moved, replaced or
// taken out of the tree while the core may still remember them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "fake_host.h"

namespace warfield::fuzz {

using test::FakeHost;
using SceneNode = FakeHost::Node;

// Past this many nodes the scene takes no more, bounding every input's work.
inline constexpr std::size_t kSceneNodeLimit = 256;

// A root with the children named in child_mask (bit i for ChildPath i; the
// sprite only with the body); those in odd_children_mask are no Node2D.
// Null when the scene is full.
SceneNode* spawn(FakeHost& scene, bool is_node2d, bool in_tree, uint8_t child_mask, uint8_t odd_children_mask);

// The child of root at path, kept alive: renamed (so no path finds it),
// moved below another root (at the same path there, when that is free), or
// freed and replaced by a new node of the same name.
void rename_child(FakeHost& scene, const SceneNode& root, ChildPath path);
void reparent_child(FakeHost& scene, const SceneNode& root, ChildPath path, const SceneNode& new_root);
void replace_child(FakeHost& scene, const SceneNode& root, ChildPath path);

// As in the engine, only a node without a parent enters or leaves the tree
// by itself; a child leaves it by being removed from its parent.
void set_in_tree(FakeHost& scene, SceneNode& node, bool in_tree);

}  // namespace warfield::fuzz
