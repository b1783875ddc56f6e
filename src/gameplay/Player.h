#pragma once
#include <SFML/Graphics/Color.hpp>
#include <SFML/System/Vector2.hpp>
#include <concepts>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "level/Effects.h"
#include "level/Level.h"

// The hero in play: slope physics on the ground, a free body in the air,
// loops, and one ability per hero. Everything here is pure: the step reports
// what happened as PlayerEvent codes and the play session turns them into
// sounds, particles and script events.

// What one step reports. The values are stable codes.
enum class PlayerEvent : int {
    Jump = 0,          // a ground jump                     ("jump")
    Roll = 1,          // rolling starts
    SpinRev = 2,       // a spin-dash rev
    SpinRelease = 3,   // the spin dash is released         ("ability")
    Flap = 4,          // a wing flap                       ("ability")
    GlideStart = 5,    // gliding starts                    ("ability")
    Slam = 6,          // the bounce slam starts            ("ability")
    SlamBounce = 7,    // the slam hit ground or a platform
    HomingDash = 8,    // the homing dash starts            ("ability")
    FlameDash = 9,     // the flame dash starts             ("ability")
    GadgetSpring = 10, // a gadget spring is asked for      ("ability")
    Blink = 11,        // a teleport (particles at blinkFrom) ("ability")
    HardLanding = 12,  // landed falling faster than 900
};

// What the play session does for one event: a sound effect (by number, -1 for
// none) at a pitch, a script event (empty for none), and a burst of particles
// (count 0 for none) at a point.
struct PlayerEventEffect {
    int sound = -1;
    float pitch = 1.0f;
    const char* scriptEvent = "";
    int particles = 0;
    sf::Vector2f at;
    sf::Color color = sf::Color::White;
    float speed = 0, life = 0, size = 4;
};

struct Player;
// The effect of an event raised by the last step of player.
PlayerEventEffect playerEventEffect(PlayerEvent event, const Player& player);

// The mod factors and flags the player reads. Neutral by default; the mods
// loader fills one in from the enabled mods.
struct PlayerModifiers {
    float gravity = 1.0f;
    float speed = 1.0f;
    float jump = 1.0f;
    float size = 1.0f;
    bool oneHit = false;      // every hit is fatal
    bool doubleGems = false;  // every gem counts twice
};

// The held keys and their edges the player step reads. playerInputFrom copies
// them from any snapshot with fields of the same names (the game's InputState).
struct PlayerInput {
    bool left = false, right = false, up = false, down = false;
    bool jumpHeld = false, actionHeld = false;
    bool jumpPressed = false, jumpReleased = false;
    bool actionPressed = false, actionReleased = false;
    bool transformPressed = false;
};

template <class Snapshot>
PlayerInput playerInputFrom(const Snapshot& in) {
    PlayerInput p;
    p.left = in.left;
    p.right = in.right;
    p.up = in.up;
    p.down = in.down;
    p.jumpHeld = in.jumpHeld;
    p.actionHeld = in.actionHeld;
    p.jumpPressed = in.jumpPressed;
    p.jumpReleased = in.jumpReleased;
    p.actionPressed = in.actionPressed;
    p.actionReleased = in.actionReleased;
    p.transformPressed = in.transformPressed;
    return p;
}

struct Player {
    int hero = 0;                 // 0..8
    float x = 0, y = 0;           // body centre; the feet are at y + 18
    float vx = 0, vy = 0;         // air velocity; follows the ground motion while grounded
    float groundSpeed = 0;        // signed speed along the surface
    float angle = 0;              // surface angle, atan2(dy, dx)
    bool grounded = false;
    int surface = -1;             // -1 ground path, else platform index
    int facing = 1;               // +1 or -1
    bool rolling = false;
    bool spinning = false;
    bool abilityArmed = false;    // Jump released since the last jump
    int loopIndex = -1;
    float loopAngle = 0, loopSpeed = 0;
    bool charging = false;        // spin-dash rev (hero 0)
    float charge = 0;             // 0..1
    bool gliding = false;         // hero 1
    bool slamming = false;        // hero 4
    bool homing = false;          // hero 5
    float homingTime = 0;
    bool homingUsed = false;
    float flameTime = 0;          // hero 6, attacking while above 0
    float abilityCooldown = 0;
    float flapCooldown = 0;
    sf::Vector2f blinkFrom, blinkTo;  // hero 8's last teleport
    float blinkTime = 0;
    bool buildSpring = false;     // hero 7 asked for a gadget spring this step
    int hearts = 3, maxHearts = 3;
    int gems = 0;
    int gemsTowardHeart = 0;      // 0..24
    float hurtTime = 0;           // mercy time
    float speedShoesTime = 0, invincibleTime = 0;
    bool shield = false;
    bool transformed = false, divine = false;
    float formDrain = 0;
    bool dead = false;
    float deathTime = 0;          // seconds of the death fall so far
    bool deathStarted = false;    // the death fall's first frame has run
    float gravityScale = 1.0f, speedScale = 1.0f, jumpScale = 1.0f, sizeScale = 1.0f;
    bool oneHit = false, doubleGems = false;
    // Drawing state.
    float squash = 0, spinPhase = 0, runPhase = 0, flapAnim = 0, rotation = 0;
    std::vector<PlayerEvent> events;  // emptied at the start of each step
};

// Returns a target point for the homing attack near position, looking along
// facing, or nothing. An empty function finds nothing.
using HomingTargetFinder = std::function<std::optional<sf::Vector2f>(sf::Vector2f position, int facing)>;

// The play session's homing search: the nearest live baddie or unbroken
// monitor within 340 that is no more than 20 behind position (by facing), or
// the boss (when one is given: a fight is running) if it is within 520 and
// closer than that.
std::optional<sf::Vector2f> findHomingTarget(const Level& level, sf::Vector2f position, int facing,
                                             std::optional<sf::Vector2f> boss = std::nullopt);

// A fresh player for an act start: hero, position, facing right, 3 of 3
// hearts, no gems, the mod factors and flags.
Player makePlayer(int hero, sf::Vector2f position, const PlayerModifiers& mods = {});

// One step of the player. Changes the level only where the player does
// (crumblers start to fall). time is the total game time, used for movers.
void updatePlayer(Player& player, const PlayerInput& input, Level& level, float dt, float time,
                  const HomingTargetFinder& findTarget = {});

// Same, reading the keys from any input snapshot with the PlayerInput names.
template <class Snapshot>
    requires(!std::same_as<Snapshot, PlayerInput>)
void updatePlayer(Player& player, const Snapshot& input, Level& level, float dt, float time,
                  const HomingTargetFinder& findTarget = {}) {
    updatePlayer(player, playerInputFrom(input), level, dt, time, findTarget);
}

// Jump speed: hero jumpStrength * form factor * sqrt(jumpScale * gravityScale).
float jumpStrength(const Player& player);
// Top ground speed and acceleration with speed shoes, forms and the speed factor.
float effectiveTopSpeed(const Player& player);
float effectiveAcceleration(const Player& player);

// True while the player breaks baddies by touching them.
bool isAttacking(const Player& player);
// True in a ball pose: rolling, spinning, in a loop, slamming or homing.
bool inBallState(const Player& player);

// The spring the session adds when buildSpring is set.
Spring gadgetSpringFor(const Player& player);

// --- Gems, hits, power-ups -------------------------------------------------

struct GemPickup {
    int points = 10;            // added to the score
    float pitch = 1.0f;         // of the gem sound
    bool heartRestored = false; // a heart came back (its own sound)
};
// One gem collected: counts it (twice with doubleGems), fills the heart meter.
GemPickup collectGem(Player& player);

enum class HurtResult : int {
    Ignored = 0,  // mercy time, form, invincibility, blink or already dead
    Shielded = 1, // the shield took it
    Hit = 2,      // a heart was lost
    Killed = 3,   // that was the last heart
};
// A hit from a baddie, shot, spike or hazard. Lost gems fly out into
// scattered. Anything but Ignored: the session fires "hurt", plays the hurt
// sound and shakes the screen.
HurtResult hurt(Player& player, std::vector<ScatteredGem>& scattered);

// Monitor contents other than the ten gems (the session collects those one
// by one): shield, speed shoes, a heart, invincibility. False for other kinds.
bool givePowerUp(Player& player, int monitorKind);

// --- Death and respawn ---------------------------------------------------------

constexpr float kDeathFallTime = 1.6f;

struct DeathFallStep {
    bool started = false;     // the first frame of the fall: play the hurt sound
    bool respawnDue = false;  // the fall is over: respawn now
};
// One frame of the death fall of a dead player (no collision).
DeathFallStep updateDeathFall(Player& player, float dt);

// A fresh player with the same hero and mod settings at point, 1.5 s of mercy.
Player respawnPlayer(const Player& old, sf::Vector2f point);

// --- Transformation ---------------------------------------------------------

// Transforms when transformPressed, in the air, not yet transformed, all seven
// Secret Stones (bits 0..6) and at least 50 gems. Divine when all seven
// Divine Stones are held too. True when it happened.
bool tryTransform(Player& player, bool transformPressed, std::uint32_t secretStones,
                  std::uint32_t divineStones);

struct FormUpkeep {
    bool ended = false;       // out of gems: the form is over
    bool sparkle = false;     // spawn one sparkle this frame
    sf::Vector2f sparklePos;
    bool rainbowSparkle = false;  // colour it by the rainbow hue of time
    sf::Color sparkleColor = sf::Color(255, 255, 230);
};
// One frame of the form: drains a gem a second and places the sparkles.
FormUpkeep updateForm(Player& player, float dt, float time);

// True when a clock going from before to after (seconds) passes a tick of
// rate per second whose index is even: "every other 1/rate of a second". Feed
// it a clock that grows by exactly dt each frame (an accumulator, not a time
// recomputed from elsewhere) so that no tick is counted twice.
bool everyOtherTick(float before, float after, float rate);
