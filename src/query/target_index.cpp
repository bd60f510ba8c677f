#include "query/target_index.h"

#include <iterator>

namespace warfield {

const std::vector<int32_t>* SlotListTable::find(int32_t key) const {
    const auto it = lists_.find(key);
    if (it == lists_.end() || it->second.empty()) return nullptr;
    return &it->second;
}

void SlotListTable::append(int32_t key, int32_t slot) {
    std::vector<int32_t>& list = lists_[key];
    if (list.empty()) ++live_keys_;
    list.push_back(slot);
}

void SlotListTable::clear() {
    // Keys that stayed empty through a whole rebuild are dropped once they
    // outnumber the live ones, so a script cycling through many distinct keys
    // cannot grow the table without bound.
    const std::size_t dead = lists_.size() - live_keys_;
    if (dead > 2 * live_keys_ + 64) {
        for (auto it = lists_.begin(); it != lists_.end();) {
            it = it->second.empty() ? lists_.erase(it) : std::next(it);
        }
    }
    for (auto& entry : lists_) entry.second.clear();
    live_keys_ = 0;
}

void TargetIndex::rebuild(const SlotPool<TargetState>& targets) {
    targets_by_grid_y.clear();
    targets_by_camp.clear();
    const int32_t n = targets.size();
    for (int32_t slot = 0; slot < n; ++slot) {
        const TargetState& t = targets[slot];
        if (!t.active) continue;
        targets_by_grid_y.append(t.grid_y, slot);
        targets_by_camp.append(t.camp, slot);
    }
    target_index_dirty = false;
}

}  // namespace warfield
