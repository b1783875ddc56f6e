#pragma once
#include <SFML/System/Vector2.hpp>

#include "gameplay/ObjectEvents.h"

// Stalactites, updrafts, lasers, wisps and crushers. Every hazard runs every
// frame, wherever the player is.

void updateHazards(Level& level, Player& player, Effects& effects, XorShift32& rng, const ObjectFrame& frame,
                   ObjectEvents& events);

// Shapes of the cycles, shared with the drawing.

constexpr float kLaserCycle = 2.4f;
constexpr float kCrusherCycle = 3.0f;

// timer mod period, in [0, period).
float cyclePhase(float timer, float period);

// A laser burns during the first 1.2 s of every 2.4 s.
bool laserOn(const Hazard& laser);

// The crusher's extension 0 (raised) .. 1 (down) at phase p of its cycle.
float crusherExtension(float phase);
// The y of the crusher's bottom above ground: ground - (1 - extension) * h.
float crusherBottom(const Hazard& crusher, float groundY);

// Where a wisp is now on its figure of eight around (x, y).
sf::Vector2f wispAt(const Hazard& wisp);

// The ground under a hazard, or its own y where there is none.
float hazardGround(const Level& level, const Hazard& hazard);
