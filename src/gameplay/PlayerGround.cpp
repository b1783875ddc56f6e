// The grounded part of the player step: spin dash, slopes, running and
// rolling, the jump, and movement along the ground or a ledge.
#include <algorithm>
#include <cmath>

#include "gameplay/PlayerPhysics.h"

namespace playerphys {

namespace {

void moveToward0(float& v, float amount) {
    if (std::fabs(v) <= amount)
        v = 0;
    else
        v -= std::copysign(amount, v);
}

// Hero 0's rev and release. True when the rest of the ground step is skipped.
bool spinDash(Player& p, const PlayerInput& in, float dt) {
    if (p.charging) {
        p.groundSpeed = 0;
        if (in.jumpPressed || in.actionPressed) {
            p.charge = std::min(p.charge + 0.25f, 1.0f);
            p.events.push_back(PlayerEvent::SpinRev);
        }
        p.charge = std::max(p.charge - 0.3f * dt, 0.0f);
        if (in.left) p.facing = -1;
        if (in.right) p.facing = 1;
        if (!in.down && !in.actionHeld) {
            p.charging = false;
            p.rolling = true;
            p.groundSpeed = float(p.facing) * (850.0f + 650.0f * p.charge);
            p.events.push_back(PlayerEvent::SpinRelease);
        }
        return true;
    }
    if (std::fabs(p.groundSpeed) < 80 && ((in.down && in.jumpPressed) || in.actionPressed)) {
        p.charging = true;
        p.charge = 0;
        p.groundSpeed = 0;
        p.events.push_back(PlayerEvent::SpinRev);
        return true;
    }
    return false;
}

void slope(Player& p, float dt) {
    float s = std::sin(p.angle);
    float factor = 1300.0f;
    if (p.rolling || p.hero == 4) factor = (s * p.groundSpeed > 0) ? 2300.0f : 850.0f;
    if (std::fabs(p.groundSpeed) > 30 || std::fabs(p.angle) > 0.35f) p.groundSpeed += factor * s * dt;
}

void control(Player& p, const PlayerInput& in, float dt) {
    float& gs = p.groundSpeed;
    if (p.rolling) {
        float friction = 240.0f * dt;
        int held = in.left ? -1 : in.right ? 1 : 0;
        if (held != 0 && float(held) * gs < 0) friction += 700.0f * dt;
        moveToward0(gs, friction);
        if (std::fabs(gs) < 80) p.rolling = false;
        return;
    }
    float top = effectiveTopSpeed(p);
    float acc = effectiveAcceleration(p);
    if (in.left) {
        if (gs > 0)
            gs -= 2400.0f * dt;
        else if (gs > -top)
            gs = std::max(gs - acc * dt, -top);
        p.facing = -1;
    } else if (in.right) {
        if (gs < 0)
            gs += 2400.0f * dt;
        else if (gs < top)
            gs = std::min(gs + acc * dt, top);
        p.facing = 1;
    } else {
        moveToward0(gs, 900.0f * dt);
    }
    if (in.down && std::fabs(gs) > 140 && p.hero != 4) {
        p.rolling = true;
        p.events.push_back(PlayerEvent::Roll);
    }
}

void jump(Player& p) {
    float j = jumpStrength(p);
    float c = std::cos(p.angle), s = std::sin(p.angle);
    becomeAirborne(p, c * p.groundSpeed + s * j, s * p.groundSpeed - c * j);
    p.rolling = false;
    p.spinning = true;
    p.abilityArmed = false;
    p.homingUsed = false;
    p.squash = -0.25f;
    p.events.push_back(PlayerEvent::Jump);
}

// A slow player moves in slices much shorter than the longest one, and a
// steep face would then rise less than a step's height per slice, letting the
// player creep up it. So the face is also judged one full slice ahead.
bool wallAhead(const Level& level, float x, float slice, float feet) {
    if (std::fabs(slice) >= kSliceLength) return false;
    GroundHeight g = level.groundHeightAt(x + std::copysign(kSliceLength, slice));
    return g && g.y < feet - 26;
}

// Leaves the surface at the current position with the given velocity.
void leave(Player& p, float vx, float vy) { becomeAirborne(p, vx, vy); }

// Moves along the surface in slices. False when the player left the ground
// (or entered a loop) and the step is over.
bool moveAlongSurface(Player& p, Level& level, float dt, float time) {
    float dist = p.groundSpeed * dt;
    int n = std::max(int(std::ceil(std::fabs(dist) / kSliceLength)), 1);
    float slice = dist / float(n);
    for (int i = 0; i < n; ++i) {
        float ox = p.x;
        float c = std::cos(p.angle), s = std::sin(p.angle);
        float nx = ox + c * slice;
        float feet = p.y + kFeet;
        float surfaceY = 0;
        float newAngle = 0;

        if (p.surface < 0) {
            if (p.groundSpeed > 450) {
                for (std::size_t k = 0; k < level.loops.size(); ++k) {
                    const Loop& loop = level.loops[k];
                    if (loop.x > ox && loop.x <= nx && std::fabs(loop.y - feet) <= 12) {
                        p.x = loop.x;
                        p.y = loop.y - kFeet;
                        p.loopIndex = int(k);
                        p.loopAngle = 0;
                        p.loopSpeed = p.groundSpeed;
                        p.grounded = false;
                        p.surface = -1;
                        p.rolling = true;
                        return false;
                    }
                }
            }
            GroundHeight g = level.groundHeightAt(nx);
            if (g) {
                surfaceY = g.y;
                newAngle = probeGroundAngle(level, nx);
            } else {
                int k = findPlatformNear(level, nx, feet, 14, time);
                if (k < 0) {
                    p.x = nx;
                    leave(p, c * p.groundSpeed, s * p.groundSpeed);
                    return false;
                }
                p.surface = k;
                surfaceY = platformHeightAt(level.platforms[std::size_t(k)], nx, time);
                newAngle = platformAngle(level.platforms[std::size_t(k)]);
            }
        } else {
            const Platform& pl = level.platforms[std::size_t(p.surface)];
            if (platformCovers(pl, nx, time)) {
                surfaceY = platformHeightAt(pl, nx, time);
                newAngle = platformAngle(pl);
            } else {
                GroundHeight g = level.groundHeightAt(nx);
                if (g && std::fabs(g.y - feet) <= 14) {
                    p.surface = -1;
                    surfaceY = g.y;
                    newAngle = probeGroundAngle(level, nx);
                } else {
                    p.x = nx;
                    leave(p, c * p.groundSpeed, s * p.groundSpeed);
                    return false;
                }
            }
        }

        if (p.surface < 0 && (surfaceY < feet - 26 || wallAhead(level, ox, slice, feet))) {
            // A wall: stay where the slice began.
            p.x = ox;
            p.groundSpeed = 0;
            break;
        }
        float drop = surfaceY - feet;
        if (std::fabs(p.groundSpeed) > 260 && drop > std::max(0.9f * std::fabs(slice), 6.0f)) {
            p.x = nx;
            leave(p, c * p.groundSpeed, s * p.groundSpeed);
            return false;
        }
        if (drop > 30) {
            p.x = nx;
            leave(p, c * p.groundSpeed, 0);
            return false;
        }
        p.x = nx;
        p.angle = newAngle;
        p.y = surfaceY - kFeet;
    }
    return true;
}

}  // namespace

void groundStep(Player& p, const PlayerInput& in, Level& level, float dt, float time) {
    if (p.hero == 0 && spinDash(p, in, dt)) return;

    slope(p, dt);
    control(p, in, dt);

    p.groundSpeed = std::clamp(p.groundSpeed, -kMaxGroundSpeed, kMaxGroundSpeed);
    bool onlyLeft = in.left && !in.right;
    bool onlyRight = in.right && !in.left;
    if (p.groundSpeed > 1 && !onlyLeft)
        p.facing = 1;
    else if (p.groundSpeed < -1 && !onlyRight)
        p.facing = -1;

    bool spinDashHold = p.hero == 0 && in.down && std::fabs(p.groundSpeed) < 80;
    if (in.jumpPressed && !spinDashHold) {
        jump(p);
        return;
    }

    p.flameTime = std::max(p.flameTime - dt, 0.0f);

    if (!moveAlongSurface(p, level, dt, time)) return;

    if (p.surface >= 0) {
        Platform& pl = level.platforms[std::size_t(p.surface)];
        if (pl.crumbles && !pl.fallen && pl.crumbleTimer < -0.5f) pl.crumbleTimer = 0.6f;
        if (pl.movePeriod > 0) {
            sf::Vector2f now = platformOffset(pl, time);
            sf::Vector2f before = platformOffset(pl, time - dt);
            p.x += now.x - before.x;
            if (platformCovers(pl, p.x, time)) p.y = platformHeightAt(pl, p.x, time) - kFeet;
        }
    }
}

}  // namespace playerphys
