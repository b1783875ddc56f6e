#include "content/BossDuel.h"

#include <algorithm>
#include <cmath>

namespace {

// A plain hero's numbers: run speed, ground acceleration, jump, gravity.
constexpr float kRun = 680, kAccel = 900, kJump = 740, kGravity = 1900, kAirAccel = 1300;

void hurtAttacker(DuelAttacker& p) {
    if (p.hurtTime > 0) return;
    p.hitsTaken += 1;
    p.hurtTime = 2.0f;
    p.grounded = false;
    p.spinning = false;
    p.vx = -float(p.facing) * 260;
    p.vy = -460;
}

// True when a live or warning zone covers the ground under x.
bool zoneUnder(const BossState& b, float x, float floor) {
    for (const BossZone& z : b.zones)
        if (x >= z.x - 20 && x <= z.x + z.w + 20 && z.y + z.h >= floor - 60) return true;
    return false;
}

}  // namespace

float duelArenaWidth(int kind) {
    if (kind == Ovim) return 1500;
    return kind % 2 == 0 ? 1100.0f : 1300.0f;  // the mini bosses have even ids
}

BossToucher duelToucher(const DuelAttacker& p) {
    BossToucher t;
    t.pos = {p.x, p.y};
    t.vel = {p.vx, p.vy};
    t.grounded = p.grounded;
    t.spinning = p.spinning;
    t.groundSpeed = p.vx;
    t.jumpHeld = !p.grounded && p.vy < 0;
    return t;
}

void startDuel(BossDuel& d, int kind) {
    d = BossDuel{};
    d.arena.left = 1000;
    d.arena.right = 1000 + duelArenaWidth(kind);
    d.arena.floor = 600;
    d.player.x = d.arena.left + 160;
    d.player.y = d.arena.floor - 18;
    d.arena.player = {d.player.x, d.player.y};
    spawnBoss(d.boss, kind, d.arena.left, d.arena.right, d.arena.floor);
}

void stepDuel(BossDuel& d, float dt) {
    if (d.won) return;
    DuelAttacker& p = d.player;
    const BossState& b = d.boss;
    const float L = d.arena.left, R = d.arena.right, F = d.arena.floor;
    d.time += dt;
    p.hurtTime = std::max(p.hurtTime - dt, 0.0f);

    // Choose where to go and whether to jump.
    float goal;
    bool jump = false;
    const bool open = b.vulnerable && b.hitFlash <= 0 && !b.defeated;
    if (open) {
        goal = b.weakX;
        // Jump from under the weak point when it is within a jump's reach
        // (the arc's peak lies about 144 above the ground), then steer onto it.
        float dx = std::fabs(b.weakX - p.x);
        float reach = b.weakRadius + kBossPlayerRadius;
        if (dx < std::max(reach, 60.0f) && b.weakY > F - 18 - 144 - reach + 4) jump = true;
    } else {
        // Keep some way off the boss, on the side with room, ready to go in.
        const float keep = 330;
        int side = p.x < b.x ? -1 : 1;
        if (side < 0 && b.x - keep < L + 40) side = 1;
        if (side > 0 && b.x + keep > R - 40) side = -1;
        goal = std::clamp(b.x + float(side) * keep, L + 40, R - 40);
    }
    // Step off zones laid on the ground.
    if (!open && zoneUnder(b, p.x, F)) {
        float left = p.x, right = p.x;
        while (left > L + 20 && zoneUnder(b, left, F)) left -= 10;
        while (right < R - 20 && zoneUnder(b, right, F)) right += 10;
        goal = (p.x - left < right - p.x && left > L + 20) ? left - 30 : right + 30;
        if (zoneUnder(b, left, F) && zoneUnder(b, right, F)) jump = true;
    }
    // Hop over low shots and charging bodies coming close.
    for (const BossShot& s : b.shots) {
        float dx = s.x - p.x;
        if (std::fabs(dx) < 110 && s.y > F - 90 && (dx * s.vx < 0 || std::fabs(dx) < 40)) jump = true;
    }
    for (const BossCircle& c : b.hurtCircles) {
        float dx = c.x - p.x;
        if (std::fabs(dx) < c.radius + 90 && c.y > F - 90) jump = true;
    }

    // Move.
    int want = goal > p.x + 8 ? 1 : (goal < p.x - 8 ? -1 : 0);
    if (p.grounded) {
        if (open && std::fabs(goal - p.x) < 120) {
            // Close in gently so the jump starts under the weak point.
            float target = std::clamp((goal - p.x) * 4.0f, -kRun, kRun);
            float step = 2400 * dt;
            p.vx += std::clamp(target - p.vx, -step, step);
        } else if (want != 0) {
            p.facing = want;
            p.vx += float(want) * (p.vx * float(want) < 0 ? 2400.0f : kAccel) * dt;
            p.vx = std::clamp(p.vx, -kRun, kRun);
        } else {
            float f = 900 * dt;
            p.vx = std::fabs(p.vx) <= f ? 0 : p.vx - f * (p.vx > 0 ? 1.0f : -1.0f);
        }
        if (jump) {
            p.vy = -kJump;
            p.grounded = false;
            p.spinning = true;
        }
    } else {
        if (open) {
            // Match the speed that closes on the weak point.
            float target = std::clamp((b.weakX - p.x) * 5.0f, -kRun, kRun);
            float step = kAirAccel * dt;
            p.vx += std::clamp(target - p.vx, -step, step);
            if (want != 0) p.facing = want;
        } else if (want != 0) {
            p.facing = want;
            float limit = std::max(std::fabs(p.vx), kRun);
            p.vx = std::clamp(p.vx + float(want) * kAirAccel * dt, -limit, limit);
        }
        p.vy = std::min(p.vy + kGravity * dt, 1400.0f);
    }
    p.vx += 2 * d.arena.wind * dt;
    p.x += p.vx * dt;
    if (!p.grounded) p.y += p.vy * dt;
    if (p.y >= F - 18 && p.vy >= 0) {
        p.y = F - 18;
        p.vy = 0;
        p.grounded = true;
        p.spinning = false;
    }
    if (p.x < L + 18) {
        p.x = L + 18;
        p.vx = std::max(p.vx, 0.0f);
    }
    if (p.x > R - 18) {
        p.x = R - 18;
        p.vx = std::min(p.vx, 0.0f);
    }

    // The boss's frame, then the touch rules.
    d.arena.player = {p.x, p.y};
    updateBoss(d.boss, d.arena, dt);
    if (d.boss.gone) {
        d.won = true;
        return;
    }
    BossTouchResult r = bossTouchPlayer(d.boss, duelToucher(p));
    if (r.bossHit) p.hitsDealt += 1;
    if (r.setVelocity) {
        p.vx = r.velocity.x;
        p.vy = r.velocity.y;
    }
    if (r.leaveGround) p.grounded = false;
    if (r.endAttacks) p.spinning = false;
    if (r.hurtPlayer) hurtAttacker(p);
}
