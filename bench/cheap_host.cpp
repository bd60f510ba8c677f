#include "cheap_host.h"

#include <cstdlib>

namespace warfield::bench {

uint64_t CheapHost::add_node() {
    // Growing past the reserve would move every node under the core's feet.
    if (nodes_.size() == nodes_.capacity()) std::abort();
    nodes_.emplace_back();
    return nodes_.size();
}

uint64_t CheapHost::add_projectile_scene() {
    const uint64_t root = add_node();
    for (std::size_t p = 0; p < static_cast<std::size_t>(ChildPath::count); ++p) {
        const uint64_t child = add_node();
        node(root).children[p] = &node(child);
    }
    return root;
}

uint64_t CheapHost::script_calls() const {
    uint64_t n = 0;
    for (const CheapNode& node : nodes_) n += node.script_calls;
    return n;
}

}  // namespace warfield::bench
