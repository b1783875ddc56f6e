// Gems, hits, power-ups, the death fall and the transformed form.
#include <algorithm>
#include <cmath>

#include "gameplay/PlayerPhysics.h"

using namespace playerphys;

GemPickup collectGem(Player& p) {
    GemPickup r;
    p.gems += p.doubleGems ? 2 : 1;
    p.gemsTowardHeart += 1;
    if (p.gemsTowardHeart >= 25) {
        p.gemsTowardHeart = 0;
        if (p.hearts < p.maxHearts) {
            p.hearts += 1;
            r.heartRestored = true;
        }
    }
    r.pitch = 1.0f + 0.03f * float(p.gems % 5);
    return r;
}

HurtResult hurt(Player& p, std::vector<ScatteredGem>& scattered) {
    if (p.hurtTime > 0 || p.transformed || p.invincibleTime > 0 || p.blinkTime > 0.1f || p.dead)
        return HurtResult::Ignored;

    if (p.oneHit) {
        p.shield = false;
        p.hearts = 1;
    }
    HurtResult result;
    if (p.shield) {
        p.shield = false;
        p.hurtTime = 1.5f;
        result = HurtResult::Shielded;
    } else {
        p.hearts -= 1;
        p.hurtTime = 2.0f;
        int n = std::clamp(p.gems, 0, 12);
        p.gems -= n;
        for (int i = 0; i < n; ++i) {
            float a = (float(i) - float(n) / 2.0f) * 0.35f - kPi / 2.0f;
            ScatteredGem g;
            g.x = p.x;
            g.y = p.y;
            g.vx = 320.0f * std::cos(a);
            g.vy = 420.0f * std::sin(a) - 100.0f;
            g.life = 4.0f;
            scattered.push_back(g);
        }
        result = HurtResult::Hit;
    }

    becomeAirborne(p, -float(p.facing) * 260.0f, -460.0f);
    p.rolling = p.spinning = p.gliding = p.slamming = p.homing = false;
    p.charging = false;
    p.loopIndex = -1;
    if (p.hearts <= 0) {
        p.hearts = 0;
        p.dead = true;
        result = HurtResult::Killed;
    }
    return result;
}

bool givePowerUp(Player& p, int kind) {
    switch (kind) {
        case MonitorKind::Shield:
            p.shield = true;
            return true;
        case MonitorKind::SpeedShoes:
            p.speedShoesTime = 15.0f;
            return true;
        case MonitorKind::ExtraHeart:
            p.hearts = std::min(p.hearts + 1, p.maxHearts);
            return true;
        case MonitorKind::Invincibility:
            p.invincibleTime = 15.0f;
            return true;
        default:
            return false;
    }
}

DeathFallStep updateDeathFall(Player& p, float dt) {
    DeathFallStep r;
    if (!p.dead) return r;
    if (!(dt > 0)) dt = 0;
    if (!p.deathStarted) {
        p.deathStarted = true;
        p.deathTime = 0;
        p.vx = 0;
        p.vy = -700;
        p.grounded = false;
        p.surface = -1;
        p.loopIndex = -1;
        r.started = true;
    }
    p.vy += kGravity * dt;
    p.x += p.vx * dt;
    p.y += p.vy * dt;
    p.deathTime += dt;
    r.respawnDue = p.deathTime >= kDeathFallTime;
    return r;
}

Player respawnPlayer(const Player& old, sf::Vector2f point) {
    PlayerModifiers mods;
    mods.gravity = old.gravityScale;
    mods.speed = old.speedScale;
    mods.jump = old.jumpScale;
    mods.size = old.sizeScale;
    mods.oneHit = old.oneHit;
    mods.doubleGems = old.doubleGems;
    Player p = makePlayer(old.hero, point, mods);
    p.hurtTime = 1.5f;
    return p;
}

bool tryTransform(Player& p, bool transformPressed, std::uint32_t secretStones, std::uint32_t divineStones) {
    constexpr std::uint32_t kAllSeven = 0x7Fu;
    if (!transformPressed || p.transformed || p.grounded || p.dead) return false;
    if ((secretStones & kAllSeven) != kAllSeven || p.gems < 50) return false;
    p.transformed = true;
    p.divine = (divineStones & kAllSeven) == kAllSeven;
    p.formDrain = 0;
    return true;
}

bool everyOtherTick(float time, float dt, float rate) {
    double now = std::floor(double(time) * rate);
    double before = std::floor((double(time) - double(dt)) * rate);
    if (now - before >= 2) return true;
    if (now - before < 1) return false;
    return std::fmod(std::fabs(now), 2.0) == 0;
}

FormUpkeep updateForm(Player& p, float dt, float time) {
    FormUpkeep r;
    if (!p.transformed) return r;
    if (dt > 0) p.formDrain += dt;
    while (p.formDrain >= 1.0f) {
        p.formDrain -= 1.0f;
        p.gems -= 1;
    }
    if (p.gems < 1) {
        p.gems = 0;
        p.transformed = false;
        p.divine = false;
        p.formDrain = 0;
        r.ended = true;
        return r;
    }
    if (everyOtherTick(time, dt, 30.0f)) {
        r.sparkle = true;
        r.sparklePos = {p.x + 14.0f * std::sin(13.0f * time), p.y + 14.0f * std::cos(11.0f * time)};
        r.rainbowSparkle = p.divine;
        r.sparkleColor = sf::Color(255, 255, 230);
    }
    return r;
}
