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

bool everyOtherTick(float before, float after, float rate) {
    double a = std::floor(double(before) * rate);
    double b = std::floor(double(after) * rate);
    if (b - a >= 2) return true;
    if (b - a < 1) return false;
    return std::fmod(std::fabs(b), 2.0) == 0;
}

FormUpkeep updateForm(Player& p, float dt, float time) {
    FormUpkeep r;
    if (!p.transformed) return r;
    // The drain clock also times the sparkles: it only ever loses whole
    // seconds, which keeps the tick count even.
    float before = p.formDrain;
    if (dt > 0) p.formDrain += dt;
    bool sparkle = everyOtherTick(before, p.formDrain, 30.0f);
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
    if (sparkle) {
        r.sparkle = true;
        r.sparklePos = {p.x + 14.0f * std::sin(13.0f * time), p.y + 14.0f * std::cos(11.0f * time)};
        r.rainbowSparkle = p.divine;
        r.sparkleColor = sf::Color(255, 255, 230);
    }
    return r;
}

PlayerEventEffect playerEventEffect(PlayerEvent event, const Player& p) {
    PlayerEventEffect e;
    e.at = {p.x, p.y + kFeet};
    auto burst = [&](int count, sf::Color color, float speed, float life, float size = 4) {
        e.particles = count;
        e.color = color;
        e.speed = speed;
        e.life = life;
        e.size = size;
    };
    switch (event) {
        case PlayerEvent::Jump:
            e.sound = 0;
            e.scriptEvent = "jump";
            break;
        case PlayerEvent::Roll:
            e.sound = 8;
            e.pitch = 1.3f;
            break;
        case PlayerEvent::SpinRev:
            e.sound = 6;
            e.pitch = 1.0f + 0.6f * p.charge;
            break;
        case PlayerEvent::SpinRelease:
            e.sound = 7;
            e.scriptEvent = "ability";
            burst(10, sf::Color(230, 230, 230), 200, 0.4f);
            break;
        case PlayerEvent::Flap:
            e.sound = 18;
            e.scriptEvent = "ability";
            break;
        case PlayerEvent::GlideStart:
            e.sound = 8;
            e.scriptEvent = "ability";
            break;
        case PlayerEvent::Slam:
            e.sound = 8;
            e.pitch = 0.7f;
            e.scriptEvent = "ability";
            break;
        case PlayerEvent::SlamBounce:
            e.sound = 16;
            burst(12, sf::Color(255, 220, 90), 240, 0.4f);
            break;
        case PlayerEvent::HomingDash:
            e.sound = 17;
            e.scriptEvent = "ability";
            break;
        case PlayerEvent::FlameDash:
            e.sound = 15;
            e.scriptEvent = "ability";
            break;
        case PlayerEvent::GadgetSpring:
            e.sound = 3;
            e.scriptEvent = "ability";
            break;
        case PlayerEvent::Blink:
            e.sound = 14;
            e.scriptEvent = "ability";
            burst(16, sf::Color(255, 215, 0), 220, 0.4f, 4);
            e.at = p.blinkFrom;
            break;
        case PlayerEvent::HardLanding:
            burst(8, sf::Color(220, 210, 190), 160, 0.35f);
            break;
    }
    return e;
}
