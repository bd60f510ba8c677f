// A game script's view of a Warfield node in the stand-in engine: every
// method is called the way an untyped script calls it, on the dynamic path,
// with script values (64-bit ints, 64-bit floats).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "stand_in/engine.h"
#include "stand_in/script_args.h"

namespace demo {

using stand_in::Vector2;

// What the demo's scripts register: every argument by name, with the
// defaults of a plain projectile and a hittable target.
struct ProjectileSpec : stand_in::ProjectileScriptArgs {
    ProjectileSpec() : ProjectileScriptArgs(stand_in::plain_projectile()) {}
};

struct TargetSpec : stand_in::TargetScriptArgs {
    TargetSpec() : TargetScriptArgs(stand_in::hittable_target()) {}
};

// The children a projectile scene has below its root, by their paths.
struct ProjectileScene {
    stand_in::Node2D* root = nullptr;
    stand_in::Node2D* body = nullptr;
    stand_in::Node2D* sprite = nullptr;
    stand_in::Node2D* shadow = nullptr;
    stand_in::Node2D* hit_box = nullptr;
    int64_t id() const { return static_cast<int64_t>(root->id); }
};

// Root "Projectile" under `parent`, with "ProjectileBodyNode",
// "ProjectileBodyNode/ProjectileSprite", "ShadowSprite" and "HitBox".
ProjectileScene make_projectile_scene(stand_in::Engine& engine, stand_in::Node* parent, Vector2 position);

class WarfieldScript {
public:
    explicit WarfieldScript(stand_in::Object* node) : node_(node) {}
    stand_in::Object* node() const { return node_; }

    int64_t register_projectile(const ProjectileSpec& p);
    void unregister_projectile(int64_t id);
    void set_projectile_hit_over(int64_t id, bool hit_over);
    void set_projectile_target(int64_t id, int64_t target);
    void set_projectile_grid_y(int64_t id, int64_t grid_y);
    int64_t get_active_projectile_count();

    int64_t register_target(const TargetSpec& t);
    void unregister_target(int64_t id);
    void set_target_position(int64_t id, Vector2 p);
    void set_target_die(int64_t id, bool die);
    int64_t get_active_target_count();

    int64_t register_character(int64_t node, int64_t grid_y);

    // Queries, results decoded into `out` (cleared first).
    void query_targets_in_line(int64_t camp, int64_t grid_y, int64_t flags, bool check_all_line, int64_t self_grid_y,
                               std::vector<int64_t>& out);
    void query_targets_in_range(int64_t camp, int64_t flags, Vector2 center, Vector2 range, std::vector<int64_t>& out);
    void query_targets_all(int64_t camp, int64_t flags, std::vector<int64_t>& out);
    void query_metallic_armor_targets(int64_t camp, std::vector<int64_t>& out);

    // Calls that failed on the engine's side (a wrong argument count or type).
    uint64_t failed_calls() const { return failed_; }
    uint64_t queries() const { return queries_; }

private:
    stand_in::Variant call(std::string_view method, std::initializer_list<stand_in::Variant> args);
    stand_in::Variant call(std::string_view method, const std::vector<stand_in::Variant>& args);
    void call_ids(std::string_view method, std::initializer_list<stand_in::Variant> args, std::vector<int64_t>& out);

    stand_in::Object* node_;
    uint64_t failed_ = 0;
    uint64_t queries_ = 0;
};

}  // namespace demo
