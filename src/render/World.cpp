#include "render/World.h"

#include <SFML/Graphics/View.hpp>
#include <algorithm>
#include <cmath>

#include "content/BossFight.h"
#include "content/BossLooks.h"
#include "content/Zones.h"
#include "gameplay/Hazards.h"
#include "render/Background.h"
#include "render/BossInView.h"
#include "render/Objects.h"
#include "render/Terrain.h"

namespace {

constexpr float kViewW = 960, kViewH = 540;

void drawCaveShade(ShapeBatch& b, sf::FloatRect v) {
    b.gradient({v.left, v.top}, {v.width, 120}, sf::Color(0, 0, 0, 150), sf::Color(0, 0, 0, 0));
}

}  // namespace

sf::Vector2f shakeOffset(float k, float t) {
    if (!(k > 0)) return {0, 0};
    return {std::sin(t * 90.0f) * 6.0f * k / 0.3f, std::cos(t * 70.0f) * 5.0f * k / 0.3f};
}

sf::FloatRect worldViewRect(sf::Vector2f camera, float shakeTime, float t) {
    const sf::Vector2f s = shakeOffset(shakeTime, t);
    return {camera.x - kViewW / 2 + s.x, camera.y - kViewH / 2 + s.y, kViewW, kViewH};
}

bool insideCull(float x, sf::FloatRect view, float margin) {
    return x > view.left - margin && x < view.left + view.width + margin;
}

void drawWorld(DrawContext& ctx, const WorldScene& s) {
    if (!s.level) return;
    const Level& level = *s.level;
    const int zoneIndex = std::clamp(level.zone, 0, kZoneCount - 1);
    const ZoneDef& zone = zoneTable()[std::size_t(zoneIndex)];
    const ZonePalette& z = zone.palette;
    const float t = s.time;

    const sf::View previous = ctx.target.getView();
    const sf::FloatRect v = worldViewRect(s.camera, s.shakeTime, t);
    sf::View world(v);
    world.setViewport(previous.getViewport());
    ctx.target.setView(world);

    const float right = v.left + v.width;
    auto near = [&](float x) { return insideCull(x, v, 100); };

    ShapeBatch b;
    // 1. Sky, stars and scenery.
    drawBackground(b, zone, zoneIndex, v, t);
    // 2. Loops, culled by their circle.
    for (const Loop& loop : level.loops)
        if (loop.x + loop.radius + 42 > v.left && loop.x - loop.radius - 42 < right) drawLoop(b, loop, z);
    // 3. Updrafts sit behind the ground.
    for (const Hazard& h : level.hazards)
        if (h.kind == HazardKind::Updraft && near(h.x)) drawHazard(b, h, level, t);
    // 4. Terrain.
    drawTerrain(b, level, zone, zoneIndex, v, t);
    // 5. Platforms.
    for (const Platform& p : level.platforms) {
        if (p.fallen) continue;
        const sf::Vector2f off = platformOffset(p, t);
        const float x1 = std::min(p.x1, p.x2) + off.x, x2 = std::max(p.x1, p.x2) + off.x;
        if (x2 > v.left - 50 && x1 < right + 50) drawPlatform(b, p, z, t);
    }
    // 6-8. Dash panels, spikes, springs.
    for (const DashPanel& d : level.dashPanels)
        if (near(d.x)) drawDashPanel(b, d, level, t);
    for (const SpikeStrip& sp : level.spikes)
        if (near(sp.x)) drawSpikes(b, sp, level);
    for (const Spring& sp : level.springs)
        if (near(sp.x)) drawSpring(b, sp);
    // 9-11. Checkpoints, monitors, stone portals.
    for (const Checkpoint& c : level.checkpoints)
        if (near(c.x)) drawCheckpoint(b, c, t);
    for (const Monitor& m : level.monitors)
        if (near(m.x)) drawMonitor(b, m, t);
    const bool divine = divinePortalLook(s.secretStones, s.divineStones, s.hero);
    for (const StonePortal& p : level.stonePortals)
        if (near(p.x)) drawStonePortal(b, p, t, divine);
    // 12. Gems.
    for (const Gem& g : level.gems)
        if (!g.taken && near(g.x)) drawGem(b, {g.x, g.y}, t, 1);
    if (s.effects) {
        // 13. Scattered gems.
        for (const ScatteredGem& g : s.effects->scatteredGems)
            if (near(g.x) && scatteredGemVisible(g, t)) drawGem(b, {g.x, g.y}, t * 3, 1);
    }
    // 14. The other hazards.
    for (const Hazard& h : level.hazards)
        if (h.kind != HazardKind::Updraft && near(h.kind == HazardKind::Wisp ? wispAt(h).x : h.x))
            drawHazard(b, h, level, t);
    // 15. Baddies.
    for (const Baddie& e : level.enemies)
        if (e.alive && near(e.x)) drawEnemy(b, e, t);
    if (s.effects) {
        // 16-17. Projectiles and freed critters.
        for (const Projectile& p : s.effects->projectiles)
            if (near(p.x)) drawProjectile(b, p);
        for (const Critter& c : s.effects->critters)
            if (near(c.x)) drawCritter(b, c);
    }
    // 18. The goal sign.
    if (s.goalPresent && near(s.goal.x)) drawGoalSign(ctx, b, s.goal, s.goalSpin, s.hero);
    // 19. The boss and its attacks.
    const bool bossShown = s.boss && !s.boss->gone && (s.bossFight || s.boss->defeated);
    if (bossShown) {
        b.flush(ctx.target);
        const sf::Vector2f playerPos = s.player ? sf::Vector2f(s.player->pose.x, s.player->pose.y) : s.camera;
        drawBoss(ctx, *s.boss, bossArenaOf(level, playerPos), t, s.hero, drawMirrorFigure);
    }
    // 20. Remote players, then 21. the local player.
    drawRemotePlayers(ctx, b, s.remotes, t);
    if (s.player) drawLocalPlayer(ctx, b, *s.player, s.look, t);
    // 22. Particles.
    if (s.effects)
        for (const Particle& p : s.effects->particles)
            if (near(p.x)) drawParticle(b, p);
    // 23. The player's speech bubble.
    if (s.player && s.playerSpeechTime > 0 && !s.playerSpeech.empty())
        drawSpeechBubble(ctx, b, s.playerSpeech, {s.player->pose.x, s.player->pose.y - 30});
    // 24. The boss's taunt or defeat line, off the HUD.
    if (s.boss && s.bossFight && s.boss->speechTimer > 0 && !s.boss->speech.empty()) {
        const auto offHud = [&](sf::FloatRect box) {
            const sf::FloatRect onScreen = bubbleOffHud({box.left - v.left, box.top - v.top, box.width, box.height});
            return sf::FloatRect{onScreen.left + v.left, onScreen.top + v.top, box.width, box.height};
        };
        drawSpeechBubble(ctx, b, s.boss->speech, bossSpeechAnchor({s.boss->x, s.boss->y}, v), offHud);
    }
    // 25. The cave shade over everything in the world.
    if (zone.underground) drawCaveShade(b, v);
    b.flush(ctx.target);

    ctx.target.setView(previous);
}
