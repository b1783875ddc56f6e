#pragma once
#include "core/Input.h"
#include "gameplay/Special.h"

// A scripted runner for tests and developer tools. Each frame it plans the
// next two seconds on the lanes its steering can reach and follows the path
// that takes the most orbs. How it deals with bombs:
enum class PilotStyle {
    Dodge,  // steers around them where it can, jumps the rest
    Jump,   // runs its orb path regardless and jumps every bomb in the way
};

// The held and pressed keys for the next frame of `dt`.
InputState specialPilot(const SpecialRun& run, float dt, PilotStyle style = PilotStyle::Dodge);

// Plays a whole stage with the pilot at a fixed frame time and returns the
// finished run (its `result`, `orbs` and `gate`).
SpecialRun pilotStage(int stage, int hero, PilotStyle style = PilotStyle::Dodge, float dt = 1.0f / 60.0f);

// The number of orbs a stage holds in all.
int orbsInStage(const SpecialRun& run);
