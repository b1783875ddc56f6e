#pragma once
#include <string>

// One message line shown at the bottom of every screen for a few seconds.
struct Toast {
    static constexpr float kDuration = 3.0f;

    std::string message;
    float timer = 0.0f;  // seconds left; 0 when nothing is shown

    void show(std::string text) {
        message = std::move(text);
        timer = kDuration;
    }
    void tick(float dt) { timer = timer > dt ? timer - dt : 0.0f; }
    bool visible() const { return timer > 0.0f; }
};

// The top of the toast box for the time left: it slides up from the bottom
// edge in the first quarter second and back down in the last.
float toastBoxTop(float remaining);
