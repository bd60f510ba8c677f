// A game script's view of a Warfield node in the stand-in engine: every
// method is called the way an untyped script calls it, on the dynamic path,
// with script values (64-bit ints, 64-bit floats).
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "host/engine.h"
#include "host/script_args.h"

namespace demo {

using whost::Vector2;

// What the demo's scripts register: every argument by name, with the
// defaults of a plain projectile and a hittable target.
struct ProjectileSpec : whost::ProjectileScriptArgs {
    ProjectileSpec() : ProjectileScriptArgs(whost::plain_projectile()) {}
};

struct TargetSpec : whost::TargetScriptArgs {
    TargetSpec() : TargetScriptArgs(whost::hittable_target()) {}
};

// The children a projectile scene has below its root, by their paths.
struct ProjectileScene {
    whost::Node2D* root = nullptr;
    whost::Node2D* body = nullptr;
    whost::Node2D* sprite = nullptr;
    whost::Node2D* shadow = nullptr;
    whost::Node2D* hit_box = nullptr;
    int64_t id() const { return static_cast<int64_t>(root->id); }
};

// Root "Projectile" under `parent`, with "ProjectileBodyNode",
// "ProjectileBodyNode/ProjectileSprite", "ShadowSprite" and "HitBox".
ProjectileScene make_projectile_scene(whost::Engine& engine, whost::Node* parent, Vector2 position);

class WarfieldScript {
public:
    explicit WarfieldScript(whost::Object* node) : node_(node) {}
    whost::Object* node() const { return node_; }

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
    whost::Variant call(std::string_view method, std::initializer_list<whost::Variant> args);
    whost::Variant call(std::string_view method, const std::vector<whost::Variant>& args);
    void call_ids(std::string_view method, std::initializer_list<whost::Variant> args, std::vector<int64_t>& out);

    whost::Object* node_;
    uint64_t failed_ = 0;
    uint64_t queries_ = 0;
};

}  // namespace demo
