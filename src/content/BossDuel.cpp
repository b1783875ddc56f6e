#include "content/BossDuel.h"

#include <algorithm>
#include <cmath>

namespace {

// True when a zone that is live, or soon will be, covers the ground under x.
bool zoneUnder(const BossState& b, float x, float floor) {
    for (const BossZone& z : b.zones)
        if (z.warn < 0.6f && x >= z.x - 6 && x <= z.x + z.w + 6 && z.y + z.h >= floor - 60) return true;
    return false;
}

// Presses toward the speed that closes on goal, with a little slack.
void steer(PlayerInput& in, float speed, float goal, float x, float top, float gain) {
    float want = std::clamp((goal - x) * gain, -top, top);
    if (speed < want - 25) in.right = true;
    if (speed > want + 25) in.left = true;
}

// Whether a jump started now, steered onto the weak point, touches it before
// it touches a hurt circle or comes down again. The boss is taken to stand
// still for the jump's short flight.
bool jumpWouldHit(const BossDuel& d, float top) {
    const Player& p = d.player;
    const BossState& b = d.boss;
    const float g = 1900 * p.gravityScale, dt = 1.0f / 60.0f;
    const float reach = b.weakRadius + kBossPlayerRadius - 2;
    float x = p.x, y = p.y, vx = p.groundSpeed, vy = -jumpStrength(p);
    for (int i = 0; i < 90; ++i) {
        float want = std::clamp((b.weakX - x) * 5.0f, -top, top);
        vx += std::clamp(want - vx, -1300 * dt, 1300 * dt);
        vy += g * dt;
        x += vx * dt;
        y += vy * dt;
        if (y > d.arena.floor - 18) return false;
        for (const BossCircle& c : b.hurtCircles)
            if (std::hypot(x - c.x, y - c.y) < c.radius + kBossPlayerRadius + 2) return false;
        if (std::hypot(x - b.weakX, y - b.weakY) < reach) return true;
    }
    return false;
}

}  // namespace

float duelArenaWidth(int kind) {
    if (kind == Ovim) return 1500;
    return kind % 2 == 0 ? 1100.0f : 1300.0f;  // the mini bosses have even ids
}

void startDuel(BossDuel& d, int kind, int hero) {
    d = BossDuel{};
    d.arena.left = 1000;
    d.arena.right = 1000 + duelArenaWidth(kind);
    d.arena.floor = 600;
    Level& L = d.level;
    GroundPath ground;
    for (float x = d.arena.left - 600; x <= d.arena.right + 600; x += 40) ground.push_back({x, d.arena.floor});
    L.groundPaths = {ground};
    L.arenaX = d.arena.left;
    L.bossX = d.arena.right;
    L.arenaY = d.arena.floor;
    L.bossId = kind;
    L.endX = d.arena.right + 600;
    L.lowestGroundY = d.arena.floor;
    L.startPos = {d.arena.left + 160, d.arena.floor - 18};
    d.player = makePlayer(hero, L.startPos);
    d.player.grounded = true;
    d.arena.player = L.startPos;
    startBossFight(d.boss, L);
}

void stepDuel(BossDuel& d, float dt) {
    if (d.won) return;
    Player& p = d.player;
    const BossState& b = d.boss;
    const float L = d.arena.left, R = d.arena.right, F = d.arena.floor;
    d.time += dt;

    // Where to go and whether to jump.
    float goal;
    bool jump = false;
    const bool open = b.vulnerable && b.hitFlash <= 0 && !b.defeated;
    const float apex = jumpStrength(p) * jumpStrength(p) / (2 * 1900 * p.gravityScale);
    if (open) {
        // Run at the weak point and jump as soon as the jump would land on it;
        // right under it, jump anyway.
        goal = b.weakX;
        float dx = std::fabs(b.weakX - p.x);
        float reach = b.weakRadius + kBossPlayerRadius;
        if (p.grounded && jumpWouldHit(d, effectiveTopSpeed(p))) jump = true;
        if (dx < std::max(reach, 60.0f) * 0.5f && b.weakY > F - 18 - apex - reach + 4) jump = true;
    } else {
        // Some way off the boss, on the side with room, ready to go in.
        const float keep = 330;
        int side = p.x < b.x ? -1 : 1;
        if (side < 0 && b.x - keep < L + 40) side = 1;
        if (side > 0 && b.x + keep > R - 40) side = -1;
        goal = std::clamp(b.x + float(side) * keep, L + 40, R - 40);
        if (zoneUnder(b, p.x, F)) {
            // Step off zones laid on the ground.
            float left = p.x, right = p.x;
            while (left > L + 20 && zoneUnder(b, left, F)) left -= 10;
            while (right < R - 20 && zoneUnder(b, right, F)) right += 10;
            goal = (p.x - left < right - p.x && left > L + 20) ? left - 30 : right + 30;
            if (zoneUnder(b, left, F) && zoneUnder(b, right, F)) jump = true;
        }
    }
    // Hop over live zones sweeping along the floor toward us.
    for (const BossZone& z : b.zones) {
        if (z.warn > 0 || z.vx == 0 || z.y + z.h < F - 40) continue;
        float zx = z.x + z.w / 2, dx = zx - p.x;
        if (std::fabs(dx) < 120 + z.w / 2 && dx * z.vx < 0) jump = true;
    }
    // Hop over low shots and bodies coming close.
    for (const BossShot& s : b.shots) {
        float dx = s.x - p.x;
        if (std::fabs(dx) < 110 && s.y > F - 90 && (dx * s.vx < 0 || std::fabs(dx) < 40)) jump = true;
    }
    if (!open) {
        for (const BossCircle& c : b.hurtCircles) {
            float dx = c.x - p.x;
            if (std::fabs(dx) < c.radius + 90 && c.y > F - 90) jump = true;
        }
    }

    // Keys.
    PlayerInput in;
    const float top = effectiveTopSpeed(p);
    if (p.grounded) {
        steer(in, p.groundSpeed, goal, p.x, top, open ? 4.0f : 3.0f);
        bool press = jump && !d.jumpHeld;
        in.jumpPressed = press;
        in.jumpReleased = d.jumpHeld && !press;
        d.jumpHeld = press;
    } else {
        float aim = open ? b.weakX : goal;
        steer(in, p.vx, aim, p.x, top, 5.0f);
        in.jumpReleased = false;  // held for a full jump
    }
    in.jumpHeld = d.jumpHeld;

    updatePlayer(p, in, d.level, dt, d.time);
    // The arena walls.
    if (p.x < L + 18) {
        p.x = L + 18;
        p.vx = std::max(p.vx, 0.0f);
        p.groundSpeed = std::max(p.groundSpeed, 0.0f);
    }
    if (p.x > R - 18) {
        p.x = R - 18;
        p.vx = std::min(p.vx, 0.0f);
        p.groundSpeed = std::min(p.groundSpeed, 0.0f);
    }

    // The boss's frame and the touch rules, as in play.
    BossFrame f = stepBossFight(d.boss, d.arena, p, d.jumpHeld, dt, d.effects, d.rng);
    d.effects.clear();
    if (f.bossGone) {
        d.won = true;
        return;
    }
    if (f.bossHit) d.hitsDealt += 1;
    if (f.hurt != HurtResult::Ignored) d.hitsTaken += 1;
    if (p.dead || p.hearts <= 0) {
        p.dead = false;
        p.hearts = p.maxHearts;
    }
}
