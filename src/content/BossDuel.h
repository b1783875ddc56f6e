#pragma once
// A scripted attacker for boss fights on a flat arena, for the duel probe and
// the frame-strip tool. The attacker is a real hero driven by the player step:
// it only runs and jumps (no ability, no spin dash), goes for the weak point
// whenever the boss is open, and otherwise keeps some way off and hops over
// low shots. Pure and deterministic.

#include <vector>

#include "content/BossFight.h"
#include "content/Bosses.h"
#include "gameplay/Player.h"
#include "level/Level.h"

struct BossDuel {
    BossState boss;
    BossArena arena;
    Level level;  // flat ground under and around the arena
    Player player;
    Effects effects;  // emptied every frame
    XorShift32 rng{kEffectsSeed};
    float time = 0;
    bool won = false;  // the boss is gone
    int hitsTaken = 0;
    int hitsDealt = 0;
    bool jumpHeld = false;  // the attacker's Jump key
};

// The arena width the act generator gives a boss: 1100 for the mini bosses,
// 1300 for the bosses, 1500 for Ovim.
float duelArenaWidth(int kind);

// Sets up a fight with boss `kind` and hero `hero` on a flat floor, the hero
// standing just inside the left of the arena, the boss spawned.
void startDuel(BossDuel& duel, int kind, int hero = 0);

// One frame: the attacker's keys, the player step, the arena walls, the boss
// update and the touch rules. A hero out of hearts gets them back (the duel
// counts hits, it does not end).
void stepDuel(BossDuel& duel, float dt);
