#include "cheap_host.h"

#include <cstdlib>

namespace warfield::bench {

uint64_t CheapHost::add_node() {
    // Growing past the reserve would move every node under the core's feet.
    if (nodes_.size() == nodes_.capacity()) std::abort();
    const uint64_t id = nodes_.size() + 1;
    nodes_.emplace_back().id = id;
    return id;
}

uint64_t CheapHost::add_projectile_scene() {
    const uint64_t root = add_node();
    for (std::size_t p = 0; p < static_cast<std::size_t>(ChildPath::count); ++p) {
        const uint64_t child = add_node();
        node(root).children[p] = &node(child);
        node(child).name = static_cast<ChildPath>(p);
        node(child).parent = &node(root);
    }
    // The sprite sits below the body.
    node(root).children[static_cast<std::size_t>(ChildPath::projectile_sprite)]->parent =
        node(root).children[static_cast<std::size_t>(ChildPath::projectile_body)];
    return root;
}

uint64_t CheapHost::script_calls() const {
    uint64_t n = 0;
    for (const CheapNode& node : nodes_) n += node.script_calls;
    return n;
}

}  // namespace warfield::bench
