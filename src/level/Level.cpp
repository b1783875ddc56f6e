#include "level/Level.h"

#include <algorithm>
#include <cmath>

GroundHeight Level::groundHeightAt(float x) const {
    for (const GroundPath& path : groundPaths) {
        if (path.empty() || !(path.front().x <= x && x <= path.back().x)) continue;
        auto it = std::lower_bound(path.begin(), path.end(), x,
                                   [](const sf::Vector2f& p, float v) { return p.x < v; });
        if (it == path.end()) it = path.end() - 1;  // only reachable with unordered points
        if (it == path.begin()) return {it->y, true};
        const sf::Vector2f& b = *it;
        const sf::Vector2f& a = *(it - 1);
        float dx = b.x - a.x;
        if (dx <= 0) return {a.y, true};
        return {a.y + (b.y - a.y) * (x - a.x) / dx, true};
    }
    return {0, false};
}

float Level::greatestGroundY() const {
    float lowest = 0;
    for (const GroundPath& path : groundPaths)
        for (const sf::Vector2f& p : path) lowest = std::max(lowest, p.y);
    return lowest;
}

sf::Vector2f platformOffset(const Platform& p, float t) {
    if (!(p.movePeriod > 0)) return {0, 0};
    constexpr float kTwoPi = 6.28318530717958647692f;
    float s = std::sin(kTwoPi * (t / p.movePeriod + p.movePhase));
    return {s * p.moveX, s * p.moveY};
}

float platformHeightAt(const Platform& p, float x, float t) {
    sf::Vector2f off = platformOffset(p, t);
    float width = p.x2 - p.x1;
    if (width == 0) return p.y1 + off.y;
    float u = (x - (p.x1 + off.x)) / width;
    return p.y1 + (p.y2 - p.y1) * u + off.y;
}

bool platformCovers(const Platform& p, float x, float t) {
    if (p.fallen) return false;
    sf::Vector2f off = platformOffset(p, t);
    float a = std::min(p.x1, p.x2) + off.x;
    float b = std::max(p.x1, p.x2) + off.x;
    return a <= x && x <= b;
}
