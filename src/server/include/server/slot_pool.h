// A contiguous array of fixed-layout records with a free list of released ids.
//
// Released slots keep their record and are handed out again, most recently
// released first. The slot count never shrinks. Whether a slot is released is
// tracked apart from the record's own `active` flag: a finished projectile is
// inactive but still owned by its script, and must still be releasable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "server/invariant.h"

namespace warfield {

namespace test {
struct Inspect;  // tests' view of private state (tests/support/inspect.h)
}  // namespace test

template <class Record>
class SlotPool {
public:
    // Stores a complete new record; returns its slot id.
    int32_t acquire(const Record& record) {
        if (!free_list_.empty()) {
            const int32_t id = free_list_.back();
            free_list_.pop_back();
            WARFIELD_INVARIANT(valid(id) && released_[static_cast<std::size_t>(id)] != 0,
                               "only released slots of this pool stand on the free list");
            records_[static_cast<std::size_t>(id)] = record;
            released_[static_cast<std::size_t>(id)] = 0;
            return id;
        }
        records_.push_back(record);
        released_.push_back(0);
        WARFIELD_INVARIANT(records_.size() == released_.size(), "one released flag per slot");
        return static_cast<int32_t>(records_.size() - 1);
    }

    // Clears `active` and puts the id on the free list. An id that is out of
    // range, or already released, is left alone so that no id can stand on the
    // free list twice.
    void release(int32_t id) {
        if (!valid(id) || released_[static_cast<std::size_t>(id)] != 0) return;
        records_[static_cast<std::size_t>(id)].active = false;
        released_[static_cast<std::size_t>(id)] = 1;
        free_list_.push_back(id);
    }

    bool valid(int32_t id) const { return id >= 0 && static_cast<std::size_t>(id) < records_.size(); }

    int32_t count_active() const {
        int32_t n = 0;
        for (const Record& r : records_) n += r.active ? 1 : 0;
        return n;
    }

    int32_t size() const { return static_cast<int32_t>(records_.size()); }

    // Unchecked access: callers test valid() first or hold an id that the
    // pool handed out (the pool never shrinks).
    Record& operator[](int32_t id) {
        WARFIELD_INVARIANT(valid(id), "callers check valid() or hold an id the pool handed out");
        return records_[static_cast<std::size_t>(id)];
    }
    const Record& operator[](int32_t id) const {
        WARFIELD_INVARIANT(valid(id), "callers check valid() or hold an id the pool handed out");
        return records_[static_cast<std::size_t>(id)];
    }

private:
    friend struct test::Inspect;

    std::vector<Record> records_;
    std::vector<uint8_t> released_;
    std::vector<int32_t> free_list_;
};

}  // namespace warfield
