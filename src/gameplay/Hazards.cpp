// Stalactites, updrafts, lasers, wisps and crushers.
#include "gameplay/Hazards.h"

#include <algorithm>
#include <cmath>

namespace {

void stalactite(Hazard& h, const Level& level, Player& p, Effects& fx, XorShift32& rng, float dt,
                ObjectEvents& ev) {
    if (h.shattered) return;
    if (!h.falling && std::fabs(p.x - h.x) <= 130 && p.y > h.y) h.falling = true;
    if (h.falling) {
        h.vy += 1500.0f * dt;
        h.y += h.vy * dt;
        GroundHeight g = level.groundHeightAt(h.x);
        if (g && h.y + 20 >= g.y) {
            h.shattered = true;
            spawnParticles(fx.particles, rng, {h.x, h.y + 20}, 12, sf::Color(170, 240, 255), 200, 0.5f);
            ev.sound(ObjectSound::Stomp, 1.5f);
            return;
        }
        if (!g && h.y > level.lowestGroundY + 700) {
            h.shattered = true;  // fell into a pit: gone without a sound
            return;
        }
    }
    if (!p.dead && std::fabs(p.x - h.x) <= 32 && std::fabs(p.y - h.y) <= 48) hurtPlayer(p, fx, ev);
}

void updraft(const Hazard& h, Player& p, float dt) {
    if (p.dead || std::fabs(p.x - h.x) > h.w / 2 || p.y > h.y || p.y < h.y - h.h) return;
    p.vy = std::max(p.vy - 3400.0f * dt, -620.0f);
    p.grounded = false;
    p.surface = -1;
    p.gliding = false;
}

void laser(const Hazard& h, const Level& level, Player& p, Effects& fx, ObjectEvents& ev) {
    if (p.dead || !laserOn(h) || std::fabs(p.x - h.x) > 24) return;
    float base = hazardGround(level, h);
    if (p.y <= base && p.y >= base - h.h) hurtPlayer(p, fx, ev);
}

void wisp(const Hazard& h, Player& p, Effects& fx, ObjectEvents& ev) {
    if (p.dead) return;
    sf::Vector2f at = wispAt(h);
    float dx = at.x - p.x, dy = at.y - p.y;
    if (dx * dx + dy * dy <= 38.0f * 38.0f) hurtPlayer(p, fx, ev);
}

bool fullyDown(float phase) { return phase >= 2.12f && phase < 2.5f; }

void crusher(const Hazard& h, const Level& level, Player& p, Effects& fx, float dt, ObjectEvents& ev) {
    float phase = cyclePhase(h.timer, kCrusherCycle);
    float before = cyclePhase(h.timer - dt, kCrusherCycle);
    if (fullyDown(phase) && !fullyDown(before)) {
        float dx = h.x - p.x, dy = h.y - p.y;
        if (dx * dx + dy * dy <= 500.0f * 500.0f) ev.shakeFor(0.12f);
    }
    if (p.dead) return;
    float bottom = crusherBottom(h, hazardGround(level, h));
    if (std::fabs(p.x - h.x) <= h.w / 2 + 10.8f && p.y >= bottom - 70 && p.y <= bottom + 12)
        hurtPlayer(p, fx, ev);
}

}  // namespace

float cyclePhase(float timer, float period) {
    if (!(period > 0) || !std::isfinite(timer)) return 0;
    float p = std::fmod(timer, period);
    if (p < 0) p += period;
    return p >= period ? 0 : p;
}

bool laserOn(const Hazard& laser) { return cyclePhase(laser.timer, kLaserCycle) < 1.2f; }

float crusherExtension(float p) {
    if (p < 2.0f) return 0;
    if (p < 2.12f) return (p - 2.0f) / 0.12f;
    if (p < 2.5f) return 1;
    return std::max(1.0f - 2.0f * (p - 2.5f), 0.0f);
}

float crusherBottom(const Hazard& crusher, float groundY) {
    return groundY - (1.0f - crusherExtension(cyclePhase(crusher.timer, kCrusherCycle))) * crusher.h;
}

sf::Vector2f wispAt(const Hazard& w) {
    return {w.x + 90.0f * std::cos(1.3f * w.timer), w.y + 40.0f * std::sin(2.6f * w.timer)};
}

float hazardGround(const Level& level, const Hazard& h) {
    GroundHeight g = level.groundHeightAt(h.x);
    return g ? g.y : h.y;
}

void updateHazards(Level& level, Player& player, Effects& effects, XorShift32& rng, const ObjectFrame& frame,
                   ObjectEvents& events) {
    const float dt = frame.dt;
    for (Hazard& h : level.hazards) {
        h.timer += dt;
        switch (h.kind) {
            case HazardKind::Stalactite: stalactite(h, level, player, effects, rng, dt, events); break;
            case HazardKind::Updraft: updraft(h, player, dt); break;
            case HazardKind::Laser: laser(h, level, player, effects, events); break;
            case HazardKind::Wisp: wisp(h, player, effects, events); break;
            case HazardKind::Crusher: crusher(h, level, player, effects, dt, events); break;
            default: break;
        }
    }
}
