#pragma once
#include "core/Input.h"
#include "gameplay/Special.h"

// A scripted runner for tests and developer tools: it steers along the
// longest chain of orbs it can still reach and jumps the bombs it would run
// into. Returns the held and pressed keys for the next frame of `dt`.
InputState specialPilot(const SpecialRun& run, float dt);

// Plays a whole stage with the pilot at a fixed frame time and returns the
// finished run (its `result`, `orbs` and `gate`).
SpecialRun pilotStage(int stage, int hero, float dt = 1.0f / 60.0f);

// The number of orbs a stage holds in all.
int orbsInStage(const SpecialRun& run);
