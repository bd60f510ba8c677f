// The Warfield node's state, free of any engine binding: the four record
// pools, the target index and the frame's own state, with the methods that
// register, release, change and count records.
//
// The frame (simulation/physics_frame.h) and the queries
// (query/target_queries.h) are free functions over this state; the binding
// calls them and the methods below directly.
#pragma once

#include <cstdint>
#include <vector>

#include "server/character_state.h"
#include "server/ground_item_state.h"
#include "server/math_types.h"
#include "server/projectile_state.h"
#include "server/slot_pool.h"
#include "server/target_index.h"
#include "server/target_state.h"
#include "server/frame_state.h"

namespace warfield {

// Query results: instance ids, appended in the order found.
using InstanceIdList = std::vector<uint64_t>;

class Warfield {
public:
    int32_t register_projectile(const ProjectileDef& def) { return add(projectiles_, def); }
    int32_t register_character(const CharacterDef& def) { return add(characters_, def); }
    int32_t register_target(const TargetDef& def);
    int32_t register_ground_item(const GroundItemDef& def) { return add(ground_items_, def); }

    void unregister_projectile(int32_t id) { projectiles_.release(id); }
    void unregister_character(int32_t id) { characters_.release(id); }
    void unregister_target(int32_t id);
    void unregister_ground_item(int32_t id) { ground_items_.release(id); }

    // Every setter: `set<&TargetState::camp>(id, camp)` stores the value in
    // that record field of slot `id`, with the field's kOnSet effect; more
    // members set more fields at once. An id the pool never handed out
    // changes nothing.
    template <auto Member, auto... More>
    void set(int32_t id, FieldValue<Member> value, FieldValue<More>... more) {
        auto& pool = pool_in<FieldRecord<Member>>(*this);
        if (!pool.valid(id)) return;
        store<Member>(pool[id], value);
        (store<More>(pool[id], more), ...);
    }

    int32_t get_active_projectile_count() const { return projectiles_.count_active(); }
    int32_t get_active_character_count() const { return characters_.count_active(); }
    int32_t get_active_target_count() const { return targets_.count_active(); }
    int32_t get_active_ground_item_count() const { return ground_items_.count_active(); }

    // The grid_size property: stored for scripts, read by nothing else.
    void set_grid_size(Vector2 size) { grid_size_ = size; }
    Vector2 get_grid_size() const { return grid_size_; }

    SlotPool<ProjectileState>& projectiles() { return projectiles_; }
    const SlotPool<ProjectileState>& projectiles() const { return projectiles_; }
    const SlotPool<CharacterState>& characters() const { return characters_; }
    const SlotPool<TargetState>& targets() const { return targets_; }
    const SlotPool<GroundItemState>& ground_items() const { return ground_items_; }
    TargetIndex& target_index() { return index_; }
    const TargetIndex& target_index() const { return index_; }
    FrameState& frame() { return frame_; }
    const FrameState& frame() const { return frame_; }

private:
    friend struct test::Inspect;

    template <class State, class Def>
    static int32_t add(SlotPool<State>& pool, const Def& def) {
        State r;
        static_cast<Def&>(r) = def;
        r.active = true;
        return pool.acquire(r);
    }

    template <class Record, class Self>
    static auto& pool_in(Self& self) {
        if constexpr (std::is_base_of_v<Record, ProjectileState>) return self.projectiles_;
        else if constexpr (std::is_base_of_v<Record, CharacterState>) return self.characters_;
        else if constexpr (std::is_base_of_v<Record, TargetState>) return self.targets_;
        else {
            static_assert(std::is_base_of_v<Record, GroundItemState>, "no pool holds this record");
            return self.ground_items_;
        }
    }

    template <auto Member, class State>
    void store(State& r, FieldValue<Member> value) {
        if constexpr (kOnSet<Member> == OnSet::reindex_if_changed) {
            if (r.*Member == value) return;
            index_.target_index_dirty = true;
        }
        r.*Member = value;
        if constexpr (kOnSet<Member> == OnSet::finish_if_true) {
            if (value) r.active = false;
        }
    }

    SlotPool<ProjectileState> projectiles_;
    SlotPool<CharacterState> characters_;
    SlotPool<TargetState> targets_;
    TargetIndex index_;  // targets_by_grid_y, targets_by_camp, target_index_dirty
    SlotPool<GroundItemState> ground_items_;
    FrameState frame_;
    Vector2 grid_size_{80.0f, 98.0f};
};

}  // namespace warfield
