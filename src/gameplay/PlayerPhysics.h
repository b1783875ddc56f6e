#pragma once
// Pieces of the player step shared by its source files. Not for callers
// outside the player module: use Player.h.
#include "content/Heroes.h"
#include "gameplay/Player.h"

namespace playerphys {

constexpr float kPi = 3.14159265358979323846f;
constexpr float kTwoPi = 2.0f * kPi;
constexpr float kFeet = 18.0f;          // body centre to feet
constexpr float kGravity = 1900.0f;
constexpr float kMaxGroundSpeed = 1500.0f;
constexpr float kMaxFallSpeed = 1400.0f;
constexpr float kSliceLength = 10.0f;   // longest movement slice

// The hero's catalogue entry; an out-of-range index reads hero 0.
const HeroDef& heroOf(const Player& p);

// Surface angle at x from the ground probes at x - 4 and x + 4; 0 unless both
// find ground.
float probeGroundAngle(const Level& level, float x);

// The slope of a platform's surface line.
float platformAngle(const Platform& p);

// The platform (not fallen) covering x whose surface at time t is nearest the
// feet and within reach of them; -1 when none.
int findPlatformNear(const Level& level, float x, float feet, float reach, float t);

// True when surface names a platform that still exists for collision.
bool standingPlatformValid(const Player& p, const Level& level);

// Leaves the ground with the given velocity.
void becomeAirborne(Player& p, float vx, float vy);

void groundStep(Player& p, const PlayerInput& in, Level& level, float dt, float time);
void airStep(Player& p, const PlayerInput& in, Level& level, float dt, float time, bool trigger,
             const HomingTargetFinder& findTarget);
void loopStep(Player& p, const Level& level, float dt);
void blink(Player& p, const Level& level, float time);

}  // namespace playerphys
