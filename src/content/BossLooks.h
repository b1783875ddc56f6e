#pragma once
// How a boss fight looks: the twelve bodies with their faces and the hit
// flash, the zone looks (a pulsing strip along the bottom while warning) and
// the shot looks. Everything is drawn from flat shapes at world positions into
// the context's target (the world view must be set).

#include <functional>

#include "content/Bosses.h"
#include "render/Draw.h"

// One figure of the Mirror Hero (or its older echo): the player's own hero,
// facing the player, with its body colour blended toward the tint by the
// tint's alpha, everything at the given opacity. White while the hit flash
// blinks it.
struct MirrorFigure {
    int hero = 0;
    sf::Vector2f pos;
    int facing = -1;
    sf::Color tint;
    float opacity = 1.0f;
    float time = 0;
};
// Draws a mirror figure. When none is handed in, drawMirrorFigure is used.
using MirrorDrawer = std::function<void(DrawContext&, const MirrorFigure&)>;

// The mirror figure through the hero drawing (Bolim as a ball).
void drawMirrorFigure(DrawContext& ctx, const MirrorFigure& m);

// The boss's zones, its body, then its shots. `arena` gives the floor and the
// player's position (the Mirror Hero and some faces turn toward the player);
// `playerHero` is the hero the Mirror Hero copies. A boss that is gone draws
// nothing.
void drawBoss(DrawContext& ctx, const BossState& boss, const BossArena& arena, float time, int playerHero,
              const MirrorDrawer& drawMirror = {});

// The parts on their own.
void drawBossBody(DrawContext& ctx, const BossState& boss, const BossArena& arena, float time, int playerHero,
                  const MirrorDrawer& drawMirror = {});
void drawBossZone(DrawContext& ctx, const BossZone& zone, float time, float clock);
void drawBossShot(DrawContext& ctx, const BossShot& shot, float time);

// The body is drawn white on this frame of the hit flash.
bool bossFlashWhite(const BossState& boss);
