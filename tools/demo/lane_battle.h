// The headless lane battle: five rows, shooters that appear one a second and
// fire each of the five projectile kinds at targets walking in from the
// right, with the game's side played by callbacks that query targets, deal
// damage, and unregister and free finished projectiles, as a game's scripts
// would. It drives the real extension library through the stand-in engine.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "demo/warfield_script.h"

namespace demo {

struct BattleConfig {
    int frames = 1800;  // 30 s of game time
    double delta = 1.0 / 60.0;
    int max_shooters = 25;
};

struct BattleSummary {
    uint64_t frames = 0;
    uint64_t shooters = 0;
    uint64_t projectiles_fired = 0;
    uint64_t fired_by_kind[5] = {};
    uint64_t projectile_frames = 0;  // projectiles in flight, summed over frames
    uint64_t peak_in_flight = 0;
    uint64_t script_calls = 0;       // script methods the node called
    uint64_t hits = 0;
    uint64_t lands = 0;
    uint64_t overs = 0;
    uint64_t lost = 0;               // tracking shots that flew off with no target
    uint64_t targets_died_reports = 0;
    uint64_t targets_spawned = 0;
    uint64_t targets_killed = 0;
    uint64_t targets_escaped = 0;
    uint64_t queries = 0;
    uint64_t engine_calls = 0;       // interface functions the library called during frames
    uint64_t names_made_in_frames = 0;
    uint64_t strings_made_in_frames = 0;
    double physics_seconds = 0.0;    // inside the engine's physics frames
    double total_seconds = 0.0;      // including the game's own per-frame logic
    double worst_frame_seconds = 0.0;
    uint64_t failed_calls = 0;
};

class LaneBattle {
public:
    LaneBattle(stand_in::Engine& engine, const BattleConfig& config);
    void run();
    const BattleSummary& summary() const { return summary_; }

private:
    struct Shooter {
        int row;
        int kind;
        float x;
        int cooldown;
    };
    struct Target {
        int64_t slot;
        stand_in::Node2D* node;
        int row;
        float speed;
        int hp;
    };
    struct Shot {
        int64_t slot;
        stand_in::Node2D* root;
        int kind;
        int row;
        int64_t target;       // what the shooter aimed at
        bool struck = false;  // a splash already dealt
    };

    void game_frame(int frame);
    void spawn_shooter();
    void spawn_target();
    void walk_targets();
    void fire(Shooter& s);
    void define_callbacks(int64_t node);

    // The game's callbacks, by projectile node.
    void on_update_grid_pos(int64_t node);
    void on_enable_monitoring(int64_t node);
    void on_find_track_target(int64_t node);
    void on_hit_target(int64_t node);
    void end_shot(int64_t node, uint64_t& tally);

    void damage(int64_t target_node, int amount);
    // Nearest target of the row ahead of x, from the lane query; 0 if none.
    int64_t nearest_in_row(int row, float x);
    Vector2 position_of(int64_t node);
    float row_y(int row) const { return 140.0f + 110.0f * static_cast<float>(row); }
    uint32_t random();

    stand_in::Engine& engine_;
    BattleConfig config_;
    stand_in::Object* warfield_node_ = nullptr;
    WarfieldScript warfield_{nullptr};
    std::vector<Shooter> shooters_;
    std::unordered_map<int64_t, Target> targets_;  // by node id
    std::unordered_map<int64_t, Shot> shots_;      // by root node id
    std::vector<int64_t> found_;
    uint32_t seed_ = 12345;
    BattleSummary summary_;
};

}  // namespace demo
