// The item pass (springs to crumblers), the helpers the passes share, and the
// effects pass.
#include "gameplay/Objects.h"

#include <algorithm>
#include <cmath>

#include "content/Zones.h"

namespace {

bool withinRadius(float dx, float dy, float r) { return dx * dx + dy * dy <= r * r; }

void springs(Level& level, Player& p, const ObjectFrame& f, ObjectEvents& ev) {
    for (Spring& s : level.springs) {
        s.squash = std::max(s.squash - 4.0f * f.dt, 0.0f);
        if (s.lifetime > 0) s.lifetime = std::max(s.lifetime - f.dt, 0.0f);  // never past 0: then it goes
        if (p.dead) continue;
        // The hero who just built a gadget spring stands on it: not thrown twice.
        bool freshGadget = s.lifetime > 0 && s.squash > 0.5f;
        if (freshGadget) continue;
        bool onIt = std::fabs(p.x - s.x) < 26 && p.y + 18 > s.y - 28 && p.y < s.y;
        if (!onIt || !(p.grounded || p.vy >= 0)) continue;
        p.grounded = false;
        p.surface = -1;
        p.vy = -s.power;
        if (s.sideways != 0) p.vx = float(s.sideways) * s.power * 0.6f;
        p.rolling = p.spinning = p.gliding = p.slamming = p.homingUsed = false;
        p.y = s.y - 42;
        s.squash = 1;
        ev.sound(ObjectSound::Spring);
    }
    std::erase_if(level.springs, [](const Spring& s) { return s.lifetime > -1 && s.lifetime <= 0; });
}

void dashPanels(const Level& level, Player& p, ObjectEvents& ev) {
    if (p.dead || !p.grounded || p.surface >= 0) return;
    for (const DashPanel& d : level.dashPanels) {
        if (std::fabs(p.x - d.x) > 30) continue;
        if (d.direction * p.groundSpeed < 1100) {
            p.groundSpeed = d.direction * 1100;
            ev.sound(ObjectSound::DashPanel, 1.4f);
        }
        p.facing = d.direction < 0 ? -1 : 1;
    }
}

void spikes(const Level& level, Player& p, Effects& fx, ObjectEvents& ev) {
    if (p.dead || p.transformed) return;
    for (const SpikeStrip& s : level.spikes) {
        if (std::fabs(p.x - s.x) > s.width * 0.5f + 6) continue;
        GroundHeight g = level.groundHeightAt(p.x);
        if (g && p.y + 18 > g.y - 22) hurtPlayer(p, fx, ev);
    }
}

void gems(Level& level, Player& p, Effects& fx, const ObjectFrame& f, ObjectEvents& ev) {
    if (p.dead) return;
    for (Gem& g : level.gems) {
        if (g.taken || !withinRadius(g.x - p.x, g.y - p.y, 28)) continue;
        g.taken = true;
        pickUpGem(p, fx, f, ev, {g.x, g.y});
    }
}

void scatteredGems(const Level& level, Player& p, Effects& fx, const ObjectFrame& f, ObjectEvents& ev) {
    const float dt = f.dt;
    // Picking one up appends a sparkle, not a gem, so the list stays put.
    for (ScatteredGem& g : fx.scatteredGems) {
        g.vy += 900.0f * dt;
        g.x += g.vx * dt;
        g.y += g.vy * dt;
        GroundHeight ground = level.groundHeightAt(g.x);
        if (ground && g.y > ground.y - 10 && g.vy > 0) {
            g.y = ground.y - 10;
            g.vy *= -0.6f;
            g.vx *= 0.9f;
        }
        g.life -= dt;
        // Not before 0.6 s in the air: the hero who lost it must not catch it at once.
        if (g.life > 0 && g.life < 3.4f && !p.dead && withinRadius(g.x - p.x, g.y - p.y, 28)) {
            g.life = 0;
            pickUpGem(p, fx, f, ev, {g.x, g.y});
        }
    }
    std::erase_if(fx.scatteredGems, [](const ScatteredGem& g) { return g.life <= 0; });
}

void monitors(Level& level, Player& p, Effects& fx, XorShift32& rng, const ObjectFrame& f, ObjectEvents& ev) {
    if (p.dead) return;
    for (Monitor& m : level.monitors) {
        if (m.broken || !withinRadius(m.x - p.x, m.y - p.y, 38)) continue;
        bool inLoop = p.loopIndex >= 0;
        bool fallsOnto = playerAirborne(p) && p.vy > 0 && m.y > p.y;
        bool heavyRunner = p.hero == 4 && p.grounded && std::fabs(p.groundSpeed) > 60;
        if (!(isAttacking(p) || heavyRunner || inLoop || fallsOnto)) continue;

        m.broken = true;
        ev.sound(ObjectSound::Monitor);
        spawnParticles(fx.particles, rng, {m.x, m.y}, 12, sf::Color(200, 200, 220), 220, 0.5f);
        if (playerAirborne(p)) bounceOffObject(p, f.jumpHeld);
        switch (m.kind) {
            case MonitorKind::TenGems:
                for (int i = 0; i < 10; ++i) pickUpGem(p, fx, f, ev, {m.x, m.y});
                break;
            case MonitorKind::Shield:
            case MonitorKind::ExtraHeart:
                givePowerUp(p, m.kind);
                ev.sound(ObjectSound::PowerUp);
                break;
            case MonitorKind::SpeedShoes:
                givePowerUp(p, m.kind);
                ev.toasts.push_back("Speed Shoes!");
                break;
            case MonitorKind::Invincibility:
                givePowerUp(p, m.kind);
                ev.toasts.push_back("Invincible!");
                break;
            default:
                break;  // an unknown kind breaks empty
        }
    }
}

void checkpoints(Level& level, const Player& p, Effects& fx, XorShift32& rng, const ObjectFrame& f,
                 ObjectEvents& ev) {
    for (Checkpoint& c : level.checkpoints) {
        if (c.reached) {
            c.spin += 4.0f * f.dt;
            continue;
        }
        if (p.dead || std::fabs(p.x - c.x) >= 30 || std::fabs(p.y - (c.y - 30)) >= 60) continue;
        c.reached = true;
        ev.respawnPoint = sf::Vector2f(c.x, c.y - 40);
        ev.script("checkpoint");
        ev.sound(ObjectSound::Checkpoint);
        spawnParticles(fx.particles, rng, {c.x, c.y - 40}, 16, sf::Color(255, 120, 120), 160, 0.8f, 4, 0, -300);
    }
}

void stonePortals(Level& level, const Player& p, ObjectEvents& ev) {
    if (p.dead) return;
    for (std::size_t i = 0; i < level.stonePortals.size(); ++i) {
        StonePortal& s = level.stonePortals[i];
        if (s.used || !withinRadius(s.x - p.x, s.y - p.y, 58)) continue;
        s.used = true;
        ev.stonePortals.push_back(int(i));
    }
}

void crumblers(Level& level, Player& p, Effects& fx, XorShift32& rng, const ObjectFrame& f) {
    const auto& zones = zoneTable();
    int zone = std::clamp(level.zone, 0, kZoneCount - 1);
    sf::Color fill = zones[std::size_t(zone)].palette.groundLight;
    for (std::size_t i = 0; i < level.platforms.size(); ++i) {
        Platform& pl = level.platforms[i];
        if (pl.fallen || pl.crumbleTimer < 0) continue;
        pl.crumbleTimer -= f.dt;
        if (pl.crumbleTimer > 0) continue;
        pl.crumbleTimer = 0;
        pl.fallen = true;
        sf::Vector2f mid = sf::Vector2f((pl.x1 + pl.x2) / 2, (pl.y1 + pl.y2) / 2) + platformOffset(pl, f.time);
        spawnParticles(fx.particles, rng, mid, 10, fill, 150, 0.6f, 6, 0, 600);
        if (p.grounded && p.surface == int(i)) {
            p.grounded = false;
            p.surface = -1;
            p.vx = p.groundSpeed;
            p.vy = 0;
        }
    }
}

}  // namespace

HurtResult hurtPlayer(Player& p, Effects& fx, ObjectEvents& ev) {
    HurtResult r = hurt(p, fx.scatteredGems);
    if (r == HurtResult::Ignored) return r;
    ev.script("hurt");
    ev.sound(ObjectSound::Hurt);
    ev.shakeFor(0.25f);
    ev.hits += 1;
    if (r == HurtResult::Killed) ev.killed = true;
    return r;
}

void pickUpGem(Player& p, Effects& fx, const ObjectFrame& f, ObjectEvents& ev, sf::Vector2f point) {
    bool own = p.doubleGems;
    p.doubleGems = own || f.doubleGems;
    GemPickup g = collectGem(p);
    p.doubleGems = own;
    ev.score += g.points;
    ev.sound(ObjectSound::Gem, g.pitch);
    ev.script("gem");
    if (g.heartRestored) ev.sound(ObjectSound::PowerUp);
    Particle s;
    s.x = point.x;
    s.y = point.y;
    s.vy = -60;
    s.life = s.maxLife = 0.5f;
    s.size = 5;
    s.color = sf::Color(255, 250, 200);
    s.shape = 1;
    fx.particles.push_back(s);
}

void bounceOffObject(Player& p, bool jumpHeld) {
    p.vy = jumpHeld ? -560.0f : -420.0f;
    p.slamming = false;
    p.homing = false;
    p.homingUsed = false;
}

void updateItems(Level& level, Player& player, Effects& effects, XorShift32& rng, const ObjectFrame& frame,
                 ObjectEvents& events) {
    springs(level, player, frame, events);
    dashPanels(level, player, events);
    spikes(level, player, effects, events);
    gems(level, player, effects, frame, events);
    scatteredGems(level, player, effects, frame, events);
    monitors(level, player, effects, rng, frame, events);
    checkpoints(level, player, effects, rng, frame, events);
    stonePortals(level, player, events);
    crumblers(level, player, effects, rng, frame);
}

void updateObjects(Level& level, Player& player, Effects& effects, XorShift32& rng, const ObjectFrame& frame,
                   ObjectEvents& events) {
    updateItems(level, player, effects, rng, frame, events);
    updateBaddies(level, player, effects, rng, frame, events);
    updateProjectiles(level, player, effects, rng, frame, events);
    updateHazards(level, player, effects, rng, frame, events);
}

void updateEffectLists(const Level& level, Effects& fx, float dt) {
    if (!(dt > 0)) return;
    float drag = std::max(1.0f - 1.5f * dt, 0.0f);
    for (Particle& q : fx.particles) {
        q.x += q.vx * dt;
        q.y += q.vy * dt;
        q.vy += q.gravity * dt;
        q.vx *= drag;
        q.vy *= drag;
        q.life -= dt;
    }
    std::erase_if(fx.particles, [](const Particle& q) { return q.life <= 0; });

    for (Critter& c : fx.critters) {
        c.vy += 900.0f * dt;
        c.x += c.vx * dt;
        c.y += c.vy * dt;
        GroundHeight g = level.groundHeightAt(c.x);
        if (g && c.y >= g.y - 6 && c.vy > 0) {
            c.y = g.y - 6;
            c.vy = -320;
        }
        c.life -= dt;
    }
    std::erase_if(fx.critters, [](const Critter& c) { return c.life <= 0; });
}

void restoreAfterRespawn(Level& level, Effects& effects) {
    for (Platform& pl : level.platforms) {
        if (!pl.crumbles) continue;
        pl.fallen = false;
        pl.crumbleTimer = -1;
    }
    effects.projectiles.clear();
}
