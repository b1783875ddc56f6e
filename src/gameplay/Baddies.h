#pragma once
#include "gameplay/ObjectEvents.h"

// The six baddie kinds and their shots.

// Baddies further than this from the player (horizontally) stand still, their
// timers stopped.
constexpr float kBaddieUpdateRange = 900.0f;

// The baddie pass: every live baddie within range moves, attacks (shots go to
// effects.projectiles) and meets the player: it breaks (score, "stomp",
// counter, sound, particles, a freed critter, the bounce) or it hurts.
// Does nothing with frame.noBaddies.
void updateBaddies(Level& level, Player& player, Effects& effects, XorShift32& rng, const ObjectFrame& frame,
                   ObjectEvents& events);

// Shots, bombs and shells: fall (with gravity), end on the ground (fire bursts)
// or on the player (who is hurt, except fire never hurts hero 6).
void updateProjectiles(const Level& level, Player& player, Effects& effects, XorShift32& rng,
                       const ObjectFrame& frame, ObjectEvents& events);

// The colour of the critter freed by the n-th broken baddie.
sf::Color critterColor(int brokenCount);
