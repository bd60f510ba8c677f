#include "scene_edits.h"

namespace warfield::fuzz {

SceneNode* spawn(FakeHost& scene, bool is_node2d, bool in_tree, uint8_t child_mask, uint8_t odd_children_mask) {
    constexpr std::size_t kChildren = static_cast<std::size_t>(ChildPath::count);
    if (scene.nodes().size() + 1 + kChildren > kSceneNodeLimit) return nullptr;
    SceneNode& root = scene.node(scene.add_node(is_node2d));
    scene.set_in_tree(root.id, in_tree);
    for (std::size_t i = 0; i < kChildren; ++i) {
        if ((child_mask & (1u << i)) == 0) continue;
        const auto path = static_cast<ChildPath>(i);
        const SceneNode* parent = &root;
        if (path == ChildPath::projectile_sprite) parent = scene.child_at(root, ChildPath::projectile_body);
        if (parent != nullptr) scene.add_child(parent->id, child_name(path), (odd_children_mask & (1u << i)) == 0);
    }
    return &root;
}

void rename_child(FakeHost& scene, const SceneNode& root, ChildPath path) {
    if (const SceneNode* child = scene.child_at(root, path)) scene.rename(child->id, "Renamed");
}

void reparent_child(FakeHost& scene, const SceneNode& root, ChildPath path, const SceneNode& new_root) {
    const SceneNode* child = scene.child_at(root, path);
    if (child == nullptr || new_root.freed || &new_root == &root || scene.child_at(new_root, path) != nullptr) {
        return;
    }
    const SceneNode* parent = &new_root;
    if (path == ChildPath::projectile_sprite) parent = scene.child_at(new_root, ChildPath::projectile_body);
    if (parent == nullptr) return;
    // A node cannot move below its own subtree.
    for (const SceneNode* up = parent; up != nullptr; up = up->parent) {
        if (up == child) return;
    }
    scene.reparent(child->id, parent->id);
}

void replace_child(FakeHost& scene, const SceneNode& root, ChildPath path) {
    const SceneNode* child = scene.child_at(root, path);
    if (child == nullptr || scene.nodes().size() >= kSceneNodeLimit) return;
    const uint64_t parent = child->parent->id;
    const bool node2d = child->node2d;
    scene.free_node(child->id);
    // Placed unlike the old one, so that a stale handle would show.
    scene.node(scene.add_child(parent, child_name(path), node2d)).position = {1.0f, 2.0f};
}

void set_in_tree(FakeHost& scene, SceneNode& node, bool in_tree) {
    if (node.freed) return;
    if (node.parent == nullptr) {
        scene.set_in_tree(node.id, in_tree);
    } else if (!in_tree) {
        scene.reparent(node.id, 0);
    }
}

}  // namespace warfield::fuzz
