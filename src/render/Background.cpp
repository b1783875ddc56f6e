#include "render/Background.h"

#include <algorithm>
#include <cmath>

#include "core/Random.h"

namespace {

constexpr float kPi = 3.14159265358979f;

sf::Color rgb(int r, int g, int b, int a = 255) {
    return sf::Color(sf::Uint8(r), sf::Uint8(g), sf::Uint8(b), sf::Uint8(a));
}

// Positive remainder.
float wrap(float v, float m) {
    if (!(m > 0) || !std::isfinite(v)) return 0;
    float r = std::fmod(v, m);
    return r < 0 ? r + m : r;
}

// A stable hash of a prop index and a seed, as a float in [0, 1).
float hash01(long long k, unsigned seed, unsigned salt = 0) {
    std::uint32_t h = std::uint32_t(k) * 2654435761u ^ (seed * 0x9E3779B9u) ^ (salt * 0x85EBCA6Bu);
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return float(h & 0xFFFFFFu) / 16777216.0f;
}

sf::Color scaleRgb(sf::Color c, float f) {
    return {sf::Uint8(std::clamp(float(c.r) * f, 0.0f, 255.0f)), sf::Uint8(std::clamp(float(c.g) * f, 0.0f, 255.0f)),
            sf::Uint8(std::clamp(float(c.b) * f, 0.0f, 255.0f)), c.a};
}

// Half a ring (the upper half), inner edge at the radius.
void archRing(ShapeBatch& b, sf::Vector2f c, float r, float thickness, sf::Color color) {
    const int steps = 24;
    for (int i = 0; i < steps; ++i) {
        const float a0 = kPi + kPi * float(i) / float(steps), a1 = kPi + kPi * float(i + 1) / float(steps);
        const sf::Vector2f d0{std::cos(a0), std::sin(a0)}, d1{std::cos(a1), std::sin(a1)};
        b.quad(c + d0 * r, c + d1 * r, c + d1 * (r + thickness), c + d0 * (r + thickness), color);
    }
}

void drawStars(ShapeBatch& b, sf::FloatRect view, float t) {
    for (const Star& s : starField(view, t)) b.circle(s.pos, s.radius, rgb(255, 255, 255, s.alpha), 6);
}

// ---- The six zones -----------------------------------------------------------

void meadows(ShapeBatch& b, const ZonePalette& z, sf::FloatRect v, float t) {
    const float W = v.width, H = v.height;
    const sf::Vector2f sun{v.left + 0.8f * W, v.top + 90};
    b.circle(sun, 70, rgb(255, 246, 190, 60), 40);
    b.circle(sun, 50, rgb(255, 246, 190), 40);
    drawCloudRow(b, v, 0.08f, v.top + 70, rgb(255, 255, 255, 230), t);
    drawHillBand(b, v, 0.12f, 0.62f * H, 70, 0.004f, z.hillsFar, 1);
    drawHillBand(b, v, 0.3f, 0.78f * H, 40, 0.006f, z.hillsMid, 2);
    const PropRange trees = propRange(v, 90, 0.5f, 30);
    const float ground = v.top + 0.86f * H;
    for (long long k = trees.first; k <= trees.last; ++k) {
        const float x = propX(v, 90, 0.5f, k);
        const float h = 30 + 30 * hash01(k, 17);
        b.rect({x - 4, ground - h}, {8, h + 4}, rgb(90, 60, 40));
        b.circle({x, ground - h}, 22, z.hillsNear, 24);
    }
    drawHillBand(b, v, 0.5f, 0.9f * H, 20, 0.01f, z.hillsNear, 3);
}

void caverns(ShapeBatch& b, const ZonePalette& z, sf::FloatRect v, float t) {
    const float H = v.height;
    drawHillBand(b, v, 0.1f, 0.7f * H, 120, 0.005f, z.hillsFar, 4);
    const PropRange crystals = propRange(v, 140, 0.35f, 40);
    const float floor = v.top + 0.82f * H;
    for (long long k = crystals.first; k <= crystals.last; ++k) {
        const float x = propX(v, 140, 0.35f, k);
        const float cellX = float(k) * 140.0f;
        const float h = 40 + 60 * hash01(k, 23);
        const bool pink = (long long)std::floor(cellX / 280.0f) % 2 != 0;
        const sf::Color base = pink ? rgb(255, 120, 220) : z.accent;
        const sf::Color c = lerpColor(base, sf::Color::White, 0.2f + 0.2f * std::sin(2 * t + cellX));
        b.circle({x, floor - h * 0.4f}, h * 0.55f, withAlpha(c, 0.12f), 24);
        b.triangle({x - 12, floor}, {x + 12, floor}, {x, floor - h}, c);
        b.triangle({x, floor - h}, {x + 12, floor}, {x + 3, floor}, lerpColor(c, rgb(0, 0, 0), 0.3f));
    }
    drawHillBand(b, v, 0.4f, 0.95f * H, 30, 0.008f, z.hillsMid, 5);
    // Stalactite ceiling.
    b.rect({v.left - 20, v.top - 2}, {v.width + 40, 22}, z.hillsNear);
    const PropRange tips = propRange(v, 24, 0.6f, 14);
    for (long long k = tips.first; k <= tips.last; ++k) {
        const float x = propX(v, 24, 0.6f, k);
        float tip = v.top + 50 + 25 * std::sin(0.6f * 0.013f * float(k) * 24.0f);
        if (k % 3 == 0) tip += 40;
        b.triangle({x - 12, v.top + 19}, {x + 12, v.top + 19}, {x, tip}, z.hillsNear);
    }
}

void fortress(ShapeBatch& b, const ZonePalette& z, sf::FloatRect v, float t) {
    const float W = v.width, H = v.height;
    b.circle({v.left + 0.25f * W, v.top + 0.55f * H}, 90, rgb(255, 230, 150, 200), 48);
    drawHillBand(b, v, 0.06f, 0.95f * H, 30, 0.005f, rgb(255, 240, 230, 160), 6);
    const PropRange forts = propRange(v, 260, 0.15f, 80);
    for (long long k = forts.first; k <= forts.last; ++k) {
        const float x = propX(v, 260, 0.15f, k);
        const float cellX = float(k) * 260.0f;
        const float y = v.top + 0.45f * H + 60 * std::sin(cellX) + 6 * std::sin(0.6f * t + cellX);
        const float s = 0.7f + 0.4f * hash01(k, 31);
        const sf::Color tower = lerpColor(z.hillsFar, sf::Color::White, 0.1f);
        b.rect({x - 14 * s, y - 56 * s}, {28 * s, 56 * s}, tower);
        b.triangle({x - 18 * s, y - 56 * s}, {x + 18 * s, y - 56 * s}, {x, y - 76 * s}, z.hillsFar);
        b.thickLine({x, y - 76 * s}, {x, y - 96 * s}, 2, z.hillsFar);
        b.triangle({x, y - 96 * s}, {x, y - 86 * s}, {x + 18 * s, y - 91 * s + 2 * std::sin(5 * t + cellX)}, z.accent);
        b.polygon({{x - 70 * s, y}, {x + 70 * s, y}, {x + 52 * s, y + 18 * s}, {x + 20 * s, y + 34 * s},
                   {x - 20 * s, y + 34 * s}, {x - 52 * s, y + 18 * s}},
                  z.hillsFar);
        for (int w = -1; w <= 1; ++w)
            b.rect({x + float(w) * 30 * s - 4, y + 8 * s}, {8, 6}, withAlpha(z.accent, 0.7f));
    }
    drawCloudRow(b, v, 0.25f, v.top + 0.75f * H, rgb(255, 255, 255, 210), t);
    drawCloudRow(b, v, 0.45f, v.top + 0.9f * H, rgb(255, 250, 245, 240), t);
}

void neon(ShapeBatch& b, const ZonePalette& z, sf::FloatRect v, float t) {
    const float H = v.height;
    drawSkyline(b, v, 0.1f, 0.45f * H, z.hillsFar, rgb(255, 210, 120), t, 7);
    drawSkyline(b, v, 0.3f, 0.6f * H, z.hillsMid, rgb(120, 240, 255), t, 8);
    const PropRange signs = propRange(v, 320, 0.3f, 40);
    for (long long k = signs.first; k <= signs.last; ++k) {
        const float x = propX(v, 320, 0.3f, k);
        const float cellX = float(k) * 320.0f;
        const bool alt = (long long)std::floor(cellX / 640.0f) % 2 != 0;
        sf::Color c = alt ? z.groundTop : z.accent;
        if (std::sin(9 * t + cellX) <= -0.8f) c = scaleRgb(c, 0.3f);
        const float y = v.top + 0.42f * H;
        b.rect({x - 35, y}, {70, 22}, withAlpha(scaleRgb(c, 0.35f), 0.85f), 2, c);
        b.rect({x - 26, y + 8}, {52, 6}, c);
    }
}

void temple(ShapeBatch& b, const ZonePalette& z, sf::FloatRect v, float t) {
    const float H = v.height;
    drawHillBand(b, v, 0.1f, 0.75f * H, 40, 0.004f, z.hillsFar, 11);
    const PropRange columns = propRange(v, 200, 0.2f, 50);
    const sf::Color capital = lerpColor(z.hillsFar, sf::Color::White, 0.08f);
    for (long long k = columns.first; k <= columns.last; ++k) {
        const float x = propX(v, 200, 0.2f, k);
        b.rect({x - 30, v.top + 40}, {60, H}, z.hillsFar);
        b.rect({x - 40, v.top + 40}, {80, 18}, capital);
        for (int g = 0; g < 4; ++g) {
            const float gy = v.top + 110 + 90 * float(g);
            const float pulse = 0.55f + 0.45f * std::sin(3 * t + float(g) + float(k));
            b.circle({x, gy}, 6, withAlpha(z.accent, pulse), 4);
        }
    }
    const PropRange arches = propRange(v, 320, 0.45f, 160);
    const float floor = v.top + 0.82f * H;
    for (long long k = arches.first; k <= arches.last; ++k) {
        const float x = propX(v, 320, 0.45f, k);
        const float flick = 2 * std::sin(17 * t + float(k) * 320.0f);
        for (int side = -1; side <= 1; side += 2) {
            const float px = x + 100.0f * float(side);
            b.rect({px - 20, floor - 220}, {40, 220}, z.hillsMid);
            const sf::Vector2f torch{px, floor - 150};
            b.circle(torch, 26 + flick, rgb(255, 180, 80, 40), 20);
            b.rect({torch.x - 3, torch.y}, {6, 16}, rgb(90, 60, 40));
            b.triangle({torch.x - 6, torch.y}, {torch.x + 6, torch.y}, {torch.x + flick, torch.y - 16 + flick},
                       rgb(255, 190, 70));
        }
        archRing(b, {x, floor - 220}, 120 - 28, 28, z.hillsMid);
    }
    // Zig-zag frieze along the top.
    b.rect({v.left - 20, v.top - 2}, {v.width + 40, 12}, z.hillsNear);
    const PropRange teeth = propRange(v, 40, 1.0f, 20);
    for (long long k = teeth.first; k <= teeth.last; ++k) {
        const float x = propX(v, 40, 1.0f, k);
        b.triangle({x - 20, v.top + 9}, {x + 20, v.top + 9}, {x, v.top + 26}, z.hillsNear);
    }
}

void unspoken(ShapeBatch& b, const ZonePalette& z, sf::FloatRect v, float t) {
    const float W = v.width, H = v.height;
    const auto& zones = zoneTable();
    for (int i = 0; i < 14; ++i) {
        XorShift32 rng(0xE6D5C493u - 1640531535u * std::uint32_t(i));
        const float r = rng.rand(), r2 = rng.rand(), rw = rng.rand();
        const float w = 40 + 70 * rw, h = 0.45f * w;
        const float x = wrap(2400 * r - 0.2f * v.left + 9600, W + 200) + v.left - 100;
        const float y = v.top + 40 + r2 * (0.7f * H - 40) + 14 * std::sin(float(i) + 0.7f * t);
        const ZonePalette& other = zones[std::size_t(i % 4)].palette;
        const float skew = 0.25f * w;
        b.quad({x, y}, {x + w, y + 0.15f * h}, {x + w - skew * 0.3f, y + h}, {x + skew * 0.2f, y + h * 0.9f},
               withAlpha(other.groundLight, 178.0f / 255.0f));
        b.quad({x, y}, {x + w, y + 0.15f * h}, {x + w, y + 0.15f * h + 6}, {x, y + 6},
               withAlpha(other.groundTop, 204.0f / 255.0f));
    }
    for (int i = 0; i < 4; ++i) {
        const float y = v.top + wrap(137.0f * float(i) + 90.0f * t, H);
        b.rect({v.left, y}, {W, 2}, rgb(255, 40, 90, 50));
    }
    drawHillBand(b, v, 0.2f, 0.85f * H, 60, 0.006f, z.hillsMid, 9);
}

}  // namespace

PropRange propRange(sf::FloatRect view, float spacing, float parallax, float margin) {
    PropRange r;
    if (!(spacing > 0) || !std::isfinite(view.left)) return r;
    // x_k = k S - left p + left lies in [left - margin, right + margin].
    const float shift = view.left * (1.0f - parallax);
    r.first = (long long)std::ceil((view.left - margin - shift) / spacing);
    r.last = (long long)std::floor((view.left + view.width + margin - shift) / spacing);
    if (r.last - r.first > 4000) r.last = r.first + 4000;
    return r;
}

float propX(sf::FloatRect view, float spacing, float parallax, long long k) {
    return float(k) * spacing - view.left * parallax + view.left;
}

std::vector<Star> starField(sf::FloatRect v, float t) {
    std::vector<Star> stars;
    stars.reserve(70);
    XorShift32 rng(0x538453D8u);
    const float span = v.width + 40;
    for (int i = 0; i < 70; ++i) {
        const float r1 = rng.rand(), r2 = rng.rand(), r3 = rng.rand(), r4 = rng.rand();
        Star s;
        s.pos = {wrap(r1 * 3000 - v.left * 0.05f, span) + v.left - 20, v.top + r4 * 0.6f * v.height};
        s.radius = 0.8f + 1.2f * r3;
        const float a = 0.3f + 0.7f * (0.5f + 0.5f * std::sin((r2 * 3 + 1) * t + float(i)));
        s.alpha = sf::Uint8(std::clamp(a * 255.0f, 0.0f, 255.0f));
        stars.push_back(s);
    }
    return stars;
}

void drawHillBand(ShapeBatch& b, sf::FloatRect v, float p, float base, float A, float f, sf::Color color,
                  float s) {
    const float bottom = v.top + v.height + 2;
    // The wavy top edge, one column every 16 units.
    const int columns = int(std::floor((v.width + 40.0f) / 16.0f + 0.001f)) + 1;
    float xs[512], ys[512];
    const int n = std::min(columns, 512);
    float deepest = v.top - 1e9f;
    for (int i = 0; i < n; ++i) {
        const float x = v.left - 20 + 16.0f * float(i);
        const float a = (x * p + s * 1000) * f;
        const float h = A * std::sin(a) + 0.45f * A * std::sin(2.3f * a + s) + 0.6f * A * std::sin(0.37f * a);
        xs[i] = x;
        ys[i] = std::min(v.top + base - h, bottom);
        deepest = std::max(deepest, ys[i]);
    }
    if (n < 2) return;
    // Columns from the edge down to the deepest point of the edge, and one
    // block under them: the same strip in far fewer, far larger triangles.
    for (int i = 0; i + 1 < n; ++i)
        if (ys[i] < deepest || ys[i + 1] < deepest)
            b.quad({xs[i], ys[i]}, {xs[i + 1], ys[i + 1]}, {xs[i + 1], deepest}, {xs[i], deepest}, color);
    if (deepest < bottom) b.quad({xs[0], deepest}, {xs[n - 1], deepest}, {xs[n - 1], bottom}, {xs[0], bottom}, color);
}

void drawCloudRow(ShapeBatch& b, sf::FloatRect v, float p, float y, sf::Color color, float t) {
    // The drift moves the row's origin; cells keep their looks.
    const float drift = 8.0f * t;
    const float shift = v.left * (1.0f - p) - drift;
    const long long first = (long long)std::ceil((v.left - 100 - shift) / 210.0f);
    const long long last = (long long)std::floor((v.left + v.width + 40 - shift) / 210.0f);
    for (long long k = first; k <= last && k - first < 200; ++k) {
        const float cellX = float(k) * 210.0f;
        const float x = cellX + shift;
        const float yy = y + 20 * std::sin(0.7f * cellX);
        b.circle({x, yy}, 26, color, 24);
        b.circle({x + 28, yy - 10}, 32, color, 24);
        b.circle({x + 60, yy}, 24, color, 24);
        b.rect({x, yy}, {60, 22}, color);
    }
}

void drawSkyline(ShapeBatch& b, sf::FloatRect v, float p, float base, sf::Color body, sf::Color window, float t,
                 unsigned seed) {
    const PropRange cells = propRange(v, 70, p, 70);
    const float bottom = v.top + v.height;
    for (long long k = cells.first; k <= cells.last; ++k) {
        const float x = propX(v, 70, p, k);
        const float w = 50 + 18 * hash01(k, seed, 1);
        const float h = 80 + 180 * hash01(k, seed, 2);
        const float top = v.top + base + 200 - h;
        b.rect({x - w / 2, top}, {w, bottom - top}, body);
        int row = 0;
        for (float wy = top + 10; wy + 8 < bottom; wy += 18, ++row) {
            int col = 0;
            for (float wx = x - w / 2 + 6; wx + 6 <= x + w / 2 - 4; wx += 14, ++col) {
                if (hash01(k * 977 + row * 31 + col, seed, 3) >= 0.35f) continue;
                const float worldX = float(k) * 70.0f + float(col) * 14.0f;
                const float a = 0.5f + 0.3f * std::sin(t + worldX);
                b.rect({wx, wy}, {6, 8}, withAlpha(window, a));
            }
        }
    }
}

void drawBackground(ShapeBatch& b, const ZoneDef& zone, int zoneIndex, sf::FloatRect view, float t) {
    const ZonePalette& z = zone.palette;
    b.gradient({view.left, view.top}, {view.width, view.height}, z.skyTop, z.skyBottom);
    if (zone.starrySky) drawStars(b, view, t);
    switch (zoneIndex) {
        case 0: meadows(b, z, view, t); break;
        case 1: caverns(b, z, view, t); break;
        case 2: fortress(b, z, view, t); break;
        case 3: neon(b, z, view, t); break;
        case 4: temple(b, z, view, t); break;
        case 5: unspoken(b, z, view, t); break;
        default: break;
    }
}

void drawBackground(DrawContext& ctx, const ZoneDef& zone, int zoneIndex, sf::FloatRect view, float t) {
    ShapeBatch b;
    drawBackground(b, zone, zoneIndex, view, t);
    b.flush(ctx.target);
}

void drawMenuBackdrop(DrawContext& ctx, float t, int zoneIndex) {
    zoneIndex = std::clamp(zoneIndex, 0, kZoneCount - 1);
    drawBackground(ctx, zoneTable()[std::size_t(zoneIndex)], zoneIndex, {0, 0, 960, 540}, t);
}
