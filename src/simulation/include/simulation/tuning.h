// The numbers the projectile rules are made of, each named once with what it
// does. They are the game's feel: changing one changes every shot of its
// kind, and the tests pin their effect frame by frame.
#pragma once

#include <cstdint>

namespace warfield::tuning {

// How far past the viewport's left and right edges a projectile may fly
// before it is over; shots enter from off-screen and lanes extend past the
// view. The top and bottom edges are not widened.
inline constexpr float kPlayAreaSideMargin = 100.0f;

// A straight shot asks its script to update its grid position every this
// many frames: rows change slowly, and the script call is the frame's
// largest cost.
inline constexpr uint64_t kGridUpdateInterval = 5;

// A tracking shot asks its script to update its grid position, and for a new
// target when it has none, every this many frames (half a second at 60).
inline constexpr uint64_t kTrackingScriptInterval = 30;

// A tracking shot hits when its body is closer to the target than this many
// units (the square of 30 units, compared without a square root).
inline constexpr float kTrackingHitDistanceSquared = 900.0f;

// How fast a tracking shot's body turns toward its heading: this fraction of
// the remaining angle per second, at most all of it in one frame.
inline constexpr float kTrackingTurnRate = 5.0f;

// The shadow shrinks linearly with height and vanishes at this height.
inline constexpr float kShadowVanishHeight = 600.0f;

// A catapult throw falls under this fixed gravity (units per second squared),
// whatever the record's own gravity says.
inline constexpr float kCatapultGravity = 2000.0f;

// A falling catapult throw turns its hit area on below this height above the
// ground, so it can only hit what it lands on.
inline constexpr float kCatapultMonitoringHeight = 100.0f;

// A catapult body turns with its velocity only above this speed; below it
// the direction is noise.
inline constexpr float kCatapultMinTurnSpeed = 0.1f;

// A falling arc shot turns its hit area on below this height.
inline constexpr float kArcMonitoringHeight = 60.0f;

}  // namespace warfield::tuning
