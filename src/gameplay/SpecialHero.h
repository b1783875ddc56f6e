#pragma once
#include <SFML/System/Vector2.hpp>

struct DrawContext;

// A hero as the special stage and the temple show it: the body in the hero's
// colour and shape, its face, and a ball with turning dots while rolling.
struct RunnerPose {
    int hero = 0;
    sf::Vector2f centre;
    float scale = 1.0f;
    float tilt = 0.0f;   // degrees, when not rolling
    float spin = 0.0f;   // radians, when rolling
    int facing = 1;
    bool rolling = false;
    float time = 0.0f;
};

void drawRunnerHero(DrawContext& ctx, const RunnerPose& pose);
