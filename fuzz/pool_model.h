// What a script that kept every slot id it was given knows about one pool:
// which ids it holds, and the order in which it released the others. From
// that alone the next registration's id is known exactly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace warfield::fuzz {

class PoolModel {
public:
    // The id the next registration must return.
    int32_t expected_next() const {
        return free_list_.empty() ? static_cast<int32_t>(held_.size()) : free_list_.back();
    }

    // Records a registration that returned the expected id.
    void acquired(int32_t id) {
        if (!free_list_.empty()) {
            free_list_.pop_back();
            held_[static_cast<std::size_t>(id)] = 1;
        } else {
            held_.push_back(1);
        }
        ++held_count_;
    }

    // Records an unregister call; ids not held change nothing.
    void released(int32_t id) {
        if (!holds(id)) return;
        held_[static_cast<std::size_t>(id)] = 0;
        free_list_.push_back(id);
        --held_count_;
    }

    bool valid(int32_t id) const { return id >= 0 && static_cast<std::size_t>(id) < held_.size(); }
    bool holds(int32_t id) const { return valid(id) && held_[static_cast<std::size_t>(id)] != 0; }
    int32_t size() const { return static_cast<int32_t>(held_.size()); }
    int32_t held_count() const { return held_count_; }
    const std::vector<int32_t>& free_list() const { return free_list_; }

    // The k-th held id (k taken modulo the held count), or -1 if none.
    int32_t nth_held(uint32_t k) const {
        if (held_count_ == 0) return -1;
        uint32_t skip = k % static_cast<uint32_t>(held_count_);
        for (std::size_t i = 0; i < held_.size(); ++i) {
            if (held_[i] == 0) continue;
            if (skip-- == 0) return static_cast<int32_t>(i);
        }
        return -1;
    }

    // The k-th released id, or -1 if none.
    int32_t nth_released(uint32_t k) const {
        if (free_list_.empty()) return -1;
        return free_list_[k % free_list_.size()];
    }

private:
    std::vector<uint8_t> held_;
    std::vector<int32_t> free_list_;
    int32_t held_count_ = 0;
};

}  // namespace warfield::fuzz
