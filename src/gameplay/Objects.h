#pragma once
#include "gameplay/Baddies.h"
#include "gameplay/Hazards.h"
#include "gameplay/ObjectEvents.h"

// Everything in a level the player touches besides the ground. One frame of
// play runs, after the player step and the walls:
//
//   updateObjects(level, player, effects, rng, frame, events);   // items, baddies, shots, hazards
//   ...boss, goal...
//   updateEffectLists(level, effects, dt);                       // at the end of the frame
//
// and then applies events (sounds, script events, score, toasts, ...).
// rng is the game's effects generator (particles); it never touches the level.

// The item pass, in this order: springs, dash panels, spikes, gems, scattered
// gems, monitors, checkpoints, stone portals, crumblers.
void updateItems(Level& level, Player& player, Effects& effects, XorShift32& rng, const ObjectFrame& frame,
                 ObjectEvents& events);

// The item pass, then the baddies with their shots, then the hazards.
void updateObjects(Level& level, Player& player, Effects& effects, XorShift32& rng, const ObjectFrame& frame,
                   ObjectEvents& events);

// The effects pass: particles drift, slow down and fade; freed critters hop
// along the ground. Dead ones are removed.
void updateEffectLists(const Level& level, Effects& effects, float dt);

// After a respawn: every crumbler is back and all shots vanish.
void restoreAfterRespawn(Level& level, Effects& effects);
