#include "render/Terrain.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kBand = 44.0f;
constexpr float kColumn = 48.0f;
constexpr float kSurface = 16.0f;

sf::Color rgb(int r, int g, int b, int a = 255) {
    return sf::Color(sf::Uint8(r), sf::Uint8(g), sf::Uint8(b), sf::Uint8(a));
}

long long columnOf(float x) { return (long long)std::floor(x / kColumn); }

// Small ornaments on the surface of one column, by zone.
void ornament(ShapeBatch& b, const ZonePalette& z, int zone, long long col, sf::Vector2f at, float t) {
    switch (zone) {
        case 0:  // Meadows: a flower on every third column.
            if (col % 3 == 0) {
                b.thickLine({at.x, at.y}, {at.x, at.y - 10}, 2, z.groundTop);
                b.circle({at.x, at.y - 12}, 4, z.accent, 5);
                b.circle({at.x, at.y - 12}, 1.6f, rgb(255, 240, 120), 6);
            }
            break;
        case 1:  // Caverns: a small crystal on every fifth column.
            if (col % 5 == 0) {
                const sf::Color c = withAlpha(z.accent, 204.0f / 255.0f);
                b.triangle({at.x - 5, at.y + 1}, {at.x + 5, at.y + 1}, {at.x, at.y - 14}, c);
                b.triangle({at.x + 4, at.y + 1}, {at.x + 10, at.y + 1}, {at.x + 7, at.y - 7}, c);
            }
            break;
        case 2:  // Sky Fortress: rivets along the plating.
            if (col % 2 == 0) b.circle({at.x, at.y + 8}, 2.2f, withAlpha(z.accent, 0.8f), 6);
            break;
        case 3: {  // Neon Rush: a glowing strip under the surface line.
            const float a = 0.55f + 0.35f * std::sin(4 * t + float(col));
            b.rect({at.x - 14, at.y + 9}, {28, 3}, withAlpha(col % 2 ? z.accent : z.groundTop, a));
            break;
        }
        case 4:  // Temple: golden rings on every fourth column.
            if (col % 4 == 0) b.ring({at.x, at.y + 8}, 3, 2, withAlpha(z.accent, 0.85f), 12);
            break;
        case 5:  // The Unspoken: a flashing bar on the column's surface.
            if (std::sin(13 * t + float(col) * kColumn) > 0.95f)
                b.rect({at.x - kColumn / 2, at.y - 4}, {kColumn, 4}, withAlpha(z.accent, 204.0f / 255.0f));
            break;
        default: break;
    }
}

}  // namespace

sf::Color terrainCellColor(const ZonePalette& z, int band, float segmentX) {
    const long long parity = (long long)band + columnOf(segmentX);
    const sf::Color base = (((parity % 2) + 2) % 2 == 0) ? z.groundLight : z.groundMid;
    return lerpColor(base, z.groundDark, std::min(float(band) * 0.06f, 0.6f));
}

void drawTerrain(ShapeBatch& b, const Level& level, const ZoneDef& zone, int zoneIndex, sf::FloatRect view,
                 float t) {
    const ZonePalette& z = zone.palette;
    const float left = view.left - 60, right = view.left + view.width + 60;
    const float bottom = view.top + view.height;
    const sf::Color stripBottom = lerpColor(z.groundTop, z.groundDark, 0.45f);
    for (const GroundPath& path : level.groundPaths) {
        if (path.size() < 2 || path.back().x < left || path.front().x > right) continue;
        // First segment that reaches into the view.
        auto it = std::lower_bound(path.begin(), path.end(), left,
                                   [](const sf::Vector2f& p, float x) { return p.x < x; });
        std::size_t i = (it == path.begin()) ? 0 : std::size_t(it - path.begin()) - 1;
        for (; i + 1 < path.size() && path[i].x <= right; ++i) {
            const sf::Vector2f a = path[i], c = path[i + 1];
            if (c.x < left) continue;
            // Body: bands that follow the slope down past the view bottom.
            const float topY = std::min(a.y, c.y) + kSurface;
            const int bands = topY >= bottom ? 0 : int(std::ceil((bottom - topY) / kBand)) + 1;
            for (int k = 0; k < std::min(bands, 200); ++k) {
                const float d0 = kSurface + kBand * float(k), d1 = d0 + kBand;
                b.quad({a.x, a.y + d0}, {c.x, c.y + d0}, {c.x, c.y + d1}, {a.x, a.y + d1},
                       terrainCellColor(z, k, a.x));
            }
            // Surface strip.
            b.quad({a.x, a.y - 2}, {c.x, c.y - 2}, {c.x, c.y + kSurface}, {a.x, a.y + kSurface}, z.groundTop,
                   z.groundTop, stripBottom, stripBottom);
        }
        // Ornaments at the middle of each 48-unit column the path covers.
        const long long c0 = std::max(columnOf(std::max(path.front().x, left)), columnOf(path.front().x) + 0);
        const long long c1 = columnOf(std::min(path.back().x, right));
        for (long long col = c0; col <= c1; ++col) {
            const float x = (float(col) + 0.5f) * kColumn;
            if (x < path.front().x || x > path.back().x) continue;
            const GroundHeight g = level.groundHeightAt(x);
            if (!g) continue;
            ornament(b, z, zoneIndex, col, {x, g.y}, t);
        }
    }
}
