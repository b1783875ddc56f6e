#pragma once
#include <SFML/Graphics/Rect.hpp>
#include <functional>
#include <string>

#include "content/Zones.h"
#include "level/Effects.h"
#include "level/Level.h"
#include "render/Batch.h"
#include "render/Draw.h"

// Level objects and effects in world units. Each adds its shapes to the
// batch; the world renderer culls before calling.

void drawLoop(ShapeBatch& b, const Loop& loop, const ZonePalette& z);
void drawPlatform(ShapeBatch& b, const Platform& p, const ZonePalette& z, float t);
void drawDashPanel(ShapeBatch& b, const DashPanel& d, const Level& level, float t);
void drawSpikes(ShapeBatch& b, const SpikeStrip& s, const Level& level);
void drawSpring(ShapeBatch& b, const Spring& s);
void drawCheckpoint(ShapeBatch& b, const Checkpoint& c, float t);
void drawMonitor(ShapeBatch& b, const Monitor& m, float t);

// The portal looks divine while the save holds all seven Secret Stones and
// fewer than seven Divine Stones and the hero is Fr, Tr, Ktr or Bolim.
bool divinePortalLook(int secretMask, int divineMask, int hero);
void drawStonePortal(ShapeBatch& b, const StonePortal& p, float t, bool divine);

// The gem icon of Draw.h, added to a batch.
void drawGem(ShapeBatch& b, sf::Vector2f centre, float time, float opacity);
// A scattered gem spins three times as fast and flickers in its last second.
bool scatteredGemVisible(const ScatteredGem& g, float t);
void drawProjectile(ShapeBatch& b, const Projectile& p);
void drawCritter(ShapeBatch& b, const Critter& c);
void drawParticle(ShapeBatch& b, const Particle& p);

// The turning goal sign; the text "GOAL" needs the context, so the batch is
// flushed when it shows.
void drawGoalSign(DrawContext& ctx, ShapeBatch& b, sf::Vector2f pos, float spin, int hero);

// A word-wrapped line in a bubble whose tail points down at the anchor. A
// placement rule, when given, may move the bubble's box (the tail follows as
// long as the box stays above the anchor).
void drawSpeechBubble(DrawContext& ctx, ShapeBatch& b, const std::string& text, sf::Vector2f anchor,
                      const std::function<sf::FloatRect(sf::FloatRect)>& place = {});
void drawSpeechBubble(DrawContext& ctx, const std::string& text, sf::Vector2f anchor);
// Where the boss's bubble points: 70 above the boss, kept 200 units from the
// view's sides, 80 below its top and 40 above its bottom.
sf::Vector2f bossSpeechAnchor(sf::Vector2f boss, sf::FloatRect view);
