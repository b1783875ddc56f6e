// The airborne part of the player step: the air abilities, gravity, the jump
// cut, air control, and sliced movement with landing on ground and ledges.
#include <algorithm>
#include <cmath>

#include "gameplay/PlayerPhysics.h"

namespace playerphys {

namespace {

void airTrigger(Player& p, const HomingTargetFinder& findTarget) {
    switch (p.hero) {
        case 1:
            if (!p.gliding) {
                p.gliding = true;
                p.spinning = false;
                p.vy = std::min(p.vy, 60.0f);
                p.events.push_back(PlayerEvent::GlideStart);
            }
            break;
        case 2:
        case 3:
            if (p.flapCooldown <= 0) {
                p.vy = p.hero == 2 ? -480.0f : -560.0f;
                p.flapCooldown = 0.2f;
                p.flapAnim = 1;
                p.spinning = false;
                p.events.push_back(PlayerEvent::Flap);
            }
            break;
        case 4:
            if (!p.slamming) {
                p.slamming = true;
                p.vx *= 0.3f;
                p.vy = 1300;
                p.events.push_back(PlayerEvent::Slam);
            }
            break;
        case 5:
            if (!p.homingUsed) {
                p.homingUsed = true;
                std::optional<sf::Vector2f> target;
                if (findTarget) target = findTarget({p.x, p.y}, p.facing);
                if (target) {
                    float dx = target->x - p.x, dy = target->y - p.y;
                    float len = std::max(std::hypot(dx, dy), 1.0f);
                    p.vx = dx / len * 1150.0f;
                    p.vy = dy / len * 1150.0f;
                    p.homing = true;
                    p.homingTime = 0.45f;
                } else {
                    p.vx = float(p.facing) * std::max(std::fabs(p.vx), 820.0f);
                    p.vy = std::min(p.vy, -60.0f);
                }
                p.spinning = true;
                p.events.push_back(PlayerEvent::HomingDash);
            }
            break;
        default:
            break;
    }
    p.abilityArmed = false;
}

void land(Player& p, float surfaceY, float angle, int surface) {
    p.y = surfaceY - kFeet;
    if (p.slamming) {
        p.slamming = false;
        p.vy = -980;
        p.vx *= 0.8f;
        p.squash = 0.45f;
        p.events.push_back(PlayerEvent::SlamBounce);
        return;
    }
    float vyBefore = p.vy;
    p.angle = angle;
    p.groundSpeed = std::cos(angle) * p.vx + std::sin(angle) * p.vy;
    p.grounded = true;
    p.surface = surface;
    p.homing = p.homingUsed = p.gliding = p.spinning = false;
    p.homingTime = 0;
    p.vx = p.vy = 0;
    p.squash = std::min(vyBefore / 2400.0f, 0.4f);
    if (vyBefore > 900) p.events.push_back(PlayerEvent::HardLanding);
}

// Sliced movement. Stops at a landing or a slam bounce.
void moveThroughAir(Player& p, const Level& level, float dt, float time) {
    float mx = p.vx * dt, my = p.vy * dt;
    int n = std::max(int(std::ceil(std::hypot(mx, my) / kSliceLength)), 1);
    for (int i = 0; i < n; ++i) {
        float ox = p.x, oy = p.y;
        float nx = ox + mx / float(n);
        float ny = oy + my / float(n);
        float tPrev = time - dt + dt * float(i) / float(n);
        float tNow = time - dt + dt * float(i + 1) / float(n);

        GroundHeight g = level.groundHeightAt(nx);
        if (g && ny + kFeet > g.y + 26) {
            GroundHeight og = level.groundHeightAt(ox);
            if (og && og.y >= oy + kFeet - 2 && g.y < og.y - 20) {
                // A wall: back to the slice start, keep only the vertical motion.
                nx = ox;
                p.vx = 0;
                mx = 0;
                g = og;
            }
        }
        p.x = nx;
        p.y = ny;

        // Candidate landings: the ground path, and one-way ledges when falling.
        bool onGround = g && ny + kFeet >= g.y && p.vy >= -60;
        int ledge = -1;
        float ledgeY = 0;
        if (p.vy >= 0) {
            for (std::size_t k = 0; k < level.platforms.size(); ++k) {
                const Platform& pl = level.platforms[k];
                if (!platformCovers(pl, nx, tNow)) continue;
                float before = platformHeightAt(pl, ox, tPrev);
                float now = platformHeightAt(pl, nx, tNow);
                if (oy + kFeet <= before + 4 && ny + kFeet >= now) {
                    if (ledge < 0 || now < ledgeY) {
                        ledge = int(k);
                        ledgeY = now;
                    }
                }
            }
        }
        if (ledge >= 0 && (!onGround || ledgeY <= g.y)) {
            land(p, ledgeY, platformAngle(level.platforms[std::size_t(ledge)]), ledge);
            return;
        }
        if (onGround) {
            land(p, g.y, probeGroundAngle(level, nx), -1);
            return;
        }
    }
}

}  // namespace

void airStep(Player& p, const PlayerInput& in, Level& level, float dt, float time, bool trigger,
             const HomingTargetFinder& findTarget) {
    if (trigger) airTrigger(p, findTarget);

    if (p.gliding && !in.jumpHeld && !in.actionHeld) p.gliding = false;
    if (p.homing) {
        p.homingTime = std::max(p.homingTime - dt, 0.0f);
        if (p.homingTime <= 0) p.homing = false;
    }
    p.flameTime = std::max(p.flameTime - dt, 0.0f);

    if (p.gliding) {
        if (in.left) p.facing = -1;
        if (in.right) p.facing = 1;
        float want = float(p.facing) * std::max(std::fabs(p.vx), 460.0f);
        p.vx += (want - p.vx) * std::min(2.5f * dt, 1.0f);
        p.vy = std::min(p.vy + kGravity * p.gravityScale * 0.15f * dt, 110.0f);
    } else if (p.homing || p.flameTime > 0) {
        // Dashing: no gravity and no control.
    } else {
        p.vy += kGravity * p.gravityScale * dt;
        if (p.spinning && !in.jumpHeld && p.vy < -420 && !p.slamming) p.vy = -420;
        float accel = (p.transformed ? 1950.0f : 1300.0f) * dt;
        float limit = std::max(std::fabs(p.vx), effectiveTopSpeed(p));
        if (in.left) {
            p.vx = std::max(-limit, p.vx - accel);
            p.facing = -1;
        } else if (in.right) {
            p.vx = std::min(limit, p.vx + accel);
            p.facing = 1;
        }
        if (p.vy > -300 && p.vy < 0) p.vx *= 1.0f - 0.4f * dt;
    }
    p.vy = std::min(p.vy, kMaxFallSpeed);

    moveThroughAir(p, level, dt, time);

    if (!p.grounded && p.y > level.lowestGroundY + 700) p.dead = true;
}

}  // namespace playerphys
