#include "simulation/node_watch.h"

namespace warfield {

std::size_t NodeWatch::home(uint64_t id) const {
    // Fibonacci hashing: instance ids differ mostly in their low bits.
    return static_cast<std::size_t>((id * 0x9E3779B97F4A7C15ull) >> 32) & (table_.size() - 1);
}

std::size_t NodeWatch::find(uint64_t id, const Watcher* watcher) const {
    if (table_.empty()) return 0;
    const std::size_t mask = table_.size() - 1;
    for (std::size_t i = home(id);; i = (i + 1) & mask) {
        const Entry& e = table_[i];
        if (e.id == 0) return table_.size();
        if (e.id == id && (watcher == nullptr || e.watcher == *watcher)) return i;
    }
}

void NodeWatch::add(uint64_t id, Watcher watcher) {
    if (id == 0) return;
    if (2 * (used_ + 1) > table_.size()) grow();
    const std::size_t mask = table_.size() - 1;
    std::size_t i = home(id);
    while (table_[i].id != 0) i = (i + 1) & mask;
    table_[i] = {id, watcher};
    ++used_;
}

void NodeWatch::remove(uint64_t id, Watcher watcher) {
    const std::size_t i = find(id, &watcher);
    if (i < table_.size()) erase_at(i);
}

bool NodeWatch::take(uint64_t id, Watcher& watcher) {
    const std::size_t i = find(id, nullptr);
    if (i >= table_.size()) return false;
    watcher = table_[i].watcher;
    erase_at(i);
    return true;
}

void NodeWatch::erase_at(std::size_t i) {
    // Backward shift: every later entry of the run that may sit at i moves up,
    // so that no probe for it stops early at the hole.
    const std::size_t mask = table_.size() - 1;
    std::size_t hole = i;
    for (std::size_t j = (i + 1) & mask; table_[j].id != 0; j = (j + 1) & mask) {
        const std::size_t want = home(table_[j].id);
        // Movable when its home lies cyclically outside (hole, j].
        if (((j - want) & mask) >= ((j - hole) & mask)) {
            table_[hole] = table_[j];
            hole = j;
        }
    }
    table_[hole] = Entry{};
    --used_;
}

void NodeWatch::grow() {
    std::vector<Entry> old;
    old.swap(table_);
    table_.assign(old.empty() ? 64 : 2 * old.size(), Entry{});
    used_ = 0;
    for (const Entry& e : old) {
        if (e.id != 0) add(e.id, e.watcher);
    }
}

}  // namespace warfield
