#include "maker/MakerDraw.h"

#include <algorithm>
#include <cmath>

#include "content/Heroes.h"

namespace {

constexpr float kPi = 3.14159265358979f;

sf::Color rgb(int r, int g, int b, int a = 255) {
    return sf::Color(sf::Uint8(r), sf::Uint8(g), sf::Uint8(b), sf::Uint8(a));
}

const ZoneDef& zoneOf(const Course& c) { return zoneTable()[std::size_t(std::clamp(c.theme, 0, kZoneCount - 1))]; }

// The icon's square: (-1, -1) is its top-left corner, (1, 1) its bottom-right.
struct IconBox {
    sf::Vector2f c;
    float u;
    sf::Vector2f at(float x, float y) const { return {c.x + x * u, c.y + y * u}; }
    sf::Vector2f size(float w, float h) const { return {w * u, h * u}; }
};

void diamond(ShapeBatch& b, const IconBox& i, float x, float y, float w, float h) {
    b.polygon({i.at(x, y - h), i.at(x + w, y), i.at(x, y + h), i.at(x - w, y)}, rgb(30, 140, 200));
    b.polygon({i.at(x, y - 0.8f * h), i.at(x + 0.75f * w, y), i.at(x, y + 0.8f * h), i.at(x - 0.75f * w, y)},
              rgb(60, 230, 255));
    b.polygon({i.at(x, y - 0.8f * h), i.at(x + 0.35f * w, y - 0.15f * h), i.at(x, y + 0.2f * h),
               i.at(x - 0.35f * w, y - 0.15f * h)},
              rgb(220, 255, 255));
}

void ledge(ShapeBatch& b, const IconBox& i, float y, sf::Color body, sf::Color top) {
    const sf::Color edge = lerpColor(body, sf::Color::White, 0.4f);
    b.rect(i.at(-0.95f, y), i.size(1.9f, 0.55f), body, std::max(1.0f, 0.06f * i.u), edge);
    b.rect(i.at(-0.95f, y), i.size(1.9f, 0.2f), top);
}

void eye(ShapeBatch& b, const IconBox& i, float x, float y, float r) {
    b.circle(i.at(x, y), r * i.u, sf::Color::White, 12);
    b.circle(i.at(x - 0.35f * r, y), 0.5f * r * i.u, sf::Color::Black, 8);
}

}  // namespace

void drawCourseItemIcon(ShapeBatch& b, int kind, sf::Vector2f centre, float size, const ZonePalette& z) {
    const IconBox i{centre, size * 0.45f};
    const float thin = std::max(1.0f, 0.07f * i.u);
    switch (kind) {
        case CourseItemKind::Ground:
            b.rect(i.at(-0.85f, -0.45f), i.size(1.7f, 1.35f), z.groundLight);
            b.rect(i.at(0.0f, -0.45f), i.size(0.85f, 0.68f), z.groundMid);
            b.rect(i.at(-0.85f, 0.23f), i.size(0.85f, 0.67f), z.groundMid);
            b.rect(i.at(-0.85f, -0.65f), i.size(1.7f, 0.28f), z.groundTop);
            break;
        case CourseItemKind::Spring:
        case CourseItemKind::BigSpring: {
            const bool big = kind == CourseItemKind::BigSpring;
            const float capY = big ? -0.6f : -0.2f;
            b.rect(i.at(-0.6f, 0.6f), i.size(1.2f, 0.3f), rgb(70, 70, 90));
            for (int k = 0; k < 4; ++k) {
                const float y0 = 0.6f + (capY - 0.6f) * float(k) / 4.0f, y1 = 0.6f + (capY - 0.6f) * float(k + 1) / 4.0f;
                b.thickLine(i.at(k % 2 ? 0.45f : -0.45f, y0), i.at(k % 2 ? -0.45f : 0.45f, y1), 0.16f * i.u,
                            rgb(200, 200, 220));
            }
            const sf::Color cap = big ? rgb(255, 210, 40) : rgb(240, 50, 60);
            b.rect(i.at(-0.8f, capY - 0.3f), i.size(1.6f, 0.3f), cap, thin, lerpColor(cap, sf::Color::Black, 0.4f));
            break;
        }
        case CourseItemKind::DashPanel:
            b.rect(i.at(-0.95f, 0.55f), i.size(1.9f, 0.3f), rgb(40, 40, 60));
            for (int k = -1; k <= 1; ++k) {
                const float x = 0.55f * float(k);
                b.thickLine(i.at(x - 0.2f, -0.35f), i.at(x + 0.18f, 0.05f), 0.2f * i.u, rgb(255, 220, 60));
                b.thickLine(i.at(x + 0.18f, 0.05f), i.at(x - 0.2f, 0.45f), 0.2f * i.u, rgb(255, 220, 60));
            }
            break;
        case CourseItemKind::Loop:
            b.rect(i.at(-0.95f, 0.7f), i.size(1.9f, 0.25f), z.groundMid);
            b.ring(i.at(0, -0.05f), 0.5f * i.u, 0.28f * i.u, z.groundLight, 28);
            b.ring(i.at(0, -0.05f), 0.4f * i.u, 0.12f * i.u, z.groundTop, 28);
            b.ring(i.at(0, -0.05f), 0.78f * i.u, 0.08f * i.u, z.groundTop, 28);
            break;
        case CourseItemKind::Ledge: ledge(b, i, -0.25f, z.groundLight, z.groundTop); break;
        case CourseItemKind::Mover: {
            ledge(b, i, 0.05f, z.groundLight, z.groundTop);
            const sf::Color arrow = rgb(255, 255, 255, 230);
            b.thickLine(i.at(-0.6f, -0.55f), i.at(0.6f, -0.55f), 0.14f * i.u, arrow);
            b.triangle(i.at(-0.95f, -0.55f), i.at(-0.55f, -0.85f), i.at(-0.55f, -0.25f), arrow);
            b.triangle(i.at(0.95f, -0.55f), i.at(0.55f, -0.85f), i.at(0.55f, -0.25f), arrow);
            break;
        }
        case CourseItemKind::Crumbler: {
            const sf::Color body = lerpColor(z.groundLight, rgb(120, 40, 60), 0.35f);
            ledge(b, i, -0.25f, body, lerpColor(z.groundTop, rgb(120, 40, 60), 0.35f));
            const sf::Color crack = lerpColor(body, rgb(40, 10, 20), 0.6f);
            b.thickLine(i.at(-0.45f, -0.05f), i.at(-0.25f, 0.3f), thin * 1.4f, crack);
            b.thickLine(i.at(0.3f, -0.05f), i.at(0.5f, 0.3f), thin * 1.4f, crack);
            break;
        }
        case CourseItemKind::Rail:
            for (int k = -1; k <= 1; ++k)
                b.thickLine(i.at(0.7f * float(k), -0.1f), i.at(0.7f * float(k), 0.75f), 0.12f * i.u, rgb(120, 130, 160));
            b.thickLine(i.at(-1.0f, -0.15f), i.at(1.0f, -0.15f), 0.25f * i.u, rgb(170, 180, 210));
            b.thickLine(i.at(-1.0f, -0.25f), i.at(1.0f, -0.25f), 0.08f * i.u, rgb(240, 250, 255));
            break;
        case CourseItemKind::Gem: diamond(b, i, 0, 0, 0.5f, 0.85f); break;
        case CourseItemKind::GemRow:
            for (int k = -1; k <= 1; ++k) diamond(b, i, 0.62f * float(k), 0, 0.26f, 0.5f);
            break;
        case CourseItemKind::Monitor:
            b.rect(i.at(-0.65f, -0.8f), i.size(1.3f, 1.5f), rgb(170, 170, 185), thin, rgb(60, 60, 70));
            b.rect(i.at(-0.45f, -0.6f), i.size(0.9f, 0.8f), rgb(20, 30, 50));
            diamond(b, i, 0, -0.2f, 0.22f, 0.32f);
            break;
        case CourseItemKind::Spikes:
            b.rect(i.at(-0.95f, 0.6f), i.size(1.9f, 0.3f), rgb(90, 90, 110));
            for (int k = 0; k < 3; ++k) {
                const float x0 = -0.95f + 0.633f * float(k);
                b.triangle(i.at(x0, 0.6f), i.at(x0 + 0.633f, 0.6f), i.at(x0 + 0.317f, -0.5f), rgb(200, 205, 220));
            }
            break;
        case CourseItemKind::Crawler:
            for (int k = -1; k <= 1; ++k) b.circle(i.at(0.5f * float(k), 0.72f), 0.2f * i.u, rgb(50, 50, 60), 10);
            b.circle(i.at(0, 0.05f), 0.68f * i.u, rgb(220, 60, 60), 20, thin, rgb(90, 20, 20));
            eye(b, i, -0.32f, -0.15f, 0.22f);
            break;
        case CourseItemKind::Buzzer:
            b.circle(i.at(-0.45f, -0.6f), 0.35f * i.u, rgb(230, 245, 255, 200), 12);
            b.circle(i.at(0.45f, -0.6f), 0.35f * i.u, rgb(230, 245, 255, 200), 12);
            b.triangle(i.at(-0.2f, 0.45f), i.at(0.2f, 0.45f), i.at(0, 0.95f), rgb(60, 60, 60));
            b.circle(i.at(0, 0), 0.6f * i.u, rgb(250, 200, 40), 16, thin, rgb(90, 60, 10));
            b.thickLine(i.at(0.25f, -0.5f), i.at(0.25f, 0.5f), 0.13f * i.u, rgb(90, 60, 10));
            eye(b, i, -0.28f, -0.12f, 0.18f);
            break;
        case CourseItemKind::Hopper:
            b.circle(i.at(0, 0.15f), 0.68f * i.u, rgb(90, 200, 90), 20, thin, rgb(30, 90, 30));
            eye(b, i, -0.3f, -0.5f, 0.24f);
            eye(b, i, 0.3f, -0.5f, 0.24f);
            break;
        case CourseItemKind::Spiker:
            for (int k = -2; k <= 2; ++k) {
                const float x = 0.3f * float(k);
                b.triangle(i.at(x - 0.17f, -0.2f), i.at(x + 0.17f, -0.2f), i.at(x, -0.95f), rgb(220, 220, 235));
            }
            b.circle(i.at(0, 0.2f), 0.66f * i.u, rgb(120, 90, 200), 20, thin, rgb(40, 30, 80));
            b.circle(i.at(-0.35f, 0.15f), 0.12f * i.u, sf::Color::Black, 8);
            break;
        case CourseItemKind::Turret:
            b.rect(i.at(-0.75f, 0.0f), i.size(1.5f, 0.85f), rgb(90, 90, 110), thin, rgb(40, 40, 50));
            b.thickLine(i.at(0, -0.3f), i.at(-0.95f, -0.6f), 0.3f * i.u, rgb(70, 70, 85));
            b.circle(i.at(0, -0.3f), 0.55f * i.u, rgb(130, 130, 150), 20);
            b.circle(i.at(-0.2f, -0.38f), 0.16f * i.u, rgb(255, 200, 80), 8);
            break;
        case CourseItemKind::Stalactite:
            b.rect(i.at(-0.95f, -1.0f), i.size(1.9f, 0.2f), rgb(110, 100, 120));
            b.triangle(i.at(-0.55f, -0.8f), i.at(0.55f, -0.8f), i.at(0, 0.95f), rgb(120, 200, 230));
            b.triangle(i.at(-0.28f, -0.8f), i.at(0.04f, -0.8f), i.at(-0.12f, 0.2f), rgb(230, 255, 255));
            break;
        case CourseItemKind::Updraft:
            b.rect(i.at(-0.95f, 0.55f), i.size(1.9f, 0.35f), rgb(90, 90, 110));
            for (int k = -1; k <= 1; ++k) {
                const float x = 0.55f * float(k);
                b.thickLine(i.at(x, 0.4f), i.at(x, -0.45f), 0.12f * i.u, rgb(255, 255, 255, 190));
                b.triangle(i.at(x - 0.2f, -0.4f), i.at(x + 0.2f, -0.4f), i.at(x, -0.8f), rgb(255, 255, 255, 220));
            }
            break;
        case CourseItemKind::Laser:
            b.rect(i.at(-0.13f, -0.7f), i.size(0.26f, 1.4f), rgb(255, 200, 160, 220));
            b.rect(i.at(-0.05f, -0.7f), i.size(0.1f, 1.4f), rgb(255, 220, 250));
            b.rect(i.at(-0.45f, -0.98f), i.size(0.9f, 0.32f), rgb(60, 60, 80));
            b.rect(i.at(-0.45f, 0.66f), i.size(0.9f, 0.32f), rgb(60, 60, 80));
            break;
        case CourseItemKind::Checkpoint:
            b.rect(i.at(-0.08f, -0.5f), i.size(0.16f, 1.45f), rgb(60, 70, 160));
            b.circle(i.at(0, -0.55f), 0.36f * i.u, rgb(80, 160, 255), 16);
            break;
        case CourseItemKind::StonePortal:
            b.circle(i.at(0, 0), 0.55f * i.u, rgb(255, 255, 255, 50), 24);
            b.ring(i.at(0, 0), 0.48f * i.u, 0.14f * i.u, rgb(255, 255, 255, 210), 28);
            for (int k = 0; k < 7; ++k) {
                const float a = 2.0f * kPi * float(k) / 7.0f - kPi / 2;
                b.circle(i.at(0.8f * std::cos(a), 0.8f * std::sin(a)), 0.17f * i.u, hueColor(float(k) / 7.0f), 6);
            }
            break;
        case CourseItemKind::Goal:
            b.rect(i.at(-0.08f, -0.2f), i.size(0.16f, 1.15f), rgb(120, 120, 140));
            b.rect(i.at(-0.85f, -0.9f), i.size(1.7f, 0.8f), rgb(255, 220, 60), thin, rgb(60, 60, 80));
            for (int k = 0; k < 4; ++k) {
                b.rect(i.at(-0.65f + 0.33f * float(k), k % 2 ? -0.7f : -0.5f), i.size(0.3f, 0.2f), rgb(60, 40, 20));
            }
            break;
        case CourseItemKind::Eraser: {
            const sf::Vector2f d{std::cos(-0.7f), std::sin(-0.7f)}, n{-d.y, d.x};
            const float len = 0.95f, w = 0.42f, split = 0.25f;
            auto p = [&](float along, float across) { return i.at(along * d.x + across * n.x, along * d.y + across * n.y); };
            b.quad(p(-len, -w), p(split, -w), p(split, w), p(-len, w), rgb(250, 120, 150));
            b.quad(p(split, -w), p(len, -w), p(len, w), p(split, w), rgb(235, 235, 245));
            b.thickLine(p(split, -w), p(split, w), thin, rgb(90, 60, 80));
            break;
        }
        default: break;
    }
}

ColumnRange visibleColumns(const MakerEditor& m) {
    const int n = int(m.course.heights.size());
    ColumnRange r;
    r.first = std::clamp(int(std::floor(m.scroll / kCellSize)), 0, std::max(n - 1, 0));
    r.last = std::min(r.first + 35, n - 1);
    return r;
}

namespace {

float textWidth(DrawContext& ctx, const std::string& s, unsigned size) {
    sf::Text t;
    t.setFont(ctx.font);
    t.setString(sf::String::fromUtf8(s.begin(), s.end()));
    t.setCharacterSize(size);
    return t.getLocalBounds().width;
}

// A centred label shrunk until it fits the width.
void drawFittedText(DrawContext& ctx, const std::string& s, sf::Vector2f topCentre, float maxWidth, unsigned size,
                    sf::Color color) {
    while (size > 7 && textWidth(ctx, s, size) > maxWidth) --size;
    drawText(ctx, s, topCentre, size, color, 0, kAlignCenter);
}

bool isLightColor(sf::Color c) { return 0.299f * float(c.r) + 0.587f * float(c.g) + 0.114f * float(c.b) > 150.0f; }

void drawGrid(ShapeBatch& b, const MakerEditor& m, const ZonePalette& z, const ColumnRange& cols) {
    const float cell = kCellSize * kMakerScale;
    const int n = int(m.course.heights.size());
    const float courseEnd = std::min(960.0f, makerViewX(float(n) * kCellSize, m.scroll));
    if (courseEnd < 960.0f) b.rect({courseEnd, kMakerGridTop}, {960.0f - courseEnd, 400.0f}, rgb(0, 0, 0, 120));

    const sf::Color line = isLightColor(z.skyBottom) ? rgb(20, 30, 70, 60) : rgb(255, 255, 255, 45);
    for (int c = cols.first; c <= cols.last + 1 && n > 0; ++c) {
        const float x = makerViewX(float(c) * kCellSize, m.scroll);
        if (x >= 0 && x <= 960) b.rect({x - 0.5f, kMakerGridTop}, {1, 400}, line);
    }
    for (int r = 0; r <= kCourseRows; ++r) b.rect({0, kMakerGridTop + float(r) * cell - 0.5f}, {courseEnd, 1}, line);

    // The ground: a stack of checkered cells under a surface strip.
    for (int c = cols.first; c <= cols.last; ++c) {
        const int h = std::clamp(m.course.heights[std::size_t(c)], 0, kMaxColumnHeight);
        if (h == 0) continue;
        const float x = makerViewX(float(c) * kCellSize, m.scroll);
        for (int r = kCourseRows - h; r < kCourseRows; ++r)
            b.rect({x, kMakerGridTop + float(r) * cell}, {cell, cell}, (c + r) % 2 ? z.groundLight : z.groundMid);
        b.rect({x, makerViewY(columnGroundY(h))}, {cell, 5}, z.groundTop);
    }
}

void drawItems(ShapeBatch& b, const MakerEditor& m, const ZonePalette& z, const ColumnRange& cols) {
    const float cell = kCellSize * kMakerScale;
    const auto& heights = m.course.heights;
    if (heights.empty()) return;
    auto shown = [&](const CourseItem& it) {
        return it.column >= cols.first - 4 && it.column <= cols.last + 4 && it.row >= 0 && it.row < kCourseRows;
    };
    // The loops' circles first, behind every icon.
    for (const CourseItem& it : m.course.items) {
        if (it.kind != CourseItemKind::Loop || !shown(it)) continue;
        const int h = std::clamp(heights[std::size_t(std::clamp(it.column, 0, int(heights.size()) - 1))], 0,
                                 kMaxColumnHeight);
        const float base = h > 0 ? columnGroundY(h) : float(it.row + 1) * kCellSize;
        const float radius = 150.0f * kMakerScale;
        b.ring({makerViewX(float(it.column) * kCellSize + 24, m.scroll), makerViewY(base) - radius}, radius - 2, 3,
               withAlpha(z.groundTop, 0.75f), 64);
    }
    for (const CourseItem& it : m.course.items) {
        if (!shown(it)) continue;
        const sf::Vector2f c{makerViewX(float(it.column) * kCellSize + 24, m.scroll),
                             makerViewY(float(it.row) * kCellSize + 24)};
        drawCourseItemIcon(b, it.kind, c, cell, z);
    }
}

void drawCursor(ShapeBatch& b, const MakerEditor& m, const ZonePalette& z, sf::Vector2f mouse) {
    const GridCell at = gridCellAt(m, mouse);
    if (!at.valid) return;
    const float cell = kCellSize * kMakerScale;
    const float x = makerViewX(float(at.column) * kCellSize, m.scroll);
    const float y = kMakerGridTop + float(at.row) * cell;
    if (m.selectedKind == CourseItemKind::Ground) {
        // The column as it would be painted.
        const int h = std::clamp(kCourseRows - at.row, 0, kMaxColumnHeight);
        const float top = makerViewY(columnGroundY(h));
        b.rect({x, top}, {cell, kMakerGridBottom - top}, withAlpha(z.groundTop, 0.35f), 2, rgb(255, 255, 255, 200));
    } else if (m.selectedKind == CourseItemKind::Eraser) {
        b.rect({x, y}, {cell, cell}, rgb(255, 80, 80, 60), 2, rgb(255, 90, 90, 230));
    } else {
        b.rect({x, y}, {cell, cell}, rgb(255, 255, 255, 50), 2, rgb(255, 255, 255, 220));
    }
}

sf::Color buttonFill(int i, bool hover) {
    if (i == MakerButton::Play) return hover ? rgb(60, 180, 90) : rgb(40, 140, 70);
    if (i == MakerButton::Back) return hover ? rgb(190, 70, 80) : rgb(150, 50, 60);
    return hover ? rgb(70, 70, 160, 240) : rgb(30, 30, 70, 230);
}

sf::Color buttonOutline(int i) {
    if (i == MakerButton::Play) return rgb(150, 255, 170);
    if (i == MakerButton::Back) return rgb(255, 160, 160);
    return rgb(150, 150, 220);
}

}  // namespace

void drawMakerScreen(DrawContext& ctx, const MakerEditor& m, const MakerSceneInfo& info) {
    const ZoneDef& zone = zoneOf(m.course);
    const ZonePalette& z = zone.palette;
    const ColumnRange cols = visibleColumns(m);
    const int n = int(m.course.heights.size());
    ShapeBatch b;

    // The grid: sky, lines, ground, items and the cell under the mouse.
    b.gradient({0, 0}, {960, 540}, z.skyTop, z.skyBottom);
    drawGrid(b, m, z, cols);
    drawItems(b, m, z, cols);
    drawCursor(b, m, z, info.mouse);
    b.flush(ctx.target);

    for (int c = 0; c < n; ++c) {
        const int h = std::clamp(m.course.heights[std::size_t(c)], 0, kMaxColumnHeight);
        if (h == 0) continue;
        const float x = makerViewX(float(c) * kCellSize + 24, m.scroll);
        // Kept inside the view when the first column is at its left edge.
        const float half = textWidth(ctx, "START", 15) / 2 + 4;
        if (x > -60 && x < 1020)
            drawText(ctx, "START", {std::max(x, half), makerViewY(columnGroundY(h)) - 24}, 15, rgb(255, 230, 90), 2,
                     kAlignCenter);
        break;
    }

    // The bars.
    b.rect({0, 0}, {960, kMakerGridTop}, rgb(16, 16, 34));
    b.rect({0, kMakerGridTop - 2}, {960, 2}, rgb(90, 90, 140));
    b.rect({0, kMakerGridBottom}, {960, 540 - kMakerGridBottom}, rgb(16, 16, 34));
    b.rect({0, kMakerGridBottom}, {960, 2}, rgb(90, 90, 140));
    for (int i = 0; i < kMakerButtonCount; ++i) {
        const sf::FloatRect r = makerButtonRect(i);
        b.rect({r.left, r.top}, {r.width, r.height}, buttonFill(i, insideRect(r, info.mouse)), 2, buttonOutline(i));
    }
    {
        const HeroDef& hero = heroTable()[std::size_t(std::clamp(info.hero, 0, kHeroCount - 1))];
        const sf::FloatRect r = makerButtonRect(MakerButton::Hero);
        b.circle({r.left + 18, r.top + r.height / 2}, 9, hero.color, std::size_t(std::max(hero.shapeSides, 3)), 1.5f,
                 rgb(255, 255, 255, 200));
    }
    const sf::FloatRect la = paletteLeftArrowRect(), ra = paletteRightArrowRect();
    const bool canLeft = m.paletteFirst > 0, canRight = m.paletteFirst < 12;
    for (const sf::FloatRect& r : {la, ra}) b.rect({r.left, r.top}, {r.width, r.height}, rgb(30, 30, 70, 230), 2, rgb(150, 150, 220));
    const sf::Color on = rgb(255, 230, 120), off = rgb(80, 80, 110);
    const float lc = la.left + la.width / 2, rc = ra.left + ra.width / 2, ay = la.top + la.height / 2;
    b.triangle({lc - 12, ay}, {lc + 10, ay - 16}, {lc + 10, ay + 16}, canLeft ? on : off);
    b.triangle({rc + 12, ay}, {rc - 10, ay - 16}, {rc - 10, ay + 16}, canRight ? on : off);
    for (int j = 0; j < kPaletteCellsShown; ++j) {
        const int kind = m.paletteFirst + j;
        if (kind >= kPaletteSize) break;
        const sf::FloatRect r = paletteCellRect(j);
        const bool selected = kind == m.selectedKind;
        const bool hover = insideRect(r, info.mouse);
        b.rect({r.left, r.top}, {r.width, r.height},
               selected ? rgb(80, 80, 170, 245) : hover ? rgb(50, 50, 110, 235) : rgb(30, 30, 70, 230),
               selected ? 3.0f : 1.5f, selected ? rgb(255, 220, 90) : rgb(110, 110, 170));
        drawCourseItemIcon(b, kind, {r.left + r.width / 2, r.top + 14}, 22, z);
    }
    b.flush(ctx.target);

    for (int i = 0; i < kMakerButtonCount; ++i) {
        const sf::FloatRect r = makerButtonRect(i);
        const float shift = i == MakerButton::Hero ? 12.0f : 0.0f;  // room for the hero's figure
        drawFittedText(ctx, makerButtonLabel(m, i, info.heroName), {r.left + r.width / 2 + shift, r.top + 6},
                       r.width - 8 - 2 * shift, 16, sf::Color::White);
    }
    for (int j = 0; j < kPaletteCellsShown; ++j) {
        const int kind = m.paletteFirst + j;
        if (kind >= kPaletteSize) break;
        const sf::FloatRect r = paletteCellRect(j);
        drawFittedText(ctx, paletteName(kind), {r.left + r.width / 2, r.top + 25}, r.width - 4, 11,
                       kind == m.selectedKind ? rgb(255, 235, 150) : rgb(225, 225, 245));
    }

    // The hint line, on a band of its own over the bottom row.
    drawRect(ctx, {0, 414}, {960, 24}, rgb(0, 0, 20, 120));
    drawText(ctx, "Left click: place  |  Right click: erase  |  Arrows: scroll  |  Ground: click a column at the height you want",
             {480, 418}, 13, rgb(235, 235, 250), 0, kAlignCenter);

    if (m.messageTime > 0 && !m.message.empty()) {
        const float w = textWidth(ctx, m.message, 20) + 36;
        drawRect(ctx, {480 - w / 2, 52}, {w, 32}, rgb(10, 10, 30, 215), 2, rgb(255, 220, 90));
        drawText(ctx, m.message, {480, 55}, 20, sf::Color::White, 0, kAlignCenter);
    }
}
