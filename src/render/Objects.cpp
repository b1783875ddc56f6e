#include "render/Objects.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "content/Heroes.h"

namespace {

constexpr float kPi = 3.14159265358979f;

sf::Color rgb(int r, int g, int b, int a = 255) {
    return sf::Color(sf::Uint8(r), sf::Uint8(g), sf::Uint8(b), sf::Uint8(a));
}

float groundOr(const Level& level, float x, float fallback) {
    const GroundHeight g = level.groundHeightAt(x);
    return g ? g.y : fallback;
}

}  // namespace

void drawLoop(ShapeBatch& b, const Loop& loop, const ZonePalette& z) {
    const sf::Vector2f c{loop.x, loop.y - loop.radius};
    const float r = loop.radius;
    b.ring(c, r + 14, 28, z.groundLight, 64);
    b.ring(c, r + 1, 5, z.groundTop, 64);
    for (int i = 0; i < 16; ++i) {
        const float a = 2.0f * kPi * float(i) / 16.0f;
        b.circle({c.x + (r + 28) * std::cos(a), c.y + (r + 28) * std::sin(a)}, 4, z.groundMid, 8);
    }
}

void drawPlatform(ShapeBatch& b, const Platform& p, const ZonePalette& z, float t) {
    if (p.fallen) return;
    sf::Vector2f off = platformOffset(p, t);
    if (p.crumbles && p.crumbleTimer >= 0) off.x += 2.0f * std::sin(60.0f * t);
    const sf::Vector2f a{p.x1 + off.x, p.y1 + off.y}, c{p.x2 + off.x, p.y2 + off.y};
    if (p.isRail) {
        const int struts = 11;
        for (int i = 0; i < struts; ++i) {
            const float f = float(i) / float(struts - 1);
            const sf::Vector2f s = a + (c - a) * f;
            b.thickLine(s, {s.x, s.y + 60}, 3, rgb(120, 130, 160));
        }
        b.thickLine(a, c, 6, rgb(170, 180, 210));
        b.thickLine({a.x, a.y - 2}, {c.x, c.y - 2}, 2, rgb(240, 250, 255));
        return;
    }
    sf::Color body = z.groundLight, top = z.groundTop;
    if (p.crumbles) {
        body = lerpColor(body, rgb(120, 40, 60), 0.3f);
        top = lerpColor(top, rgb(120, 40, 60), 0.3f);
    }
    const sf::Color edge = lerpColor(body, sf::Color::White, 0.4f);
    b.quad({a.x - 2, a.y - 2}, {c.x + 2, c.y - 2}, {c.x + 2, c.y + 18}, {a.x - 2, a.y + 18}, edge);
    b.quad(a, c, {c.x, c.y + 16}, {a.x, a.y + 16}, body);
    b.quad(a, c, {c.x, c.y + 6}, {a.x, a.y + 6}, top);
    if (p.crumbles) {
        const sf::Color crack = lerpColor(body, rgb(40, 10, 20), 0.5f);
        const float len = c.x - a.x;
        for (float d = 13; d < len - 4; d += 26) {
            const float f = d / std::max(len, 1.0f);
            const float y = a.y + (c.y - a.y) * f;
            b.thickLine({a.x + d - 5, y + 3}, {a.x + d + 5, y + 14}, 1.5f, crack);
        }
    }
}

void drawDashPanel(ShapeBatch& b, const DashPanel& d, const Level& level, float t) {
    const float g = groundOr(level, d.x, 0);
    const float dir = d.direction < 0 ? -1.0f : 1.0f;
    b.rect({d.x - 30, g - 6}, {60, 6}, rgb(40, 40, 60));
    for (int i = 0; i < 3; ++i) {
        const float cx = d.x + dir * 16.0f * float(i - 1);
        const float a = 0.4f + 0.6f * (0.5f + 0.5f * std::sin(12 * t - 1.5f * float(i)));
        const sf::Color c = withAlpha(rgb(255, 220, 60), a);
        b.thickLine({cx - 5 * dir, g - 6}, {cx + 3 * dir, g - 3}, 3, c);
        b.thickLine({cx + 3 * dir, g - 3}, {cx - 5 * dir, g}, 3, c);
    }
}

void drawSpikes(ShapeBatch& b, const SpikeStrip& s, const Level& level) {
    const int count = std::max(1, int(std::floor(s.width / 16.0f + 0.001f)));
    for (int i = 0; i < count && i < 200; ++i) {
        const float x0 = s.x - s.width / 2 + 16.0f * float(i);
        const float g = groundOr(level, x0 + 8, 0);
        b.triangle({x0, g}, {x0 + 16, g}, {x0 + 8, g - 22}, rgb(200, 205, 220));
        b.thickLine({x0 + 8, g - 22}, {x0 + 16, g}, 1.5f, rgb(130, 130, 150));
    }
}

void drawSpring(ShapeBatch& b, const Spring& s) {
    const float squash = std::clamp(s.squash, 0.0f, 1.0f);
    const float coil = 22.0f - 12.0f * squash;
    b.rect({s.x - 18, s.y - 8}, {36, 8}, rgb(70, 70, 90));
    const float base = s.y - 8;
    for (int i = 0; i < 4; ++i) {
        const float y0 = base - coil * float(i) / 4.0f, y1 = base - coil * float(i + 1) / 4.0f;
        b.thickLine({i % 2 ? s.x + 10 : s.x - 10, y0}, {i % 2 ? s.x - 10 : s.x + 10, y1}, 3, rgb(200, 200, 220));
    }
    const sf::Color cap = s.power > 1300 ? rgb(255, 210, 40) : rgb(240, 50, 60);
    b.rect({s.x - 22, base - coil - 8}, {44, 8}, cap, 2, lerpColor(cap, rgb(0, 0, 0), 0.4f));
    if (s.lifetime >= 0) b.rect({s.x - 8, s.y - 3}, {16, 3}, rgb(255, 0, 150));
}

void drawCheckpoint(ShapeBatch& b, const Checkpoint& c, float t) {
    b.rect({c.x - 3, c.y - 60}, {6, 60}, rgb(60, 70, 160));
    const sf::Vector2f ball{c.x + 10.0f * std::sin(c.spin), c.y - 60};
    if (c.reached) {
        b.circle(ball, 14 + 2 * std::sin(6 * t), rgb(255, 80, 80, 60), 20);
        b.circle(ball, 9, rgb(255, 60, 60), 16);
    } else {
        b.circle(ball, 9, rgb(80, 160, 255), 16);
    }
}

void drawGem(ShapeBatch& b, sf::Vector2f c, float time, float opacity) {
    const float a = std::clamp(opacity, 0.0f, 1.0f);
    const float w = std::max(std::fabs(std::cos(c.x * 0.02f + time * 4.0f)), 0.45f) * 11.0f;
    const float x = c.x, y = c.y;
    b.polygon({{x, y - 14}, {x + w, y}, {x, y + 14}, {x - w, y}}, withAlpha(rgb(30, 140, 200), a));
    b.polygon({{x, y - 11}, {x + 0.75f * w, y}, {x, y + 11}, {x - 0.75f * w, y}}, withAlpha(rgb(60, 230, 255), a));
    b.polygon({{x, y - 11}, {x + 0.35f * w, y - 2}, {x, y + 3}, {x - 0.35f * w, y - 2}},
              withAlpha(rgb(220, 255, 255), a));
}

void drawMonitor(ShapeBatch& b, const Monitor& m, float t) {
    if (m.broken) {
        b.rect({m.x - 16, m.y + 10}, {32, 10}, rgb(80, 80, 90));
        return;
    }
    b.rect({m.x - 18, m.y - 20}, {36, 40}, rgb(170, 170, 185), 2, rgb(60, 60, 70));
    b.rect({m.x - 13, m.y - 15}, {26, 22}, rgb(20, 30, 50));
    const sf::Vector2f s{m.x, m.y - 4};
    switch (m.kind) {
        case MonitorKind::TenGems: {
            // The gem icon shrunk to fit the screen.
            const float w = std::max(std::fabs(std::cos(s.x * 0.02f + t * 4.0f)), 0.45f) * 6.0f;
            b.polygon({{s.x, s.y - 8}, {s.x + w, s.y}, {s.x, s.y + 8}, {s.x - w, s.y}}, rgb(30, 140, 200));
            b.polygon({{s.x, s.y - 6}, {s.x + 0.75f * w, s.y}, {s.x, s.y + 6}, {s.x - 0.75f * w, s.y}},
                      rgb(60, 230, 255));
            break;
        }
        case MonitorKind::Shield: b.ring(s, 8, 2, rgb(120, 200, 255), 24); break;
        case MonitorKind::SpeedShoes: b.triangle({s.x - 7, s.y - 7}, {s.x - 7, s.y + 7}, {s.x + 8, s.y}, rgb(255, 120, 40)); break;
        case MonitorKind::ExtraHeart: {
            const float k = 7;
            const sf::Color c = rgb(255, 70, 90);
            b.circle({s.x - 0.5f * k, s.y - 0.2f * k}, 0.6f * k, c, 16);
            b.circle({s.x + 0.5f * k, s.y - 0.2f * k}, 0.6f * k, c, 16);
            b.triangle({s.x - 1.08f * k, s.y}, {s.x + 1.08f * k, s.y}, {s.x, s.y + 1.1f * k}, c);
            break;
        }
        case MonitorKind::Invincibility:
        default:
            b.circle(s, 8, int(20 * t) % 2 == 0 ? rgb(255, 240, 120) : rgb(255, 160, 255), 5);
            break;
    }
    b.rect({m.x - 13, m.y - 15}, {26, 4}, rgb(255, 255, 255, 40));
}

bool divinePortalLook(int secretMask, int divineMask, int hero) {
    const bool allSecret = (secretMask & 0x7F) == 0x7F;
    const bool allDivine = (divineMask & 0x7F) == 0x7F;
    const bool awakener = hero == 1 || hero == 2 || hero == 3 || hero == 4;
    return allSecret && !allDivine && awakener;
}

void drawStonePortal(ShapeBatch& b, const StonePortal& p, float t, bool divine) {
    if (p.used) return;
    const sf::Vector2f c{p.x, p.y};
    const float R = 42 + 3 * std::sin(3 * t);
    if (divine) {
        for (int i = 0; i < 12; ++i) {
            const float a = 0.8f * t + 2.0f * kPi * float(i) / 12.0f;
            const float h = 0.09f;
            b.triangle(c, c + sf::Vector2f(std::cos(a - h), std::sin(a - h)) * (R + 70),
                       c + sf::Vector2f(std::cos(a + h), std::sin(a + h)) * (R + 70), rgb(255, 220, 120, 114));
        }
        b.circle(c, R + 24, withAlpha(rgb(255, 210, 90), 0.18f + 0.08f * std::sin(3 * t)), 40);
        b.circle(c, R + 10, rgb(255, 240, 180, 89), 40);
        for (int i = 0; i < 24; ++i) {
            const float a = 1.5f * t + 2.0f * kPi * float(i) / 24.0f;
            b.circle(c + sf::Vector2f(std::cos(a), std::sin(a)) * (R + 10), 5, hueColor(float(i) / 24.0f), 6);
        }
        for (int i = 0; i < 7; ++i) {
            const float a = -kPi / 2 + 2.0f * kPi * float(i) / 7.0f;
            b.circle(c + sf::Vector2f(std::cos(a), std::sin(a)) * (0.55f * (R + 10)), 6, rgb(170, 170, 180), 12,
                     1.5f, sf::Color::White);
        }
        return;
    }
    b.circle(c, R - 8, rgb(255, 255, 255, 40), 40);
    b.ring(c, R - 3, 6, withAlpha(sf::Color::White, 0.6f + 0.3f * std::sin(5 * t)), 48);
    for (int i = 0; i < 7; ++i) {
        const float a = 1.5f * t + 2.0f * kPi * float(i) / 7.0f;
        b.circle(c + sf::Vector2f(std::cos(a), std::sin(a)) * R, 7, hueColor(float(i) / 7.0f), 6);
    }
}

bool scatteredGemVisible(const ScatteredGem& g, float t) {
    if (g.life >= 1.0f) return true;
    return int(16.0f * t) % 2 == 0;
}

void drawProjectile(ShapeBatch& b, const Projectile& p) {
    if (p.kind == 1) {
        b.circle({p.x, p.y}, p.radius + 4, rgb(60, 50, 50), 16);
        b.circle({p.x - p.radius * 0.3f, p.y - p.radius * 0.3f}, 3, rgb(255, 160, 60), 8);
    } else {
        b.circle({p.x, p.y}, p.radius + 2, rgb(255, 90, 90), 10, 2, rgb(255, 220, 220));
    }
}

void drawCritter(ShapeBatch& b, const Critter& c) {
    b.circle({c.x, c.y}, 7, c.color, 12);
    const float side = c.vx < 0 ? -1.0f : 1.0f;
    b.circle({c.x + 3 * side, c.y - 2}, 1.6f, sf::Color::Black, 6);
}

sf::Vector2f bossSpeechAnchor(sf::Vector2f boss, sf::FloatRect v) {
    const float x = std::clamp(boss.x, v.left + 200, v.left + v.width - 200);
    const float y = std::clamp(boss.y - 70, v.top + 80, v.top + v.height - 40);
    return {x, y};
}

void drawParticle(ShapeBatch& b, const Particle& p) {
    const float f = p.maxLife > 0 ? std::clamp(p.life / p.maxLife, 0.0f, 1.0f) : 0.0f;
    const sf::Vector2f c{p.x, p.y};
    switch (p.shape) {
        case 1: {
            const float r = p.size * f + 1;
            // A four-point star, fanned from its centre.
            const sf::Vector2f pts[8] = {{c.x, c.y - r}, {c.x + 0.3f * r, c.y - 0.3f * r}, {c.x + r, c.y},
                                         {c.x + 0.3f * r, c.y + 0.3f * r}, {c.x, c.y + r},
                                         {c.x - 0.3f * r, c.y + 0.3f * r}, {c.x - r, c.y},
                                         {c.x - 0.3f * r, c.y - 0.3f * r}};
            for (int i = 0; i < 8; ++i) b.triangle(c, pts[i], pts[(i + 1) % 8], p.color);
            break;
        }
        case 2: b.ring(c, (1 - f) * p.size + 4, 3, withAlpha(p.color, f), 20); break;
        default: b.circle(c, (0.4f + 0.6f * f) * p.size, withAlpha(p.color, f), 8); break;
    }
}

void drawGoalSign(DrawContext& ctx, ShapeBatch& b, sf::Vector2f pos, float spin, int hero) {
    const float cs = std::cos(spin);
    const float w = 80.0f * std::fabs(cs);
    b.rect({pos.x - 3, pos.y}, {6, 70}, rgb(120, 120, 140));
    const sf::Vector2f tl{pos.x - w / 2, pos.y - 44};
    if (cs > 0) {
        b.rect(tl, {w, 44}, rgb(255, 220, 60), 3, rgb(60, 60, 80));
        if (w > 10) {
            b.flush(ctx.target);
            sf::Text text;
            text.setScale(std::min(1.0f, w / 80.0f), 1.0f);
            drawText(ctx, text, "GOAL", {pos.x, pos.y - 38}, 24, rgb(60, 40, 20), 0, kAlignCenter);
        }
    } else {
        const HeroDef& def = heroTable()[std::size_t(std::clamp(hero, 0, kHeroCount - 1))];
        b.rect(tl, {w, 44}, def.color, 3, rgb(60, 60, 80));
        if (w > 1)
            b.circle({pos.x, pos.y - 22}, 14 * std::fabs(cs), sf::Color::White,
                     std::size_t(std::max(def.shapeSides, 3)));
    }
}

void drawSpeechBubble(DrawContext& ctx, ShapeBatch& b, const std::string& line, sf::Vector2f anchor,
                      const std::function<sf::FloatRect(sf::FloatRect)>& place) {
    if (line.empty()) return;
    b.flush(ctx.target);
    sf::Text text;
    text.setFont(ctx.font);
    const std::string wrapped = wrapText(line, 46);
    text.setString(sf::String::fromUtf8(wrapped.begin(), wrapped.end()));
    text.setCharacterSize(16);
    const sf::FloatRect bounds = text.getLocalBounds();
    const float w = bounds.width + 24, h = bounds.height + 20;
    sf::FloatRect box{anchor.x - w / 2, anchor.y - 14 - h, w, h};
    if (place) box = place(box);
    const sf::Vector2f tl{box.left, box.top};
    const float bottom = box.top + box.height;
    if (anchor.y - bottom >= 6) {
        const float tx = std::clamp(anchor.x, box.left + 12, box.left + box.width - 12);
        b.triangle({tx - 8, bottom - 1}, {tx + 8, bottom - 1}, anchor, rgb(255, 255, 255, 235));
    }
    b.rect(tl, {w, h}, rgb(255, 255, 255, 235), 2, rgb(20, 20, 40));
    b.flush(ctx.target);
    drawText(ctx, text, wrapped, {tl.x + 12 - bounds.left, tl.y + 10 - bounds.top}, 16, rgb(20, 20, 40));
}

void drawSpeechBubble(DrawContext& ctx, const std::string& text, sf::Vector2f anchor) {
    ShapeBatch b;
    drawSpeechBubble(ctx, b, text, anchor);
}
