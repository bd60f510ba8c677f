#include "demo/lane_battle.h"

#include <chrono>
#include <cmath>
#include <string>

#include "stand_in/counters.h"

namespace demo {

namespace {

using Clock = std::chrono::steady_clock;

enum Kind : int { kStraight, kLob, kArc, kTracking, kCatapult };

// Flight times of the kinds that come down, from the speeds and gravities
// given below: the shooter leads its target by them.
constexpr float kLobTime = 1.0f;       // y_speed -400 under 800
constexpr float kArcTime = 1.0f;       // y_speed -300 under 600
constexpr float kCatapultTime = 0.8f;  // y_speed -800 under the fixed 2000

stand_in::Variant nil() { return stand_in::Variant(); }

}  // namespace

LaneBattle::LaneBattle(stand_in::Engine& engine, const BattleConfig& config) : engine_(engine), config_(config) {
    warfield_node_ = engine_.instantiate("Warfield");
    if (warfield_node_ != nullptr) engine_.add_child(engine_.root(), static_cast<stand_in::Node*>(warfield_node_));
    warfield_ = WarfieldScript(warfield_node_);
}

uint32_t LaneBattle::random() {
    seed_ = seed_ * 1664525u + 1013904223u;
    return seed_ >> 8;
}

void LaneBattle::run() {
    if (warfield_node_ == nullptr) return;
    const uint64_t script_calls_before = stand_in::counters().script_calls;
    for (int frame = 0; frame < config_.frames; ++frame) {
        const auto t0 = Clock::now();
        game_frame(frame);

        summary_.projectile_frames += shots_.size();
        if (shots_.size() > summary_.peak_in_flight) summary_.peak_in_flight = shots_.size();
        const stand_in::Counters before = stand_in::counters();
        const auto t1 = Clock::now();
        engine_.physics_frame(config_.delta);
        const auto t2 = Clock::now();
        const stand_in::Counters& after = stand_in::counters();

        summary_.engine_calls += after.interface_total() - before.interface_total();
        summary_.names_made_in_frames += after.string_names_made - before.string_names_made;
        summary_.strings_made_in_frames +=
            after.of(stand_in::Fn::string_new_with_utf8_chars) - before.of(stand_in::Fn::string_new_with_utf8_chars) +
            after.of(stand_in::Fn::string_new_with_latin1_chars) - before.of(stand_in::Fn::string_new_with_latin1_chars);
        const double physics = std::chrono::duration<double>(t2 - t1).count();
        summary_.physics_seconds += physics;
        summary_.total_seconds += std::chrono::duration<double>(t2 - t0).count();
        if (physics > summary_.worst_frame_seconds) summary_.worst_frame_seconds = physics;
        ++summary_.frames;
    }
    summary_.script_calls = stand_in::counters().script_calls - script_calls_before;
    summary_.shooters = shooters_.size();
    summary_.queries = warfield_.queries();
    summary_.failed_calls = warfield_.failed_calls();
}

// The game's own scripts, run before the node's physics frame.
void LaneBattle::game_frame(int frame) {
    if (frame % 60 == 0 && static_cast<int>(shooters_.size()) < config_.max_shooters) spawn_shooter();
    if (frame % 10 == 0) spawn_target();
    walk_targets();
    for (Shooter& s : shooters_) {
        if (--s.cooldown > 0) continue;
        const uint64_t fired = summary_.projectiles_fired;
        fire(s);
        // Shooters without anything to aim at look again shortly.
        s.cooldown = summary_.projectiles_fired > fired ? 30 : 10;
    }
}

void LaneBattle::spawn_shooter() {
    const int n = static_cast<int>(shooters_.size());
    Shooter s{n % 5, (n + n / 5) % 5, 80.0f + 60.0f * static_cast<float>(n / 5), 1 + n % 30};
    stand_in::Node2D* node = engine_.make_node2d("Shooter", {s.x, row_y(s.row)});
    engine_.add_child(engine_.root(), node);
    warfield_.register_character(static_cast<int64_t>(node->id), s.row);
    shooters_.push_back(s);
}

void LaneBattle::spawn_target() {
    const int row = static_cast<int>(summary_.targets_spawned * 3 % 5);
    stand_in::Node2D* node = engine_.make_node2d("Target", {1300.0f, row_y(row)});
    engine_.add_child(engine_.root(), node);
    const bool armored = summary_.targets_spawned % 5 == 4;
    engine_.set_script_method(node, "has_metallic_armor", [armored](stand_in::Object&) { return stand_in::Variant(armored); });
    TargetSpec request;
    request.node_instance_id = static_cast<int64_t>(node->id);
    request.grid_y = row;
    request.all_line_check = summary_.targets_spawned % 7 == 6;
    request.global_position_x = node->position.x;
    request.global_position_y = node->position.y;
    const int64_t slot = warfield_.register_target(request);
    targets_[request.node_instance_id] = Target{slot, node, row, 15.0f + static_cast<float>(random() % 20), armored ? 16 : 8};
    ++summary_.targets_spawned;
}

void LaneBattle::walk_targets() {
    std::vector<int64_t> escaped;
    for (auto& [id, t] : targets_) {
        t.node->position.x -= t.speed * static_cast<float>(config_.delta);
        warfield_.set_target_position(t.slot, t.node->position);
        if (t.node->position.x < 40.0f) escaped.push_back(id);
    }
    for (const int64_t id : escaped) {
        const Target& t = targets_[id];
        warfield_.unregister_target(t.slot);
        stand_in::queue_free(t.node);
        targets_.erase(id);
        ++summary_.targets_escaped;
    }
}

Vector2 LaneBattle::position_of(int64_t node) {
    if (const auto it = targets_.find(node); it != targets_.end()) return it->second.node->position;
    if (stand_in::Node2D* n = stand_in::as_node2d(stand_in::object_by_id(static_cast<uint64_t>(node)))) {
        return stand_in::global_transform(n).origin;
    }
    return {};
}

int64_t LaneBattle::nearest_in_row(int row, float x) {
    warfield_.query_targets_in_line(0, row, 1, false, row, found_);
    int64_t best = 0;
    float best_x = 1e30f;
    for (const int64_t id : found_) {
        const float tx = position_of(id).x;
        if (tx > x && tx < best_x) {
            best = id;
            best_x = tx;
        }
    }
    return best;
}

void LaneBattle::fire(Shooter& s) {
    const Vector2 from{s.x + 20.0f, row_y(s.row)};
    int64_t target = 0;
    if (s.kind == kTracking) {
        warfield_.query_targets_all(1, 1, found_);
        float best = 1e30f;
        for (const int64_t id : found_) {
            const Vector2 p = position_of(id);
            const float d = (p.x - from.x) * (p.x - from.x) + (p.y - from.y) * (p.y - from.y);
            if (d < best) {
                best = d;
                target = id;
            }
        }
    } else if (s.kind == kCatapult) {
        // Catapults go for armour first.
        warfield_.query_metallic_armor_targets(0, found_);
        for (const int64_t id : found_) {
            const auto it = targets_.find(id);
            if (it != targets_.end() && it->second.row == s.row && it->second.node->position.x > from.x) target = id;
        }
        if (target == 0) target = nearest_in_row(s.row, from.x);
    } else {
        target = nearest_in_row(s.row, from.x);
    }
    if (target == 0) return;

    const Target& aim = targets_[target];
    const auto lead = [&](float t) { return (aim.node->position.x - aim.speed * t - from.x) / t; };
    ProjectileScene scene = make_projectile_scene(engine_, engine_.root(), from);
    ProjectileSpec p;
    p.node_instance_id = scene.id();
    p.type = s.kind;
    p.grid_y = s.row;
    p.save_pos = from;
    // The kinds that come down lead their target by their flight time.
    const auto thrown = [&](float flight_time, double y_speed) {
        p.velocity = {lead(flight_time), 0.0f};
        p.y_speed = y_speed;
    };
    switch (s.kind) {
        case kStraight:
            p.velocity = {300.0f, 0.0f};
            p.fire_length = 1.0;
            p.check_distance = 1300.0;
            p.rotate_follow_velocity = true;
            break;
        case kLob:
            thrown(kLobTime, -400.0);
            p.gravity_val = 800.0;
            p.rotate_scale = 3.0;
            break;
        case kArc:
            thrown(kArcTime, -300.0);
            p.gravity_val = 600.0;
            p.rotate_follow_velocity = true;
            break;
        case kTracking:
            p.velocity = {250.0f, 0.0f};
            p.speed = 250.0;
            p.target_instance_id = target;
            break;
        case kCatapult:
            thrown(kCatapultTime, -800.0);  // under the library's fixed gravity
            p.rotate_follow_velocity = true;
            break;
        default: break;
    }
    const int64_t slot = warfield_.register_projectile(p);
    shots_[p.node_instance_id] = Shot{slot, scene.root, s.kind, s.row, target};
    define_callbacks(p.node_instance_id);
    ++summary_.projectiles_fired;
    ++summary_.fired_by_kind[s.kind];
}

void LaneBattle::define_callbacks(int64_t node) {
    stand_in::Object* root = stand_in::object_by_id(static_cast<uint64_t>(node));
    const auto on = [&](const char* name, auto fn) {
        engine_.set_script_method(root, name, [this, node, fn](stand_in::Object&) {
            fn(this, node);
            return nil();
        });
    };
    on("update_grid_pos", [](LaneBattle* b, int64_t n) { b->on_update_grid_pos(n); });
    on("check_shooter_height", [](LaneBattle*, int64_t) {});
    on("over_from_extension", [](LaneBattle* b, int64_t n) { b->end_shot(n, b->summary_.overs); });
    on("land_from_extension", [](LaneBattle* b, int64_t n) { b->end_shot(n, b->summary_.lands); });
    on("enable_monitoring", [](LaneBattle* b, int64_t n) { b->on_enable_monitoring(n); });
    on("disable_monitoring", [](LaneBattle*, int64_t) {});
    on("hit_target_from_extension", [](LaneBattle* b, int64_t n) { b->on_hit_target(n); });
    on("target_died_from_extension", [](LaneBattle* b, int64_t) { ++b->summary_.targets_died_reports; });
    on("find_track_target", [](LaneBattle* b, int64_t n) { b->on_find_track_target(n); });
}

void LaneBattle::end_shot(int64_t node, uint64_t& tally) {
    const auto it = shots_.find(node);
    if (it == shots_.end()) return;  // already ended earlier in this step
    ++tally;
    warfield_.unregister_projectile(it->second.slot);
    stand_in::queue_free(it->second.root);
    shots_.erase(it);
}

void LaneBattle::on_update_grid_pos(int64_t node) {
    const auto it = shots_.find(node);
    if (it == shots_.end()) return;
    const Shot shot = it->second;
    const Vector2 pos = position_of(node);
    if (shot.kind == kStraight) {
        warfield_.query_targets_in_line(0, shot.row, 1, false, shot.row, found_);
        for (const int64_t id : found_) {
            if (std::fabs(position_of(id).x - pos.x) < 25.0f) {
                damage(id, 2);
                warfield_.set_projectile_hit_over(shot.slot, true);
                end_shot(node, summary_.hits);
                return;
            }
        }
        return;
    }
    if (shot.kind == kTracking) {
        const long row = std::lround((pos.y - row_y(0)) / 110.0f);
        warfield_.set_projectile_grid_y(shot.slot, row < 0 ? 0 : row > 4 ? 4 : row);
        if (pos.x > 1400.0f || pos.x < -120.0f || pos.y < 0.0f || pos.y > 720.0f) end_shot(node, summary_.lost);
    }
}

void LaneBattle::on_enable_monitoring(int64_t node) {
    const auto it = shots_.find(node);
    if (it == shots_.end() || it->second.struck) return;
    const Shot shot = it->second;
    const Vector2 pos = position_of(node);
    if (shot.kind == kArc) {
        warfield_.query_targets_in_range(0, 1, pos, {25.0f, 25.0f}, found_);
        if (found_.empty()) return;
        damage(found_.front(), 3);
        warfield_.set_projectile_hit_over(shot.slot, true);
        end_shot(node, summary_.hits);
        return;
    }
    // Lobs and catapults splash once on the way down.
    warfield_.query_targets_in_range(0, 1, pos, {35.0f, 35.0f}, found_);
    it->second.struck = true;
    if (found_.empty()) return;
    const std::vector<int64_t> struck = found_;
    for (const int64_t id : struck) damage(id, 3);
    ++summary_.hits;
}

void LaneBattle::on_find_track_target(int64_t node) {
    const auto it = shots_.find(node);
    if (it == shots_.end()) return;
    warfield_.query_targets_all(1, 1, found_);
    if (found_.empty()) return;
    it->second.target = found_.front();
    warfield_.set_projectile_target(it->second.slot, found_.front());
}

void LaneBattle::on_hit_target(int64_t node) {
    const auto it = shots_.find(node);
    if (it == shots_.end()) return;
    damage(it->second.target, 4);
    end_shot(node, summary_.hits);
}

void LaneBattle::damage(int64_t target_node, int amount) {
    const auto it = targets_.find(target_node);
    if (it == targets_.end()) return;
    Target& t = it->second;
    t.hp -= amount;
    if (t.hp > 0) return;
    warfield_.set_target_die(t.slot, true);
    warfield_.unregister_target(t.slot);
    stand_in::queue_free(t.node);
    targets_.erase(it);
    ++summary_.targets_killed;
}

}  // namespace demo
