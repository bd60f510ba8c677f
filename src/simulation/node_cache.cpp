#include "simulation/node_cache.h"

#include <memory>

namespace warfield {

bool NodeCache::watch(Host& host) {
    if (host_ == &host) return true;
    stop_watching();
    if (!host.watch_tree(*this)) return false;
    host_ = &host;
    return true;
}

void NodeCache::stop_watching() {
    if (host_ == nullptr) return;
    host_->unwatch_tree(*this);
    tree_gone();
}

void NodeCache::tree_gone() {
    host_ = nullptr;
    // Reports stop here, so nothing remembered can be relied on any more.
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        unsettle(static_cast<int32_t>(i), Role::root);  // and the children below it
        unsettle(static_cast<int32_t>(i), Role::target);
    }
}

void NodeCache::settle(int32_t slot, Role role) {
    ProjectileNodes& nodes = at(slot);
    if ((nodes.settled & bit_of(role)) != 0) return;
    nodes.settled = static_cast<uint8_t>(nodes.settled | bit_of(role));
    watch_.add(nodes.node(role).id, watcher_of(slot, role));
}

void NodeCache::unsettle(int32_t slot, Role role) {
    const auto i = static_cast<std::size_t>(slot);
    if (i >= slots_.size()) return;
    ProjectileNodes& nodes = slots_[i];
    if ((nodes.settled & bit_of(role)) != 0) {
        nodes.settled = static_cast<uint8_t>(nodes.settled & ~bit_of(role));
        watch_.remove(nodes.node(role).id, watcher_of(slot, role));
    }
    // Paths run through the root, and the sprite's through the body.
    if (role == Role::root) {
        for (std::size_t p = 0; p < kChildPaths; ++p) unsettle(slot, role_of(static_cast<ChildPath>(p)));
    } else if (role == role_of(ChildPath::projectile_body)) {
        unsettle(slot, role_of(ChildPath::projectile_sprite));
    }
}

void NodeCache::node_changed(uint64_t instance_id) {
    Watcher w = 0;
    while (watch_.take(instance_id, w)) {
        const auto slot = static_cast<int32_t>(w / 8u);
        const auto role = static_cast<Role>(w % 8u);
        ProjectileNodes& nodes = at(slot);
        // Already taken from the table: clear the bit, then the dependants.
        nodes.settled = static_cast<uint8_t>(nodes.settled & ~bit_of(role));
        unsettle(slot, role);
    }
}

NodeCache& node_cache_of(FrameState& frame) {
    if (frame.node_memory == nullptr) frame.node_memory = std::make_unique<NodeCache>();
    return static_cast<NodeCache&>(*frame.node_memory);
}

NodeCache* existing_node_cache(FrameState& frame) { return static_cast<NodeCache*>(frame.node_memory.get()); }

const NodeCache* existing_node_cache(const FrameState& frame) {
    return static_cast<const NodeCache*>(frame.node_memory.get());
}

}  // namespace warfield
