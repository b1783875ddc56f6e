#pragma once
// Keeping the boss readable on the play screen: a marker at the screen's edge
// pointing at a boss outside the view, and the boss's speech bubble kept off
// the HUD. Positions are in the logical 960 x 540 screen unless said.

#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/Vector2.hpp>
#include <optional>

#include "render/Batch.h"

// The parts of the screen the play HUD uses: the score, time and gem rows
// with the hearts (top left), the stones and the transform hint (top right),
// and the ability meter, power-up timers and boss bar (bottom).
inline const sf::FloatRect kHudRows{0, 0, 262, 130};
inline const sf::FloatRect kHudStones{700, 0, 260, 78};
inline const sf::FloatRect kHudBottom{0, 466, 960, 74};

struct BossMarker {
    sf::Vector2f pos;  // centre of the marker on the screen
    sf::Vector2f dir;  // unit vector from the marker toward the boss
};

constexpr float kBossMarkerRadius = 16.0f;

// The marker for a boss at `boss` (world) seen through `view` (world): none
// while any of the boss's body, `reach` around its centre, is in the view.
// Otherwise the marker sits at the nearest point of the screen's edge, 40
// units in, clear of the HUD.
std::optional<BossMarker> bossEdgeMarker(sf::Vector2f boss, sf::FloatRect view, float reach = 0);

// A pulsing ring with an arrow toward the boss.
void drawBossMarker(ShapeBatch& b, const BossMarker& marker, float t);

// A speech bubble's box (screen) moved off the HUD and into the screen: a
// box reaching into the rows or the stones slides sideways into the gap
// between them, or below them when it is too wide for the gap.
sf::FloatRect bubbleOffHud(sf::FloatRect box);
