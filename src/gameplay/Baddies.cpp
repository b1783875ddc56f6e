// The six baddie kinds: movement, attacks, meeting the player; and the shots.
#include "gameplay/Baddies.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

int sideOf(float from, float to) { return to >= from ? 1 : -1; }

float segmentDistance(sf::Vector2f p, sf::Vector2f a, sf::Vector2f b) {
    sf::Vector2f ab = b - a;
    float len2 = ab.x * ab.x + ab.y * ab.y;
    float t = len2 > 0 ? std::clamp(((p.x - a.x) * ab.x + (p.y - a.y) * ab.y) / len2, 0.0f, 1.0f) : 0.0f;
    sf::Vector2f d = p - (a + ab * t);
    return std::sqrt(d.x * d.x + d.y * d.y);
}

// Walks back and forth within 160 of home, turning at drops, walls and pits.
void patrol(Baddie& b, const Level& level, float speed, float dt) {
    float nx = b.x + float(b.dir) * speed * dt;
    GroundHeight here = level.groundHeightAt(b.x);
    GroundHeight ahead = level.groundHeightAt(nx + 16.0f * float(b.dir));
    if (here && ahead && std::fabs(here.y - ahead.y) <= 20 && std::fabs(nx - b.homeX) <= 160)
        b.x = nx;
    else
        b.dir = -b.dir;
    GroundHeight g = level.groundHeightAt(b.x);
    if (g) b.y = g.y - 16;
}

void fire(Effects& fx, float x, float y, float vx, float vy, float life, float radius, bool gravity, int kind) {
    Projectile pr;
    pr.x = x;
    pr.y = y;
    pr.vx = vx;
    pr.vy = vy;
    pr.life = life;
    pr.radius = radius;
    pr.gravity = gravity;
    pr.kind = kind;
    fx.projectiles.push_back(pr);
}

void moveAndAttack(Baddie& b, const Level& level, const Player& p, Effects& fx, float dt) {
    float toPlayer = std::fabs(p.x - b.x);
    switch (b.kind) {
        case BaddieKind::Crawler:
            patrol(b, level, 80, dt);
            break;
        case BaddieKind::Spiker:
            patrol(b, level, 50, dt);
            break;
        case BaddieKind::Buzzer: {
            b.x = b.homeX + 120.0f * std::sin(0.9f * b.timer);
            b.y = b.homeY + 20.0f * std::sin(2.2f * b.timer);
            b.dir = std::cos(0.9f * b.timer) >= 0 ? 1 : -1;
            if (b.cooldown <= 0 && toPlayer <= 380) {
                float sx = b.x, sy = b.y + 16;
                float dx = p.x - sx, dy = p.y - sy;
                float len = std::max(std::sqrt(dx * dx + dy * dy), 1.0f);
                fire(fx, sx, sy, dx / len * 260.0f, dy / len * 260.0f, 3, 7, false, 0);
                b.cooldown = 2.4f;
            }
            break;
        }
        case BaddieKind::Hopper: {
            b.vy += 1400.0f * dt;
            b.x += b.vx * dt;
            b.y += b.vy * dt;
            GroundHeight g = level.groundHeightAt(b.x);
            bool standing = false;
            if (g && b.vy >= 0 && b.y >= g.y - 15) {
                b.y = g.y - 15;
                b.vy = 0;
                b.vx = 0;
                standing = true;
            } else if (!g && b.y > level.lowestGroundY + 300) {
                b.alive = false;  // hopped into a pit
                break;
            }
            if (standing && b.cooldown <= 0 && toPlayer <= 500) {
                b.dir = sideOf(b.x, p.x);
                b.vy = -560;
                b.vx = 140.0f * float(b.dir);
                b.cooldown = 1.3f;
            }
            break;
        }
        case BaddieKind::Bomber:
            b.x = b.homeX + 200.0f * std::sin(0.6f * b.timer);
            b.y = b.homeY;
            if (b.cooldown <= 0 && toPlayer <= 120) {
                fire(fx, b.x, b.y + 14, 0, 60, 5, 9, true, 1);
                b.cooldown = 1.6f;
            }
            break;
        case BaddieKind::Turret:
            b.dir = sideOf(b.x, p.x);
            if (b.cooldown <= 0 && toPlayer <= 520) {
                // Under 900/s^2 it comes down where the player is one second later.
                fire(fx, b.x + 20.0f * float(b.dir), b.y - 14, p.x - b.x, p.y - b.y - 450, 4, 10, true, 1);
                b.cooldown = 2.2f;
            }
            break;
        default:
            break;
    }
}

void breakBaddie(Baddie& b, Player& p, Effects& fx, XorShift32& rng, const ObjectFrame& f, ObjectEvents& ev) {
    b.alive = false;
    ev.score += 100;
    ev.script("stomp");
    ev.baddiesBroken += 1;
    ev.sound(ObjectSound::Stomp);
    spawnParticles(fx.particles, rng, {b.x, b.y}, 14, sf::Color(255, 200, 80), 260, 0.5f, 5);
    Particle flash;
    flash.x = b.x;
    flash.y = b.y;
    flash.life = flash.maxLife = 0.4f;
    flash.size = 30;
    flash.color = sf::Color::White;
    fx.particles.push_back(flash);

    Critter c;
    c.x = b.x;
    c.y = b.y;
    c.vx = 120.0f * float(sideOf(p.x, b.x));
    c.vy = -300;
    c.life = 3;
    c.color = critterColor(f.baddiesBrokenBefore + ev.baddiesBroken);
    fx.critters.push_back(c);

    if (playerAirborne(p)) bounceOffObject(p, f.jumpHeld);
}

void meetPlayer(Baddie& b, Player& p, Effects& fx, XorShift32& rng, const ObjectFrame& f, ObjectEvents& ev) {
    float dx = b.x - p.x, dy = b.y - p.y;
    bool blinkHit = p.blinkTime > 0.25f && segmentDistance({b.x, b.y}, p.blinkFrom, p.blinkTo) <= 40;
    if (dx * dx + dy * dy > 1156 && !blinkHit) return;

    bool inLoop = p.loopIndex >= 0;
    bool fallsOnto = playerAirborne(p) && p.vy > 0 && b.y - 6 > p.y;
    bool spiked = b.kind == BaddieKind::Spiker && fallsOnto &&
                  !(p.transformed || p.invincibleTime > 0 || p.slamming);
    bool heavyRunner = p.hero == 4 && p.grounded && (std::fabs(p.groundSpeed) > 60 || inLoop);
    bool breaks = blinkHit || (!spiked && (isAttacking(p) || heavyRunner || inLoop || fallsOnto));
    if (breaks)
        breakBaddie(b, p, fx, rng, f, ev);
    else
        hurtPlayer(p, fx, ev);
}

}  // namespace

sf::Color critterColor(int brokenCount) {
    static const std::array<sf::Color, 4> colors = {sf::Color(255, 160, 200), sf::Color(160, 220, 255),
                                                    sf::Color(255, 230, 140), sf::Color(180, 255, 170)};
    int i = brokenCount % 4;
    if (i < 0) i += 4;
    return colors[std::size_t(i)];
}

void updateBaddies(Level& level, Player& player, Effects& effects, XorShift32& rng, const ObjectFrame& frame,
                   ObjectEvents& events) {
    if (frame.noBaddies) return;
    for (Baddie& b : level.enemies) {
        if (!b.alive || !(std::fabs(b.x - player.x) <= kBaddieUpdateRange)) continue;
        b.timer += frame.dt;
        b.cooldown -= frame.dt;
        moveAndAttack(b, level, player, effects, frame.dt);
        if (!b.alive || player.dead) continue;
        meetPlayer(b, player, effects, rng, frame, events);
    }
}

void updateProjectiles(const Level& level, Player& player, Effects& effects, XorShift32& rng,
                       const ObjectFrame& frame, ObjectEvents& events) {
    const float dt = frame.dt;
    // Hurting the player may append scattered gems and particles but never
    // projectiles, so the list stays put while it is walked.
    for (Projectile& pr : effects.projectiles) {
        if (pr.gravity) pr.vy += 900.0f * dt;
        pr.x += pr.vx * dt;
        pr.y += pr.vy * dt;
        pr.life -= dt;
        if (pr.life <= 0) continue;
        GroundHeight g = level.groundHeightAt(pr.x);
        if (g && pr.y > g.y - pr.radius) {
            pr.life = 0;
            if (pr.kind == 1)
                spawnParticles(effects.particles, rng, {pr.x, pr.y}, 10, sf::Color(255, 150, 40), 200, 0.4f);
            continue;
        }
        if (player.dead) continue;
        bool fireproof = pr.kind == 1 && player.hero == 6;
        float dx = pr.x - player.x, dy = pr.y - player.y, reach = pr.radius + 18;
        if (!fireproof && dx * dx + dy * dy <= reach * reach) {
            pr.life = 0;
            hurtPlayer(player, effects, events);
        }
    }
    std::erase_if(effects.projectiles, [](const Projectile& pr) { return pr.life <= 0; });
}
