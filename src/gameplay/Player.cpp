#include "gameplay/Player.h"

#include <algorithm>
#include <cmath>

#include "gameplay/PlayerPhysics.h"

namespace playerphys {

const HeroDef& heroOf(const Player& p) {
    const auto& table = heroTable();
    int i = (p.hero >= 0 && p.hero < kHeroCount) ? p.hero : 0;
    return table[std::size_t(i)];
}

float probeGroundAngle(const Level& level, float x) {
    GroundHeight a = level.groundHeightAt(x - 4);
    GroundHeight b = level.groundHeightAt(x + 4);
    if (!a || !b) return 0;
    return std::atan2(b.y - a.y, 8.0f);
}

float platformAngle(const Platform& p) {
    float dx = p.x2 - p.x1;
    if (dx == 0) return 0;
    return std::atan2(p.y2 - p.y1, dx);
}

int findPlatformNear(const Level& level, float x, float feet, float reach, float t) {
    int best = -1;
    float bestDist = reach;
    for (std::size_t i = 0; i < level.platforms.size(); ++i) {
        const Platform& pl = level.platforms[i];
        if (!platformCovers(pl, x, t)) continue;
        float d = std::fabs(platformHeightAt(pl, x, t) - feet);
        if (d <= bestDist) {
            bestDist = d;
            best = int(i);
        }
    }
    return best;
}

bool standingPlatformValid(const Player& p, const Level& level) {
    return p.surface >= 0 && std::size_t(p.surface) < level.platforms.size() &&
           !level.platforms[std::size_t(p.surface)].fallen;
}

void becomeAirborne(Player& p, float vx, float vy) {
    p.vx = vx;
    p.vy = vy;
    p.grounded = false;
    p.surface = -1;
}

void loopStep(Player& p, const Level& level, float dt) {
    if (p.loopIndex < 0 || std::size_t(p.loopIndex) >= level.loops.size()) {
        p.loopIndex = -1;
        becomeAirborne(p, p.vx, p.vy);
        return;
    }
    const Loop& loop = level.loops[std::size_t(p.loopIndex)];
    float r = std::max(loop.radius - kFeet, 1.0f);
    p.loopSpeed -= std::sin(p.loopAngle) * kGravity * p.gravityScale * 0.4f * dt;
    p.loopAngle += p.loopSpeed / r * dt;

    auto placeOnCircle = [&] {
        p.x = loop.x + std::sin(p.loopAngle) * r;
        p.y = loop.y - loop.radius + std::cos(p.loopAngle) * r;
    };
    auto leaveOntoGround = [&](float x) {
        p.loopIndex = -1;
        p.grounded = true;
        p.surface = -1;
        p.groundSpeed = p.loopSpeed;
        p.angle = 0;
        p.x = x;
        p.y = loop.y - kFeet;
        p.vx = p.vy = 0;
    };

    if (p.loopSpeed < 160 && p.loopAngle > 1.8849558f && p.loopAngle < 4.3982296f) {
        placeOnCircle();
        p.loopIndex = -1;
        p.rolling = false;
        p.spinning = true;
        becomeAirborne(p, p.loopSpeed * std::cos(p.loopAngle), -p.loopSpeed * std::sin(p.loopAngle));
    } else if (p.loopAngle >= kTwoPi) {
        leaveOntoGround(loop.x + 1);
    } else if (p.loopAngle <= 0) {
        // Too slow to climb past the side: slid back down and out the way it came.
        leaveOntoGround(loop.x - 1);
    } else {
        placeOnCircle();
    }
}

void blink(Player& p, const Level& level, float time) {
    float tx = p.x + 180.0f * float(p.facing);
    p.blinkFrom = {p.x, p.y};
    bool airborne = !p.grounded;
    if (p.grounded) {
        bool kept = false;
        if (p.surface < 0) {
            GroundHeight g = level.groundHeightAt(tx);
            if (g && std::fabs(g.y - (p.y + kFeet)) <= 120) {
                p.y = g.y - kFeet;
                p.angle = probeGroundAngle(level, tx);
                kept = true;
            }
        } else if (standingPlatformValid(p, level)) {
            const Platform& pl = level.platforms[std::size_t(p.surface)];
            if (platformCovers(pl, tx, time)) {
                p.y = platformHeightAt(pl, tx, time) - kFeet;
                kept = true;
            }
        }
        if (!kept) {
            becomeAirborne(p, p.groundSpeed, 0);
            airborne = true;
        }
    }
    if (airborne) {
        GroundHeight g = level.groundHeightAt(tx);
        if (g && p.y > g.y - kFeet) p.y = g.y - kFeet;
    }
    p.x = tx;
    p.blinkTo = {p.x, p.y};
    p.blinkTime = 0.3f;
    p.events.push_back(PlayerEvent::Blink);
}

}  // namespace playerphys

using namespace playerphys;

namespace {

void countDown(float& t, float dt) { t = std::max(t - dt, 0.0f); }

// The Ability key of heroes 6, 7 and 8.
void abilityKey(Player& p, Level& level, float time) {
    switch (p.hero) {
        case 6: {
            p.flameTime = 0.32f;
            p.abilityCooldown = 0.9f;
            if (p.grounded) {
                p.groundSpeed = std::max(1150.0f, std::fabs(p.groundSpeed)) * float(p.facing);
            } else {
                p.vx = std::max(1150.0f, std::fabs(p.vx)) * float(p.facing);
                p.vy = 0;
            }
            p.events.push_back(PlayerEvent::FlameDash);
            break;
        }
        case 7: {
            p.buildSpring = true;
            p.abilityCooldown = 2.2f;
            float vx = p.grounded ? std::cos(p.angle) * p.groundSpeed : p.vx;
            becomeAirborne(p, vx, -1200.0f);
            p.spinning = false;
            p.rolling = false;
            p.events.push_back(PlayerEvent::GadgetSpring);
            break;
        }
        case 8:
            blink(p, level, time);
            p.abilityCooldown = 1.1f;
            break;
        default:
            break;
    }
}

void updateDrawingState(Player& p, float dt) {
    bool ball = p.rolling || p.spinning || p.slamming || p.homing || p.loopIndex >= 0 || p.hero == 4;
    if (ball) {
        float speed = p.loopIndex >= 0 ? p.loopSpeed
                      : p.grounded    ? p.groundSpeed
                                      : std::hypot(p.vx, p.vy) * float(p.facing);
        p.spinPhase += speed * dt * 0.05f;
    }
    constexpr float kDeg = 180.0f / kPi;
    if (p.loopIndex >= 0)
        p.rotation = -p.loopAngle * kDeg;
    else if (p.grounded)
        p.rotation = p.angle * kDeg;
    else
        p.rotation *= std::pow(0.02f, dt);
    if (p.grounded) p.runPhase += std::fabs(p.groundSpeed) * dt * 0.02f;
}

}  // namespace

std::optional<sf::Vector2f> findHomingTarget(const Level& level, sf::Vector2f position, int facing,
                                             std::optional<sf::Vector2f> boss) {
    std::optional<sf::Vector2f> best;
    float bestDist = 0;
    auto consider = [&](sf::Vector2f at, float range) {
        float ahead = (at.x - position.x) * float(facing >= 0 ? 1 : -1);
        if (ahead < -20) return;
        float d = std::hypot(at.x - position.x, at.y - position.y);
        if (d > range) return;
        if (!best || d < bestDist) {
            best = at;
            bestDist = d;
        }
    };
    for (const Baddie& b : level.enemies)
        if (b.alive) consider({b.x, b.y}, 340);
    for (const Monitor& m : level.monitors)
        if (!m.broken) consider({m.x, m.y}, 340);
    if (boss) {
        float d = std::hypot(boss->x - position.x, boss->y - position.y);
        if (d <= 520 && (!best || d < bestDist)) best = *boss;
    }
    return best;
}

Player makePlayer(int hero, sf::Vector2f position, const PlayerModifiers& mods) {
    Player p;
    p.hero = std::clamp(hero, 0, kHeroCount - 1);
    p.x = position.x;
    p.y = position.y;
    p.facing = 1;
    p.hearts = 3;
    p.maxHearts = 3;
    p.gravityScale = mods.gravity;
    p.speedScale = mods.speed;
    p.jumpScale = mods.jump;
    p.sizeScale = mods.size;
    p.oneHit = mods.oneHit;
    p.doubleGems = mods.doubleGems;
    return p;
}

float jumpStrength(const Player& p) {
    float form = p.divine ? 1.25f : p.transformed ? 1.15f : 1.0f;
    return heroOf(p).jumpStrength * form * std::sqrt(std::max(p.jumpScale * p.gravityScale, 0.0f));
}

float effectiveTopSpeed(const Player& p) {
    float top = heroOf(p).runSpeed;
    if (p.speedShoesTime > 0) top *= 1.4f;
    if (p.divine) top *= 1.55f;
    else if (p.transformed) top *= 1.35f;
    return top * p.speedScale;
}

float effectiveAcceleration(const Player& p) {
    float acc = heroOf(p).acceleration;
    if (p.speedShoesTime > 0) acc *= 1.4f;
    if (p.transformed) acc *= 1.6f;
    return acc * p.speedScale;
}

bool isAttacking(const Player& p) {
    return p.rolling || p.spinning || p.gliding || p.slamming || p.homing || p.flameTime > 0 ||
           p.transformed || p.invincibleTime > 0;
}

bool inBallState(const Player& p) {
    return p.rolling || p.spinning || p.loopIndex >= 0 || p.slamming || p.homing;
}

Spring gadgetSpringFor(const Player& p) {
    Spring s;
    s.x = p.x;
    s.y = p.y + 20;
    s.power = 1200;
    s.sideways = 0;
    s.squash = 1;
    s.lifetime = 3.0f;
    return s;
}

void updatePlayer(Player& p, const PlayerInput& in, Level& level, float dt, float time,
                  const HomingTargetFinder& findTarget) {
    p.events.clear();
    p.buildSpring = false;
    if (p.dead) return;
    if (!(dt > 0)) dt = 0;

    countDown(p.hurtTime, dt);
    countDown(p.invincibleTime, dt);
    countDown(p.speedShoesTime, dt);
    countDown(p.abilityCooldown, dt);
    countDown(p.blinkTime, dt);
    countDown(p.flapCooldown, dt);
    p.squash *= std::pow(0.001f, dt);
    p.flapAnim = std::max(p.flapAnim - 4.0f * dt, 0.0f);

    if (in.jumpReleased) p.abilityArmed = true;

    if (p.loopIndex >= 0) {
        loopStep(p, level, dt);
    } else {
        bool abilityHero = p.hero == 6 || p.hero == 7 || p.hero == 8;
        if (abilityHero && in.actionPressed && p.abilityCooldown <= 0) abilityKey(p, level, time);
        bool trigger = (!p.grounded && p.abilityArmed && in.jumpPressed) || (in.actionPressed && !abilityHero);
        // The ledge stood on may have crumbled away since the last step.
        if (p.grounded && p.surface >= 0 && !standingPlatformValid(p, level)) {
            becomeAirborne(p, p.groundSpeed, 0);
        }
        if (p.grounded) {
            groundStep(p, in, level, dt, time);
            if (p.grounded) {
                // Keep the air velocity in step with the ground motion, so that
                // whatever throws a grounded player into the air (springs,
                // updrafts) keeps its run.
                p.vx = std::cos(p.angle) * p.groundSpeed;
                p.vy = std::sin(p.angle) * p.groundSpeed;
            }
        } else
            airStep(p, in, level, dt, time, trigger, findTarget);
    }

    updateDrawingState(p, dt);
}
