#pragma once

// Frames per second over half-second windows of real time.
struct FpsCounter {
    int frames = 0;
    float elapsed = 0.0f;
    int fps = 0;

    // One presented frame that took the given real time.
    void frame(float seconds) {
        ++frames;
        elapsed += seconds;
        if (elapsed > 0.5f) {
            fps = int(float(frames) / elapsed);
            frames = 0;
            elapsed = 0.0f;
        }
    }
};
