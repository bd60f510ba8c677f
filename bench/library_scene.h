// The real extension library loaded in the stand-in engine, with one kind of
// projectile flying, and a meter of the engine calls its frames make.
#pragma once

#include <cstdint>
#include <string>

#include "call_budget.h"
#include "demo/warfield_script.h"
#include "stand_in/counters.h"
#include "stand_in/engine.h"
#include "stand_in/strings.h"

namespace warfield::bench {

// WARFIELD_LIBRARY from the environment, else the library of this build.
std::string library_path();

// `live` projectiles of `kind` (0 to 4) flying as in scenes.cpp, every
// script method of theirs defined and doing nothing.
struct LibraryScene {
    LibraryScene(int kind, int32_t live);

    // The engine's call of the node's _physics_process, without the walk of
    // the scene tree that decides whom to call.
    void frame();

    stand_in::Engine engine;
    bool loaded = false;
    stand_in::Object* node = nullptr;
    demo::WarfieldScript script{nullptr};
    int32_t live;
};

// What the library asked of the engine between start() and stop().
struct EngineCallCount {
    OpCounts per_pf{};          // by op, per projectile-frame
    double interface_per_pf = 0.0;
    double ptrcalls_per_pf = 0.0;
    double bind_calls_per_pf = 0.0;       // object_method_bind_call
    double variant_destroys_per_pf = 0.0;
    double other_per_pf = 0.0;            // every other interface function
    uint64_t names_made = 0;
    bool texts_unchanged = true;          // no String, StringName or NodePath left behind
};

class EngineCallMeter {
public:
    void start();
    // Each frame's fixed cost (its one Engine.is_editor_hint) taken off.
    EngineCallCount stop(uint64_t frames, int32_t live) const;

private:
    stand_in::Counters before_;
    stand_in::LiveTexts texts_{};
};

// "" when the count is what the rules prescribe for the kind.
std::string budget_differences(int kind, const EngineCallCount& c);

}  // namespace warfield::bench
