// Runs the lane battle against the built extension library and prints what
// happened. Exits non-zero if the battle did not run cleanly: an engine
// error, a refused call, a leak, names built during frames, or a full-length
// battle without a hit, a landing and a projectile leaving play.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "demo/lane_battle.h"

#ifndef WARFIELD_LIBRARY_PATH
#define WARFIELD_LIBRARY_PATH ""
#endif

namespace {

void usage() { std::fprintf(stderr, "usage: warfield_lane_battle [--frames N] [--library PATH]\n"); }

}  // namespace

int main(int argc, char** argv) {
    demo::BattleConfig config;
    std::string library = WARFIELD_LIBRARY_PATH;
    if (const char* env = std::getenv("WARFIELD_LIBRARY"); env != nullptr && *env != '\0') library = env;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc) {
            config.frames = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--library") == 0 && i + 1 < argc) {
            library = argv[++i];
        } else {
            usage();
            return 2;
        }
    }
    if (config.frames <= 0 || library.empty()) {
        usage();
        return 2;
    }

    demo::BattleSummary s;
    stand_in::Engine::Leaks leaks;
    size_t engine_errors = 0;
    {
        stand_in::Engine engine;
        engine.set_visible_rect({{0.0f, 0.0f}, {1280.0f, 720.0f}});
        if (!engine.load(library)) {
            std::fprintf(stderr, "lane battle: could not load %s\n%s", library.c_str(), stand_in::log().dump().c_str());
            return 1;
        }
        demo::LaneBattle battle(engine, config);
        battle.run();
        s = battle.summary();
        leaks = engine.shutdown();
        engine_errors = stand_in::log().entries().size();
    }

    const double frames = static_cast<double>(s.frames);
    const double pf = s.projectile_frames > 0 ? static_cast<double>(s.projectile_frames) : 1.0;
    std::printf("Lane battle: %s\n", library.c_str());
    std::printf("  frames                 %llu (%.1f s of game time)\n", static_cast<unsigned long long>(s.frames),
                frames * config.delta);
    std::printf("  shooters               %llu\n", static_cast<unsigned long long>(s.shooters));
    std::printf("  projectiles fired      %llu (straight %llu, lob %llu, arc %llu, tracking %llu, catapult %llu)\n",
                static_cast<unsigned long long>(s.projectiles_fired),
                static_cast<unsigned long long>(s.fired_by_kind[0]),
                static_cast<unsigned long long>(s.fired_by_kind[1]),
                static_cast<unsigned long long>(s.fired_by_kind[2]),
                static_cast<unsigned long long>(s.fired_by_kind[3]),
                static_cast<unsigned long long>(s.fired_by_kind[4]));
    std::printf("  projectiles stepped    %llu projectile-frames, at most %llu in flight\n",
                static_cast<unsigned long long>(s.projectile_frames), static_cast<unsigned long long>(s.peak_in_flight));
    std::printf("  script calls           %llu\n", static_cast<unsigned long long>(s.script_calls));
    std::printf("  hits %llu, lands %llu, overs %llu, lost %llu, target-died reports %llu\n",
                static_cast<unsigned long long>(s.hits), static_cast<unsigned long long>(s.lands),
                static_cast<unsigned long long>(s.overs), static_cast<unsigned long long>(s.lost),
                static_cast<unsigned long long>(s.targets_died_reports));
    std::printf("  targets                %llu spawned, %llu killed, %llu got through\n",
                static_cast<unsigned long long>(s.targets_spawned), static_cast<unsigned long long>(s.targets_killed),
                static_cast<unsigned long long>(s.targets_escaped));
    std::printf("  queries                %llu\n", static_cast<unsigned long long>(s.queries));
    std::printf("  engine calls           %.1f per projectile-frame in physics frames; %llu names, %llu strings made\n",
                static_cast<double>(s.engine_calls) / pf, static_cast<unsigned long long>(s.names_made_in_frames),
                static_cast<unsigned long long>(s.strings_made_in_frames));
    std::printf("  time per frame         %.1f us physics (worst %.1f us), %.1f us with the game's scripts\n",
                s.physics_seconds / frames * 1e6, s.worst_frame_seconds * 1e6, s.total_seconds / frames * 1e6);
    std::printf("  time per projectile    %.0f ns per projectile-frame, callbacks included\n",
                s.physics_seconds / pf * 1e9);

    bool ok = true;
    const auto fail = [&ok](const char* what) {
        std::fprintf(stderr, "lane battle: %s\n", what);
        ok = false;
    };
    if (engine_errors != 0) fail("the engine reported errors");
    if (s.failed_calls != 0) fail("some calls were refused");
    if (!leaks.none()) fail("objects or values were still alive after shutdown");
    // A full battle has every ending; a short one must at least have one.
    if (config.frames >= demo::BattleConfig{}.frames ? (s.hits == 0 || s.lands == 0 || s.overs == 0)
                                                     : s.hits + s.lands + s.overs == 0) {
        fail("the projectiles did not end as a battle's do");
    }
    if (s.names_made_in_frames != 0 || s.strings_made_in_frames != 0) fail("names or strings were built in frames");
    if (!ok && engine_errors != 0) std::fprintf(stderr, "%s", stand_in::log().dump().c_str());
    return ok ? 0 : 1;
}
