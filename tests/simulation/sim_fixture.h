// A Warfield node on a fake scene, with the helpers the frame tests share.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "fake_host.h"
#include "server/warfield.h"
#include "simulation/physics_frame.h"

namespace warfield::test {

constexpr double kFrame = 1.0 / 60.0;

class SimTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (const std::string& v : host.violations()) ADD_FAILURE() << v;
    }

    // _ready on the default 1280x720 viewport: the play area is x in
    // [-100, 1380), y in [0, 720).
    void ready() { _ready(w, host); }
    void frame(double delta = kFrame) { _physics_process(w, host, delta); }
    void frames(int n, double delta = kFrame) {
        for (int i = 0; i < n; ++i) frame(delta);
    }

    // A projectile on a full scene whose root stands at `at`.
    int32_t spawn(ProjectileDef a, const ProjectileScene& scene, Vector2 at = {}) {
        host.place(scene.root, at);
        a.node_instance_id = scene.root;
        return w.register_projectile(a);
    }

    const ProjectileState& rec(int32_t id) { return w.projectiles()[id]; }
    Vector2 pos(uint64_t node) { return host.global_position_of(node); }
    Vector2 local(uint64_t node) { return host.node(node).position; }
    float rotation(uint64_t node) { return host.node(node).rotation; }
    std::vector<ScriptMethod> calls(uint64_t node) { return host.script_calls(node); }

    FakeHost host;
    Warfield w;
};

// The delta a frame passes to the steps.
inline float narrow(double d) { return static_cast<float>(d); }

}  // namespace warfield::test
