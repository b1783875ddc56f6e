#include "render/BossInView.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kScreenW = 960, kScreenH = 540;
constexpr float kEdgeInset = 40;  // room for the ring and its arrow

bool overlaps(sf::FloatRect a, sf::FloatRect b) { return a.intersects(b); }

}  // namespace

std::optional<BossMarker> bossEdgeMarker(sf::Vector2f boss, sf::FloatRect view, float reach) {
    if (!(std::isfinite(boss.x) && std::isfinite(boss.y))) return std::nullopt;
    reach = std::isfinite(reach) ? std::max(reach, 0.0f) : 0.0f;
    // Some of the body in view: the nearest point of the view lies within reach.
    const float nx = std::clamp(boss.x, view.left, view.left + view.width);
    const float ny = std::clamp(boss.y, view.top, view.top + view.height);
    const float dx = boss.x - nx, dy = boss.y - ny;
    if (dx * dx + dy * dy <= reach * reach && (reach > 0 || view.contains(boss))) return std::nullopt;
    // The boss on the screen, wherever that is.
    const sf::Vector2f s{(boss.x - view.left) * kScreenW / view.width, (boss.y - view.top) * kScreenH / view.height};
    const float left = kEdgeInset, right = kScreenW - kEdgeInset;
    const float top = kEdgeInset, bottom = kHudBottom.top - kEdgeInset;
    sf::Vector2f p{std::clamp(s.x, left, right), std::clamp(s.y, top, bottom)};
    const bool onSide = s.x < left || s.x > right;
    // Out of the HUD's top corners: along the side edge down past them, or
    // along the top edge into the gap between them.
    const float r = kBossMarkerRadius + 6;
    if (p.x < kHudRows.left + kHudRows.width + r && p.y < kHudRows.top + kHudRows.height + r) {
        if (onSide)
            p.y = kHudRows.top + kHudRows.height + r;
        else
            p.x = kHudRows.left + kHudRows.width + r;
    }
    if (p.x > kHudStones.left - r && p.y < kHudStones.top + kHudStones.height + r) {
        if (onSide)
            p.y = kHudStones.top + kHudStones.height + r;
        else
            p.x = kHudStones.left - r;
    }
    sf::Vector2f d = s - p;
    const float len = std::hypot(d.x, d.y);
    d = len > 0.001f ? d / len : sf::Vector2f(0, -1);
    return BossMarker{p, d};
}

void drawBossMarker(ShapeBatch& b, const BossMarker& m, float t) {
    const float pulse = 0.5f + 0.5f * std::sin(t * 8.0f);
    const sf::Color red(255, 60, 80);
    const sf::Vector2f c = m.pos, d = m.dir, n{-d.y, d.x};
    const float r = kBossMarkerRadius;
    b.circle(c, r, sf::Color(40, 0, 10, 210), 24, 3, withAlpha(red, 0.7f + 0.3f * pulse));
    // The arrow head just outside the ring, pointing at the boss.
    const sf::Vector2f tip = c + d * (r + 14 + 3 * pulse), base = c + d * (r + 3);
    b.triangle(tip, base + n * 9.0f, base - n * 9.0f, red);
    // An exclamation mark: the boss is there.
    b.rect({c.x - 2.5f, c.y - 10}, {5, 12}, sf::Color::White);
    b.rect({c.x - 2.5f, c.y + 5}, {5, 5}, sf::Color::White);
}

sf::FloatRect bubbleOffHud(sf::FloatRect box) {
    box.left = std::clamp(box.left, 8.0f, std::max(8.0f, kScreenW - 8 - box.width));
    box.top = std::clamp(box.top, 8.0f, std::max(8.0f, kHudBottom.top - 8 - box.height));
    const float gapLeft = kHudRows.left + kHudRows.width + 8, gapRight = kHudStones.left - 8;
    if (!overlaps(box, kHudRows) && !overlaps(box, kHudStones)) return box;
    if (box.width <= gapRight - gapLeft) {
        box.left = std::clamp(box.left, gapLeft, gapRight - box.width);
    } else {
        const float below = std::max(kHudRows.top + kHudRows.height, kHudStones.top + kHudStones.height) + 8;
        box.top = std::max(box.top, below);
    }
    return box;
}
