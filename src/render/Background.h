#pragma once
#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/Vector2.hpp>
#include <vector>

#include "content/Zones.h"
#include "render/Batch.h"
#include "render/Draw.h"

// The sky and the parallax scenery of a zone, drawn into the current view.
// `view` is that view's rectangle in world units; the scenery is anchored to
// it vertically and scrolls horizontally at its own fraction of the camera.

// Sky gradient, stars (for a starry zone) and the zone's scenery.
void drawBackground(DrawContext& ctx, const ZoneDef& zone, int zoneIndex, sf::FloatRect view, float t);
void drawBackground(ShapeBatch& batch, const ZoneDef& zone, int zoneIndex, sf::FloatRect view, float t);

// The backdrop of the menu screens: a zone's sky and scenery in the fixed
// logical view (Echo Meadows unless another zone is given).
void drawMenuBackdrop(DrawContext& ctx, float t, int zoneIndex = 0);

// A rolling band of hills: a strip from a wavy top edge down past the view.
void drawHillBand(ShapeBatch& batch, sf::FloatRect view, float parallax, float base, float amplitude,
                  float frequency, sf::Color color, float seed);
// A row of clouds every 210 units, drifting left at 8 units per second.
void drawCloudRow(ShapeBatch& batch, sf::FloatRect view, float parallax, float baseY, sf::Color color, float t);
// A row of buildings every 70 units with lit windows.
void drawSkyline(ShapeBatch& batch, sf::FloatRect view, float parallax, float base, sf::Color body,
                 sf::Color window, float t, unsigned seed);

// Indices k of the props spaced `spacing` apart at `parallax` whose x (see
// propX) lies within the view widened by `margin` on both sides.
struct PropRange {
    long long first = 0, last = -1;
};
PropRange propRange(sf::FloatRect view, float spacing, float parallax, float margin);
// World x of prop k: k * spacing - view left * parallax + view left.
float propX(sf::FloatRect view, float spacing, float parallax, long long k);

// The star field of a starry sky: 70 stars from a fixed sequence.
struct Star {
    sf::Vector2f pos;
    float radius = 1;
    sf::Uint8 alpha = 255;
};
std::vector<Star> starField(sf::FloatRect view, float t);
