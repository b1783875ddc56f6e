#pragma once
// The boss roster, the runtime record of the one boss of an act, and the
// rules of a fight: spawning, the per-frame update (behaviours, shots, zones,
// death) and how the boss and the player touch each other.
//
// Everything here is pure: no window, no sound, no globals. The play session
// owns a BossState and a BossArena, calls updateBoss every frame of a fight and
// then bossTouchPlayer, and applies the returned outcome to the real player
// (velocity, hurt, sounds, particles, script event).

#include <SFML/System/Vector2.hpp>
#include <deque>
#include <string>
#include <vector>

#include "core/Random.h"

// One entry of the boss catalogue.
struct BossDef {
    std::string name;
    std::string taunt;       // said when the fight starts
    std::string defeatLine;  // said when the boss is beaten
    int hitPoints = 1;
};

// The twelve bosses, indexed by boss id 0..11 (the ids stored in files).
const std::vector<BossDef>& bossTable();

// Boss ids, for readability where a behaviour is picked.
enum BossKind : int {
    BrambleBeetle = 0,
    HollowOak = 1,
    PrismBat = 2,
    GeodeGolem = 3,
    GaleTurret = 4,
    StormZeppelin = 5,
    GlitchRacer = 6,
    MirrorHero = 7,
    TheSilencer = 8,
    Ovim = 9,
    StoneSerpent = 10,
    TheKeeper = 11,
};
constexpr int kBossCount = 12;

// A projectile of the boss. `kind` picks its look.
struct BossShot {
    float x = 0, y = 0;
    float vx = 0, vy = 0;
    float radius = 10;
    float life = 1;  // seconds left
    int kind = 0;
    bool gravity = false;
    bool destroyable = false;
    bool homing = false;
    char letter = 0;  // Ovim's letters; 0 otherwise
};

// An area attack: a rectangle that warns first and then hurts while it lives,
// moving sideways at vx.
struct BossZone {
    float x = 0, y = 0;  // top-left
    float w = 0, h = 0;
    float warn = 0;  // seconds of warning left before it is live
    float life = 0;  // seconds it stays live
    int kind = 0;
    float vx = 0;
};

struct BossCircle {
    float x = 0, y = 0, radius = 0;
};

// The one boss of the current act.
struct BossState {
    int kind = 0;
    float x = 0, y = 0;
    float vx = 0, vy = 0;
    int hp = 0, maxHp = 0;
    int state = 0;
    int facing = -1;
    int counter = 0;
    float clock = 0;
    float stateTimer = 0;
    float hitFlash = 0;  // counts down from 1 after a hit; no damage while above 0
    float speechTimer = 0;
    std::string speech;
    float deathTimer = 0;
    bool defeated = false;
    bool gone = false;
    std::vector<BossShot> shots;
    std::vector<BossZone> zones;
    float weakX = 0, weakY = 0, weakRadius = 0;
    bool vulnerable = false;
    std::vector<BossCircle> hurtCircles;
    std::deque<sf::Vector2f> trail;
    std::vector<sf::Vector2f> orbiters;
    sf::Vector2f aux;
    // Random draws of the fight (death puffs); seeded by spawnBoss.
    XorShift32 rng;
};

// The arena around the fight, handed to every update. The boss reads the
// bounds and the player's position; it writes `wind` (the horizontal
// acceleration it blows at the player this frame; the play session adds
// 2 * wind * dt to the player's horizontal speed) and `puffs` (explosion puff
// positions to spawn this frame while the beaten boss sinks).
struct BossArena {
    float left = 0, right = 960;
    float floor = 440;
    sf::Vector2f player;
    float wind = 0;
    std::vector<sf::Vector2f> puffs;

    float centre() const { return (left + right) * 0.5f; }
    float width() const { return right - left; }
};

// Resets the record and places boss `kind` in the arena [left, right] whose
// floor is at y = floor. An unknown kind is clamped into the table.
void spawnBoss(BossState& boss, int kind, float left, float right, float floor);

// One frame of the fight: timers, the behaviour (or the death sinking), the
// shots and the zones. `arena.wind` and `arena.puffs` are rewritten.
void updateBoss(BossState& boss, BossArena& arena, float dt);

// The behaviour step of one boss; called by updateBoss for a boss that is not
// defeated, after hurtCircles and vulnerable were cleared.
void runBossBehaviour(BossState& boss, BossArena& arena, float dt);

// Ovim's phase: 1 while hp >= 9, 2 while 5 <= hp <= 8, 3 below.
int ovimPhase(int hp);

// How many of its seven stones the Keeper holds this frame (they orbit it and
// hurt; while regathering the count grows back).
int keeperStonesHeld(const BossState& boss);

// ---------------------------------------------------------------------------
// Touch rules.

// What the touch rules need to know about the player this frame.
struct BossToucher {
    sf::Vector2f pos;  // body centre; the body is a circle of radius 18
    sf::Vector2f vel;  // air velocity
    float groundSpeed = 0;
    bool grounded = false;
    bool inLoop = false;
    bool rolling = false, spinning = false, gliding = false, slamming = false, homing = false;
    bool flameDash = false;  // the flame dash is running
    bool starPower = false;  // invincibility power-up
    bool transformed = false;
    bool jumpHeld = false;
    int hero = 0;
};

constexpr float kBossPlayerRadius = 18.0f;

// Effects the play session raises for the touch outcome.
enum class BossFxKind : int {
    Hit,    // boss-hit sound, "bosshit" event, 0.3 s shake, 18 sparkles (speed 300, life 0.5, size 5)
    Clank,  // a rebound off a hurt circle
    Pop,    // a destroyable shot broken: pop sound, eight particles
};
struct BossFx {
    BossFxKind kind;
    sf::Vector2f pos;
};

// Sound numbers of the sound bank for the effects above.
constexpr int kBossHitSound = 5;
constexpr int kBossClankSound = 23;
constexpr int kBossPopSound = 4;

struct BossTouchResult {
    bool bossHit = false;       // the boss lost a hit point this frame
    bool bossDefeated = false;  // ... and that was its last
    bool hurtPlayer = false;    // the hurt rule is to be called (it spares a transformed player)
    bool setVelocity = false;   // the player's velocity becomes `velocity`
    sf::Vector2f velocity;
    bool leaveGround = false;  // grounded false, surface -1, out of any loop
    bool endAttacks = false;   // rolling, spinning, gliding, slamming, homing and the flame dash end
    std::vector<BossFx> fx;
};

// True when the player counts as attacking for the touch rules.
bool bossTouchAttacking(const BossToucher& p);

// Applies the hit, hurt-circle, shot and zone rules for this frame. Changes the
// boss (hp, flash, speech, defeat) and its shots; the player side is returned.
// Does nothing for a defeated boss.
BossTouchResult bossTouchPlayer(BossState& boss, const BossToucher& player);

// Colour of the hit burst and the death puffs (packed RGBA).
constexpr unsigned kBossSparkColor = 0xFFF096FFu;
constexpr unsigned kBossPuffColor = 0xFF9A40FFu;
