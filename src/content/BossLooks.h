#pragma once
// How a boss fight looks: the twelve bodies with their faces and the hit
// flash, the zone looks (a pulsing strip along the bottom while warning) and
// the shot looks. Everything is drawn from flat shapes at world positions into
// the context's target (the world view must be set).

#include "content/Bosses.h"
#include "render/Draw.h"

// The boss's zones, its body, then its shots. `arena` gives the floor and the
// player's position (the Mirror Hero and some faces turn toward the player);
// `playerHero` is the hero the Mirror Hero copies. A boss that is gone draws
// nothing.
void drawBoss(DrawContext& ctx, const BossState& boss, const BossArena& arena, float time, int playerHero);

// The parts on their own.
void drawBossBody(DrawContext& ctx, const BossState& boss, const BossArena& arena, float time, int playerHero);
void drawBossZone(DrawContext& ctx, const BossZone& zone, float time, float clock);
void drawBossShot(DrawContext& ctx, const BossShot& shot, float time);

// The body is drawn white on this frame of the hit flash.
bool bossFlashWhite(const BossState& boss);
