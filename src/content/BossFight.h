#pragma once
// Glue between a boss fight and the act in play: the arena of a level, the
// music of a fight, and the particles of the touch outcomes and death puffs.

#include <vector>

#include "content/Bosses.h"
#include "gameplay/Player.h"
#include "level/Effects.h"

struct Level;

// The arena of the level's boss: left arenaX, right bossX, floor arenaY, with
// the player's position.
BossArena bossArenaOf(const Level& level, sf::Vector2f player);

// spawnBoss with the level's boss id and arena.
void startBossFight(BossState& boss, const Level& level);

// "final_boss" for Ovim, "mini_boss" in act 1, otherwise "boss".
const char* bossMusicId(int bossId, int act);

// The particles of one touch outcome: the hit burst (18 sparkles at the weak
// point, speed 300, life 0.5, size 5) and the pop of a broken shot (8 dots).
void spawnBossTouchParticles(std::vector<Particle>& list, XorShift32& rng, const BossTouchResult& result);

// One explosion puff per position the boss asked for while sinking.
void spawnBossPuffs(std::vector<Particle>& list, XorShift32& rng, const std::vector<sf::Vector2f>& puffs);

// The touch-rule inputs for the player; jumpHeld is the held Jump key.
BossToucher bossToucherFor(const Player& player, bool jumpHeld);

// Applies the player side of a touch outcome: the new velocity, leaving the
// ground (and any loop), the end of the attack states and the flame dash,
// then the hurt rule when asked for (it spares a transformed player). Returns
// what the hurt rule did (Ignored when it was not called): anything else means
// the session fires "hurt", plays the hurt sound and shakes the screen.
HurtResult applyBossTouch(Player& player, const BossTouchResult& result, std::vector<ScatteredGem>& scattered);

// What one frame of a fight asks of the play session.
struct BossFrame {
    bool bossHit = false;       // fire "bosshit" and shake the screen for 0.3 s
    bool bossDefeated = false;  // that hit was the last: the session's boss-defeat step
    bool bossGone = false;      // the beaten boss has sunk away: the fight is over
    HurtResult hurt = HurtResult::Ignored;  // not Ignored: fire "hurt", hurt sound, 0.25 s shake
    std::vector<int> sounds;    // sound effects to play: boss hit, clank, pop
};

// One frame of a running fight, in the order of the play session: the boss
// update (with the player's position), the gale pushing the player (2 * wind
// * dt on its horizontal speed), the death puffs, and while the boss is not
// beaten the touch rules applied to the player with their particles.
BossFrame stepBossFight(BossState& boss, BossArena& arena, Player& player, bool jumpHeld, float dt,
                        Effects& effects, XorShift32& rng);
