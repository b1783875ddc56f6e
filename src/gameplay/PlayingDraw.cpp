// Drawing of the play screens: the act, the results and the act select.
#include <SFML/Graphics/View.hpp>
#include <algorithm>
#include <cmath>

#include "content/Heroes.h"
#include "content/Zones.h"
#include "core/Mivoland2.h"
#include "render/Draw.h"

namespace {

// A plain picture of the act: sky, ground, ledges, gems, goal and hero.
void drawActSketch(DrawContext& ctx, const Mivoland2& g) {
    const ZoneDef& zone = zoneTable()[std::size_t(std::clamp(g.level.zone, 0, 5))];
    drawVerticalGradient(ctx, {0, 0, 960, 540}, zone.palette.skyTop, zone.palette.skyBottom);
    const sf::View old = ctx.target.getView();
    sf::View world(sf::FloatRect(g.session.camera.x - 480.0f, g.session.camera.y - 270.0f, 960.0f, 540.0f));
    world.setViewport(old.getViewport());
    ctx.target.setView(world);
    const float left = g.session.camera.x - 540.0f, right = g.session.camera.x + 540.0f;
    const float bottom = g.session.camera.y + 300.0f;
    for (const GroundPath& path : g.level.groundPaths) {
        for (std::size_t i = 1; i < path.size(); ++i) {
            const sf::Vector2f a = path[i - 1], b = path[i];
            if (b.x < left || a.x > right) continue;
            drawPolygon(ctx, {a, b, {b.x, std::max(bottom, b.y + 10)}, {a.x, std::max(bottom, a.y + 10)}},
                        zone.palette.groundLight);
            drawThickLine(ctx, a, b, 6.0f, zone.palette.groundTop);
        }
    }
    for (const Platform& p : g.level.platforms) {
        if (p.fallen) continue;
        const sf::Vector2f o = platformOffset(p, g.totalTime);
        drawThickLine(ctx, {p.x1 + o.x, p.y1 + o.y + 8}, {p.x2 + o.x, p.y2 + o.y + 8}, 16.0f,
                      zone.palette.groundLight);
    }
    for (const Gem& gem : g.level.gems)
        if (!gem.taken && gem.x > left && gem.x < right) drawGem(ctx, {gem.x, gem.y}, g.totalTime, 1.0f);
    if (g.session.goalPresent) {
        drawRect(ctx, {g.session.goalX - 3, g.session.goalY}, {6, 70}, sf::Color(120, 120, 140));
        const float w = 80.0f * std::fabs(std::cos(g.session.goalSpin));
        drawRect(ctx, {g.session.goalX - w / 2, g.session.goalY - 44}, {w, 44}, sf::Color(255, 220, 60), 3.0f,
                 sf::Color(60, 60, 80));
    }
    const HeroDef& hero = heroTable()[std::size_t(std::clamp(g.player.hero, 0, 8))];
    drawCircle(ctx, {g.player.x, g.player.y}, 18.0f, hero.color, std::size_t(std::max(hero.shapeSides, 3)), 2.0f,
               sf::Color::Black);
    for (const Particle& q : g.effects.particles)
        drawCircle(ctx, {q.x, q.y}, q.size * 0.5f, q.color, 8);
    ctx.target.setView(old);
}

}  // namespace

void Mivoland2::drawPlaying(DrawContext& ctx) {
    drawActSketch(ctx, *this);
    drawText(ctx, "SCORE " + std::to_string(session.score), {20, 14}, 22, sf::Color(255, 220, 60), 3.0f);
    drawText(ctx, "TIME " + formatTime(session.actTime), {20, 42}, 22, sf::Color(255, 220, 60), 3.0f);
    drawText(ctx, "GEMS " + std::to_string(player.gems), {20, 70}, 22, sf::Color(255, 220, 60), 3.0f);
    if (session.titleCardTime > 0) {
        const ZoneDef& zone = zoneTable()[std::size_t(std::clamp(level.zone, 0, 5))];
        drawText(ctx, zone.name, {30, 200}, 48, sf::Color::White, 4.0f);
        drawText(ctx, "ACT " + std::to_string(level.act), {760, 298}, 36, sf::Color(255, 220, 60), 3.0f, kAlignCenter);
    }
    if (paused) {
        drawRect(ctx, {0, 0}, {960, 540}, sf::Color(0, 0, 20, 170));
        drawText(ctx, "PAUSED", {480, 120}, 48, sf::Color::White, 3.0f, kAlignCenter);
        drawMenuButtons(session.pauseList, ctx, totalTime, 24);
    }
}

void Mivoland2::drawActResults(DrawContext& ctx) {
    drawActSketch(ctx, *this);
    const float r = session.resultsTime;
    const float k = std::min(2.0f * r, 1.0f);
    drawRect(ctx, {0, 0}, {960, 540}, sf::Color(0, 0, 30, sf::Uint8(120.0f * k)));
    const HeroDef& hero = heroTable()[std::size_t(std::clamp(player.hero, 0, 8))];
    const bool finalBoss = level.bossId == 9 && session.bossDefeated;
    drawText(ctx, finalBoss ? "OVIM IS UNSAID!" : hero.name + " got through", {480, 120}, 40, sf::Color::White, 4.0f,
             kAlignCenter);
    const float f = std::clamp((r - 0.6f) / 1.2f, 0.0f, 1.0f);
    const sf::Color gold(255, 220, 60);
    drawText(ctx, "TIME   " + formatTime(session.actTime), {300, 250}, 24, gold, 2.0f);
    drawText(ctx, "TIME BONUS   " + std::to_string(int(float(session.timeBonus) * f)), {300, 290}, 24, gold, 2.0f);
    drawText(ctx, "GEM BONUS    " + std::to_string(int(float(session.gemBonus) * f)), {300, 330}, 24, gold, 2.0f);
    const auto total = session.score + std::int64_t(float(session.timeBonus + session.gemBonus) * f);
    drawText(ctx, "SCORE        " + std::to_string(total), {300, 380}, 26, sf::Color::White, 2.0f);
}

void Mivoland2::drawActSelect(DrawContext& ctx) {
    drawVerticalGradient(ctx, {0, 0, 960, 540}, sf::Color(24, 16, 60), sf::Color(60, 30, 110));
    drawText(ctx, "ACT SELECT", {480, 20}, 40, sf::Color::White, 3.0f, kAlignCenter);
    for (int z = 0; z < 6; ++z)
        drawText(ctx, zoneTable()[std::size_t(z)].name, {330, 84.0f + 58.0f * float(z) + 10.0f}, 20,
                 sf::Color(255, 220, 60), 2.0f, kAlignRight);
    drawMenuButtons(menu, ctx, totalTime, 20);
}
