// Drawing of the play screens: the act with its HUD, the results and the act
// select. The renderer takes plain scene records; they are filled here.
#include <algorithm>
#include <limits>

#include "content/Bosses.h"
#include "core/Mivoland2.h"
#include "render/Background.h"
#include "render/Draw.h"
#include "render/Hero.h"
#include "render/Hud.h"
#include "render/SayBanner.h"
#include "render/World.h"

namespace {

int clampedScore(std::int64_t score) {
    return int(std::clamp<std::int64_t>(score, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

}  // namespace

void Mivoland2::drawActWorld(DrawContext& ctx) {
    const PlayerFigure figure = playerFigure(player, totalTime, playerLook);
    WorldScene scene;
    scene.level = &level;
    scene.time = totalTime;
    scene.camera = session.camera;
    scene.shakeTime = session.shakeTime;
    scene.effects = &effects;
    scene.player = &figure;
    scene.look = playerLook;
    scene.goalPresent = session.goalPresent;
    scene.goal = {session.goalX, session.goalY};
    scene.goalSpin = session.goalSpin;
    scene.hero = player.hero;
    scene.secretStones = save.secretStones;
    scene.divineStones = save.divineStones;
    // The beaten boss keeps its defeat line while it sinks away.
    scene.boss = &boss;
    scene.bossFight = bossPresent();
    scene.remotes = lobbyRemoteScene();
    drawWorld(ctx, scene);
}

void Mivoland2::drawPlaying(DrawContext& ctx) {
    drawActWorld(ctx);
    if (const std::optional<BossMarker> marker = bossMarker()) {
        ShapeBatch b;
        drawBossMarker(b, *marker, totalTime);
        b.flush(ctx.target);
    }
    HudInfo hud;
    hud.time = totalTime;
    hud.score = clampedScore(session.score);
    hud.actTime = session.actTime;
    hudFromPlayer(hud, player);
    hud.secretStones = save.secretStones;
    hud.divineStones = save.divineStones;
    if (session.bossActive && !boss.defeated) {
        hud.bossBar = true;
        hud.bossName = bossTable()[std::size_t(std::clamp(boss.kind, 0, kBossCount - 1))].name;
        hud.bossHp = boss.hp;
        hud.bossMaxHp = std::max(boss.maxHp, 1);
    }
    hud.titleCardTime = session.titleCardTime;
    hud.titleCardLength = session.titleCardLength;
    hud.zone = level.zone;
    hud.act = level.act;
    hud.makerTest = session.playingCourse;
    lobbyHud(hud);
    drawHud(ctx, hud);
    drawSayBanner(ctx, session.speech, session.speechTime);
    if (paused) drawPause(ctx, session.pauseList, player.hero, totalTime);
    else if (session.debugActive) drawDebugHud(ctx);
}

void Mivoland2::drawActResults(DrawContext& ctx) {
    drawActWorld(ctx);
    ResultsInfo r;
    r.r = session.resultsTime;
    r.time = totalTime;
    r.hero = player.hero;
    r.zone = level.zone;
    r.act = level.act;
    r.bossId = level.bossId;
    r.actTime = session.actTime;
    r.timeBonus = session.timeBonus;
    r.gemBonus = session.gemBonus;
    r.score = clampedScore(session.score);
    drawResults(ctx, r);
}

void Mivoland2::drawActSelect(DrawContext& ctx) {
    drawMenuBackdrop(ctx, totalTime, std::clamp(save.zone, 0, 5));
    drawText(ctx, "ACT SELECT", {480, 20}, 40, sf::Color::White, 3.0f, kAlignCenter);
    for (int z = 0; z < 6; ++z)
        drawText(ctx, zoneTable()[std::size_t(z)].name, {330, 84.0f + 58.0f * float(z) + 10.0f}, 20,
                 sf::Color(255, 220, 60), 2.0f, kAlignRight);
    drawMenuButtons(menu, ctx, totalTime, 20);
}
