#include "invariants.h"
#include "inspect.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "simulation/node_cache.h"

namespace warfield::fuzz {
namespace {

std::string at(const char* pool, int32_t id, const char* what) {
    return std::string(pool) + " slot " + std::to_string(id) + ": " + what;
}

// The part of the check common to all pools. active_must_equal_held: the
// record's active flag is exactly "held"; otherwise it only implies it.
template <class Record>
std::string check_pool(const char* name, const SlotPool<Record>& pool, const PoolModel& model, int32_t reported,
                       bool active_must_equal_held) {
    if (pool.size() != model.size()) {
        return std::string(name) + " slot count " + std::to_string(pool.size()) + ", expected " +
               std::to_string(model.size());
    }
    if (test::Inspect::free_list(pool) != model.free_list()) return std::string(name) + " free list differs from the releases made";
    int32_t active = 0;
    for (int32_t id = 0; id < pool.size(); ++id) {
        const bool held = model.holds(id);
        if (test::Inspect::is_released(pool, id) == held) return at(name, id, held ? "held id marked released" : "released id not marked");
        const bool on = pool[id].active;
        active += on ? 1 : 0;
        if (active_must_equal_held ? on != held : (on && !held)) {
            return at(name, id, on ? "active but released" : "held but not active");
        }
    }
    if (reported != active) {
        return std::string(name) + " active count " + std::to_string(reported) + ", recount " + std::to_string(active);
    }
    return {};
}

bool same_list(const SlotList* a, const SlotList* b) {
    if (a == nullptr || b == nullptr) return a == b;
    return std::equal(a->begin(), a->end(), b->begin(), b->end());
}

std::string compare_table(const char* name, const SlotListTable& actual, const SlotListTable& fresh,
                          const SlotPool<TargetState>& pool, int32_t TargetState::*key) {
    if (test::Inspect::key_count(actual) != test::Inspect::key_count(fresh)) {
        return std::string(name) + " has " + std::to_string(test::Inspect::key_count(actual)) + " keys, a rebuild " +
               std::to_string(test::Inspect::key_count(fresh));
    }
    // Equal key counts and equal lists for every key of the rebuild leave no
    // room for a stray key in the actual table.
    std::unordered_set<int32_t> seen;
    for (int32_t id = 0; id < pool.size(); ++id) {
        if (!pool[id].active) continue;
        const int32_t k = pool[id].*key;
        if (!seen.insert(k).second) continue;
        if (!same_list(actual.find(k), fresh.find(k))) {
            return std::string(name) + " list under key " + std::to_string(k) + " differs from a rebuild";
        }
    }
    return {};
}

template <class Keep>
std::string check_result(const char* query, const Warfield& w, const InstanceIdList& result, Keep keep) {
    const auto& pool = w.targets();
    // A target appears at most twice (row walk and the other-rows scan).
    if (result.size() > 2 * static_cast<std::size_t>(pool.size())) {
        return std::string(query) + " returned more ids than two per target slot";
    }
    if (result.empty()) return {};
    // Several slots may share one instance id: any of them may be the match.
    std::unordered_map<uint64_t, std::vector<int32_t>> slots_of;
    for (int32_t id = 0; id < pool.size(); ++id) slots_of[pool[id].node_instance_id].push_back(id);
    for (uint64_t instance_id : result) {
        bool found = false;
        const auto it = slots_of.find(instance_id);
        if (it != slots_of.end()) {
            for (int32_t id : it->second) found = found || (pool[id].active && keep(pool[id]));
        }
        if (!found) {
            return std::string(query) + " returned " + std::to_string(instance_id) +
                   ", which names no active target that passes its filters";
        }
    }
    return {};
}

}  // namespace

std::string check_projectile_pool(const Warfield& w, const PoolModel& model) {
    const auto& pool = w.projectiles();
    std::string e = check_pool("projectile", pool, model, w.get_active_projectile_count(), false);
    if (!e.empty()) return e;
    for (int32_t id = 0; id < pool.size(); ++id) {
        if (pool[id].active && pool[id].hit_over) return at("projectile", id, "active with hit_over set");
    }
    return {};
}

std::string check_character_pool(const Warfield& w, const PoolModel& model) {
    return check_pool("character", w.characters(), model, w.get_active_character_count(), true);
}

std::string check_target_pool(const Warfield& w, const PoolModel& model) {
    return check_pool("target", w.targets(), model, w.get_active_target_count(), true);
}

std::string check_ground_item_pool(const Warfield& w, const PoolModel& model) {
    return check_pool("ground item", w.ground_items(), model, w.get_active_ground_item_count(), true);
}

std::string check_index_matches_rebuild(const Warfield& w) {
    if (test::Inspect::target_index_dirty(w)) return "target index still dirty after a frame";
    const SlotPool<TargetState> copy = w.targets();
    TargetIndex fresh;
    fresh.rebuild(copy);
    std::string e = compare_table("targets_by_grid_y", w.target_index().targets_by_grid_y, fresh.targets_by_grid_y,
                                  copy, &TargetState::grid_y);
    if (!e.empty()) return e;
    return compare_table("targets_by_camp", w.target_index().targets_by_camp, fresh.targets_by_camp, copy,
                         &TargetState::camp);
}

bool hittable(const TargetState& t, int32_t collision_flags) {
    return t.active && !t.die && !t.near_die && !t.invincible && t.can_be_collection && !t.is_crater &&
           (t.mask_flags & collision_flags) != 0;
}

std::string check_line_result(const Warfield& w, const InstanceIdList& result, int32_t camp, int32_t flags) {
    return check_result("query_targets_in_line", w, result,
                        [&](const TargetState& t) { return hittable(t, flags) && t.camp != camp; });
}

std::string check_range_result(const Warfield& w, const InstanceIdList& result, int32_t camp, int32_t flags,
                               float cx, float cy, float rx, float ry) {
    const float left = cx - rx, right = cx + rx, top = cy - ry, bottom = cy + ry;
    return check_result("query_targets_in_range", w, result, [&](const TargetState& t) {
        return hittable(t, flags) && t.camp != camp && left <= t.global_position_x && t.global_position_x <= right &&
               top <= t.global_position_y && t.global_position_y <= bottom;
    });
}

std::string check_all_result(const Warfield& w, const InstanceIdList& result, int32_t flags) {
    return check_result("query_targets_all", w, result, [&](const TargetState& t) { return hittable(t, flags); });
}

StoreSnapshot snapshot_store(const Warfield& w) {
    return {snapshot(w.projectiles()), snapshot(w.characters()), snapshot(w.targets()), snapshot(w.ground_items()),
            test::Inspect::target_index_dirty(w), w.frame().frame_count};
}

std::string check_node_memory(const Warfield& w, const test::FakeHost& scene) {
    const NodeCache* remembered = existing_node_cache(w.frame());
    if (remembered == nullptr) return {};  // the node never entered the tree
    const NodeCache& cache = *remembered;
    std::size_t settled = 0;
    for (std::size_t slot = 0; slot < cache.slot_count(); ++slot) {
        const ProjectileNodes& n = *cache.find(static_cast<int32_t>(slot));
        const auto is_set = [&](Role r) { return (n.settled & bit_of(r)) != 0; };
        for (std::size_t r = 0; r < static_cast<std::size_t>(Role::count); ++r) settled += is_set(static_cast<Role>(r));
        const std::string where = "slot " + std::to_string(slot) + ": ";
        for (const Role r : {Role::root, Role::target}) {
            if (!is_set(r)) continue;
            const auto* node = static_cast<const test::FakeHost::Node*>(r == Role::root ? n.root.object : n.target.object);
            if (node == nullptr || node->freed || !scene.in_tree(*node)) return where + "a settled root or target left the tree";
        }
        const auto* root = static_cast<const test::FakeHost::Node*>(n.root.object);
        for (std::size_t p = 0; p < kChildPaths; ++p) {
            const auto path = static_cast<ChildPath>(p);
            if (!is_set(role_of(path))) continue;
            if (root == nullptr || root->freed) return where + "a settled child outlived its root";
            if (scene.child_at(*root, path) != n.children[p].object) {
                return where + "a settled child is no longer what its path leads to";
            }
        }
    }
    if (settled != cache.watched()) return "the watched nodes are not the settled ones";
    return {};
}

}  // namespace warfield::fuzz
