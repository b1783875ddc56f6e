#pragma once

// The longest step one frame may take: a stall never advances the game by
// more than two frames' worth.
constexpr float kMaxFrameStep = 1.0f / 30.0f;

// The game step for a frame that took the given real time (seconds).
inline float capFrameTime(float seconds) {
    if (!(seconds > 0.0f)) return 0.0f;  // also NaN
    return seconds < kMaxFrameStep ? seconds : kMaxFrameStep;
}
