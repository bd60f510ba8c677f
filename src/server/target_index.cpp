#include "server/target_index.h"

#include <algorithm>

namespace warfield {

namespace {

// Spreads nearby keys (consecutive rows, small camp numbers) across buckets.
uint32_t mix(int32_t key) {
    uint32_t x = static_cast<uint32_t>(key);
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

constexpr std::size_t kMinBuckets = 16;

}  // namespace

SlotListTable::SlotListTable(const SlotListTable& other)
    : buckets_(other.buckets_), entries_(other.entries_), slots_(other.slots_), stamp_(other.stamp_) {
    publish();
}

SlotListTable& SlotListTable::operator=(const SlotListTable& other) {
    if (this != &other) {
        buckets_ = other.buckets_;
        entries_ = other.entries_;
        slots_ = other.slots_;
        stamp_ = other.stamp_;
        publish();
    }
    return *this;
}

const SlotList* SlotListTable::find(int32_t key) const {
    if (buckets_.empty()) return nullptr;
    const std::size_t mask = buckets_.size() - 1;
    // The hash is at most half full, so the probe always meets a free bucket.
    for (std::size_t i = mix(key) & mask;; i = (i + 1) & mask) {
        const Bucket& b = buckets_[i];
        if (b.stamp != stamp_) return nullptr;
        if (b.key == key) return &entries_[b.entry].list;
    }
}

void SlotListTable::reset() {
    entries_.clear();
    slots_.clear();
    if (++stamp_ == 0) {
        // After 2^32 rebuilds old stamps could match again.
        std::fill(buckets_.begin(), buckets_.end(), Bucket{});
        stamp_ = 1;
    }
}

uint32_t SlotListTable::intern(int32_t key) {
    if ((entries_.size() + 1) * 2 > buckets_.size()) grow();
    const std::size_t mask = buckets_.size() - 1;
    std::size_t i = mix(key) & mask;
    for (; buckets_[i].stamp == stamp_; i = (i + 1) & mask) {
        if (buckets_[i].key == key) return buckets_[i].entry;
    }
    const auto entry = static_cast<uint32_t>(entries_.size());
    entries_.push_back(Entry{key, 0, 0, {}});
    buckets_[i] = Bucket{stamp_, key, entry};
    return entry;
}

void SlotListTable::grow() {
    const std::size_t size = std::max(kMinBuckets, buckets_.size() * 2);
    buckets_.assign(size, Bucket{});
    stamp_ = 1;
    const std::size_t mask = size - 1;
    for (uint32_t entry = 0; entry < entries_.size(); ++entry) {
        std::size_t i = mix(entries_[entry].key) & mask;
        while (buckets_[i].stamp == stamp_) i = (i + 1) & mask;
        buckets_[i] = Bucket{stamp_, entries_[entry].key, entry};
    }
}

void SlotListTable::lay_out() {
    uint32_t offset = 0;
    for (Entry& e : entries_) {
        e.begin = offset;
        offset += e.count;
        e.count = 0;
    }
    slots_.resize(offset);
}

void SlotListTable::publish() {
    for (Entry& e : entries_) {
        WARFIELD_INVARIANT(e.begin + e.count <= slots_.size(), "every list lies inside the shared slots");
        e.list = SlotList(slots_.data() + e.begin, e.count);
    }
}

void TargetIndex::rebuild(const SlotPool<TargetState>& targets) {
    SlotListTable& rows = targets_by_grid_y;
    SlotListTable& camps = targets_by_camp;
    rows.reset();
    camps.reset();
    staged_.clear();

    // Count each key's targets first so that every list lands contiguous and
    // in ascending slot order. Neighbouring slots often share a camp or a row,
    // so the last entry is reused before probing (entry indices survive growth).
    const int32_t n = targets.size();
    bool any = false;
    int32_t last_row_key = 0;
    int32_t last_camp_key = 0;
    uint32_t row = 0;
    uint32_t camp = 0;
    for (int32_t slot = 0; slot < n; ++slot) {
        const TargetState& t = targets[slot];
        if (!t.active) continue;
        if (!any || t.grid_y != last_row_key) row = rows.intern(last_row_key = t.grid_y);
        if (!any || t.camp != last_camp_key) camp = camps.intern(last_camp_key = t.camp);
        any = true;
        ++rows.entries_[row].count;
        ++camps.entries_[camp].count;
        staged_.push_back(Staged{slot, row, camp});
    }
    rows.lay_out();
    camps.lay_out();
    for (const Staged& s : staged_) {
        rows.place(s.row_entry, s.slot);
        camps.place(s.camp_entry, s.slot);
    }
    rows.publish();
    camps.publish();
    // Every active target is filed once under its row and once under its
    // camp: both tables hold exactly the staged slots.
    WARFIELD_INVARIANT(rows.slots_.size() == staged_.size() && camps.slots_.size() == staged_.size(),
                       "each active target is filed once per table");
    target_index_dirty = false;
}

}  // namespace warfield
