#pragma once
// A scripted attacker for boss fights on a flat arena, for the duel probe and
// the frame-strip tool: it runs and jumps like a plain hero (no ability) and
// goes for the weak point whenever the boss is open, keeping its distance and
// hopping over low shots otherwise. Pure and deterministic.

#include "content/Bosses.h"

struct DuelAttacker {
    float x = 0, y = 0;
    float vx = 0, vy = 0;
    bool grounded = true;
    bool spinning = false;
    int facing = 1;
    float hurtTime = 0;  // mercy time after a hit
    int hitsTaken = 0;
    int hitsDealt = 0;
};

struct BossDuel {
    BossState boss;
    BossArena arena;
    DuelAttacker player;
    float time = 0;
    bool won = false;  // the boss is gone
};

// The arena width the act generator gives a boss: 1100 for the mini bosses,
// 1300 for the bosses, 1500 for Ovim.
float duelArenaWidth(int kind);

// Sets up a fight with boss `kind` on a flat floor, the attacker standing just
// inside the left of the arena, the boss spawned.
void startDuel(BossDuel& duel, int kind);

// One frame: the attacker's choice and motion, the boss update and the touch
// rules applied to the attacker.
void stepDuel(BossDuel& duel, float dt);

// The touch-rule inputs for the attacker.
BossToucher duelToucher(const DuelAttacker& p);
