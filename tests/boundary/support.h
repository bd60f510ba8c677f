// Shared fixture of the boundary tests: a stand-in engine with the real
// extension library loaded, a Warfield node, and both call paths (typed,
// dynamic) for any bound method, with script values as Variants.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "stand_in/engine.h"
#include "stand_in/script_args.h"

namespace boundary {

using stand_in::CallResult;
using stand_in::Node;
using stand_in::Node2D;
using stand_in::Object;
using stand_in::Rect2;
using stand_in::Variant;
using stand_in::Vector2;
using stand_in::Vector2i;

// The built library: WARFIELD_LIBRARY in the environment, else the build's.
std::string library_path();
// Whether that is a release library (by its file name), which reports no
// callback trouble.
bool release_library();

enum class Path { typed, dynamic };
const char* path_name(Path p);

// Script values of each register method, by argument; defaults make a live,
// hittable, unremarkable record.
struct TargetArgs : stand_in::TargetScriptArgs {
    TargetArgs() : TargetScriptArgs(stand_in::hittable_target()) {}
};

struct ProjectileArgs : stand_in::ProjectileScriptArgs {
    ProjectileArgs() : ProjectileScriptArgs(stand_in::plain_projectile()) {}
};

std::vector<Variant> character_values(int64_t node);
std::vector<Variant> ground_item_values(int64_t node);

// A projectile scene as the game builds it: a Node2D root with the four
// children the node moves, all in the tree.
struct ProjectileScene {
    Node2D* root = nullptr;
    Node2D* body = nullptr;
    Node2D* sprite = nullptr;
    Node2D* shadow = nullptr;
    Node2D* hitbox = nullptr;
    int64_t id() const { return static_cast<int64_t>(root->id); }
};

class BoundaryTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // The engine the test runs in: a 4.5 one unless a fixture says otherwise.
    virtual stand_in::Engine::Options options() const { return {}; }

    // A Warfield node added under the root (so _ready has run).
    Object* add_warfield();
    ProjectileScene add_projectile_scene(Vector2 position);
    Node2D* add_node2d(const char* name, Vector2 position, Node* parent = nullptr);

    CallResult call(Object* o, const char* method, const std::vector<Variant>& args);
    // The typed path: each value encoded as the method declares it.
    void ptrcall(Object* o, const char* method, const std::vector<Variant>& args, void* ret);

    // Either path, results decoded.
    int64_t call_int(Path p, Object* o, const char* method, const std::vector<Variant>& args);
    void call_void(Path p, Object* o, const char* method, const std::vector<Variant>& args);
    Vector2 call_vector2(Path p, Object* o, const char* method, const std::vector<Variant>& args);
    std::vector<int64_t> call_ids(Path p, Object* o, const char* method, const std::vector<Variant>& args);

    int64_t count(Object* w, const char* method) { return call_int(Path::typed, w, method, {}); }
    void frame(double delta = 1.0 / 60.0) { engine->physics_frame(delta); }

    std::unique_ptr<stand_in::Engine> engine;
    // Tests that provoke engine errors on purpose clear this.
    bool expect_clean_log = true;
};

// Elements of an Array Variant, as ints.
std::vector<int64_t> ints_of(const Variant& array);

}  // namespace boundary
