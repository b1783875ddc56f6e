#include "content/BossLooks.h"

#include <SFML/Graphics/CircleShape.hpp>
#include <SFML/Graphics/Text.hpp>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "content/Heroes.h"
#include "render/Hero.h"

namespace {

using V = sf::Vector2f;
constexpr float kPi = 3.14159265358979f;

sf::Color rgba(int r, int g, int b, int a = 255) {
    return sf::Color(sf::Uint8(std::clamp(r, 0, 255)), sf::Uint8(std::clamp(g, 0, 255)),
                     sf::Uint8(std::clamp(b, 0, 255)), sf::Uint8(std::clamp(a, 0, 255)));
}

sf::Color alphaScaled(sf::Color c, float k) {
    c.a = sf::Uint8(std::clamp(float(c.a) * k, 0.0f, 255.0f));
    return c;
}

sf::Color mix(sf::Color a, sf::Color b, float t) {
    t = std::clamp(t, 0.0f, 1.0f);
    auto ch = [t](sf::Uint8 x, sf::Uint8 y) { return sf::Uint8(float(x) + (float(y) - float(x)) * t); };
    return sf::Color(ch(a.r, b.r), ch(a.g, b.g), ch(a.b, b.b), ch(a.a, b.a));
}

// The body colours of one frame: white while the flash blinks on.
struct Tone {
    bool white = false;
    float opacity = 1.0f;
    sf::Color operator()(sf::Color c) const {
        if (white) c = sf::Color(255, 255, 255, c.a);
        return alphaScaled(c, opacity);
    }
};

V rotated(V v, float a) {
    float c = std::cos(a), s = std::sin(a);
    return {v.x * c - v.y * s, v.x * s + v.y * c};
}

// Text centred on a point, optionally mirrored left to right.
void centredText(DrawContext& ctx, const std::string& str, V centre, unsigned size, sf::Color color,
                 bool mirrored) {
    sf::Text t(str, ctx.font, size);
    t.setFillColor(color);
    sf::FloatRect b = t.getLocalBounds();
    t.setOrigin(b.left + b.width / 2, b.top + b.height / 2);
    t.setPosition(centre);
    if (mirrored) t.setScale(-1, 1);
    ctx.target.draw(t);
}

// A ring squashed vertically (the silence wave).
void squashedRing(DrawContext& ctx, V centre, float radius, float squash, float thickness, sf::Color color) {
    sf::CircleShape c(radius, 40);
    c.setOrigin(radius, radius);
    c.setPosition(centre);
    c.setScale(1, squash);
    c.setFillColor(sf::Color::Transparent);
    c.setOutlineThickness(thickness);
    c.setOutlineColor(color);
    ctx.target.draw(c);
}

// The Keeper's stone: a hexagon narrowed to 0.8 of its width, turning.
void keeperStone(DrawContext& ctx, V centre, float radius, float time, float opacity) {
    sf::CircleShape c(radius, 6);
    c.setOrigin(radius, radius);
    c.setPosition(centre);
    c.setScale(0.8f, 1.0f);
    c.setRotation(std::fmod(400.0f * time, 360.0f));
    c.setFillColor(alphaScaled(rgba(170, 170, 182), opacity));
    c.setOutlineThickness(2);
    c.setOutlineColor(alphaScaled(rgba(255, 240, 200), opacity));
    ctx.target.draw(c);
}

std::uint32_t hashStep(std::uint32_t& s) {
    s ^= s << 13;
    s ^= s >> 17;
    s ^= s << 5;
    return s;
}

// ---------------------------------------------------------------------------
// Bodies.

struct Look {
    DrawContext& ctx;
    const BossState& b;
    const BossArena& a;
    float t;
    Tone tone;
    float F;

    void disc(V c, float r, sf::Color fill, std::size_t pts = 30, float ot = 0, sf::Color oc = sf::Color::Transparent) {
        drawCircle(ctx, c, r, tone(fill), pts, ot, tone(oc));
    }
    // A disc whose colour does not flash (eyes, glows).
    void plainDisc(V c, float r, sf::Color fill, std::size_t pts = 30, float ot = 0,
                   sf::Color oc = sf::Color::Transparent) {
        drawCircle(ctx, c, r, alphaScaled(fill, tone.opacity), pts, ot, alphaScaled(oc, tone.opacity));
    }
    void line(V p, V q, float th, sf::Color c) { drawThickLine(ctx, p, q, th, tone(c)); }
    void tri(V p, V q, V r, sf::Color c) { drawTriangle(ctx, p, q, r, tone(c)); }
    void poly(const std::vector<V>& pts, sf::Color c) { drawPolygon(ctx, pts, tone(c)); }
    void rect(V p, V s, sf::Color c, float ot = 0, sf::Color oc = sf::Color::Transparent) {
        drawRect(ctx, p, s, tone(c), ot, tone(oc));
    }
    float pulse(float speed) const { return 0.5f + 0.5f * std::sin(speed * t); }
    int towardPlayer() const { return a.player.x < b.x ? -1 : 1; }
};

void brambleBeetle(Look& L) {
    const BossState& b = L.b;
    const float x = b.x, y = b.y, f = float(b.facing);
    const bool stunned = b.state == 3;
    const sf::Color shell = stunned ? rgba(200, 180, 120) : rgba(60, 140, 70);
    const sf::Color edge = stunned ? rgba(80, 60, 30) : rgba(20, 60, 30);
    // Legs: walking below, or kicking in the air while it lies on its back.
    for (int i = 0; i < 3; ++i) {
        float ox = (-30.0f + 26.0f * float(i)) * f;
        float swing = std::sin(25 * L.t + 2.0f * float(i));
        if (stunned) {
            L.line({x + ox, y - 34}, {x + ox * 1.4f + 7 * swing, y - 62}, 5, rgba(30, 30, 30));
        } else {
            float out = ox * 1.5f + (i == 1 ? 14 * f : 0.0f);
            L.line({x + ox, y + 24}, {x + out + 10 * swing * f, y + 42}, 5, rgba(30, 30, 30));
            L.line({x + out + 10 * swing * f, y + 42}, {x + out + 10 * swing * f + 8 * f, y + 42}, 4,
                   rgba(30, 30, 30));
        }
    }
    // Six thorns around the top of the shell, 40 to 64 out.
    for (int i = 0; i < 6; ++i) {
        float ang = kPi + (float(i) + 0.5f) * kPi / 6.0f;
        if (stunned) ang += kPi;  // on its back the thorns point at the ground
        V dir{std::cos(ang), std::sin(ang)};
        V side{-dir.y, dir.x};
        V base{x + dir.x * 40, y + dir.y * 40};
        L.tri(base + side * 8.0f, base - side * 8.0f, {x + dir.x * 64, y + dir.y * 64}, rgba(120, 80, 40));
    }
    L.disc({x, y}, 44, shell, 30, 3, edge);
    // The seam between the wing cases and two spots on each.
    L.line({x - 6 * f, y - 43}, {x - 6 * f, y + 30}, 3, edge);
    L.disc({x - 24 * f, y - 14}, 7, mix(shell, edge, 0.4f), 16);
    L.disc({x + 12 * f, y - 22}, 6, mix(shell, edge, 0.4f), 16);
    L.disc({x - 18 * f, y + 14}, 5, mix(shell, edge, 0.4f), 16);
    // Head, mandibles and eye.
    V head{x + 40 * f, y + 8};
    L.tri({head.x + 14 * f, head.y + 2}, {head.x + 30 * f, head.y + 10}, {head.x + 12 * f, head.y + 12},
          rgba(30, 60, 35));
    L.disc(head, 18, rgba(40, 90, 50), 24);
    if (stunned)
        centredText(L.ctx, "@ @", {head.x, head.y - 4}, 18, alphaScaled(rgba(40, 30, 20), L.tone.opacity), false);
    else
        L.plainDisc({x + 46 * f, y + 4}, 5, rgba(255, 60, 60), 12);
}

void hollowOak(Look& L) {
    const BossState& b = L.b;
    const float x = b.x, F = L.F;
    const bool open = b.vulnerable;
    // Roots spreading 80 either side at the floor.
    L.line({x - 30, F - 26}, {x - 80, F}, 16, rgba(90, 55, 30));
    L.line({x + 30, F - 26}, {x + 80, F}, 16, rgba(90, 55, 30));
    L.rect({x - 50, F - 260}, {100, 260}, rgba(110, 70, 40), 3, rgba(60, 35, 20));
    // Bark lines.
    for (int i = 0; i < 3; ++i)
        L.line({x + 18 + 10 * float(i), F - 240 + 40 * float(i)}, {x + 14 + 10 * float(i), F - 40}, 3,
               rgba(80, 50, 28));
    for (int i = 0; i < 5; ++i) {
        float cy = F - 300 - (i % 2 == 1 ? 30.0f : 0.0f);
        L.disc({x - 90 + 45 * float(i), cy}, 70, rgba(50, 110, 50), 30);
    }
    // The hollow, glowing while it is open.
    V hollow{b.weakX, b.weakY};
    if (open) L.plainDisc(hollow, 34 + 8 + 5 * L.pulse(8), rgba(255, 230, 120, 80), 30);
    L.disc(hollow, 34, open ? rgba(255, 220, 90) : rgba(60, 35, 20), 30);
    sf::Color eye = open ? rgba(255, 240, 160) : rgba(255, 120, 40);
    L.plainDisc({x - 30, F - 190}, 9, eye, 16);
    L.plainDisc({x + 20, F - 190}, 9, eye, 16);
    // A scowl above the eyes while it attacks.
    if (!open) {
        L.line({x - 42, F - 206}, {x - 20, F - 198}, 4, rgba(60, 35, 20));
        L.line({x + 32, F - 206}, {x + 10, F - 198}, 4, rgba(60, 35, 20));
    }
}

void prismBat(Look& L) {
    const BossState& b = L.b;
    const bool windUp = b.state == 2;
    const float x = b.x + (windUp ? 3 * std::sin(70 * L.t) : 0.0f), y = b.y;
    const float flap = std::sin((b.state == 3 ? 22.0f : 13.0f) * L.t);
    // Crystal wings of three facets each, tinted by a slowly turning prism hue.
    for (int side = -1; side <= 1; side += 2) {
        float s = float(side);
        V shoulder{x + 16 * s, y - 6};
        V tip{x + 100 * s, y - 34 - 26 * flap};
        V mid{x + 70 * s, y + 14 - 8 * flap};
        V low{x + 38 * s, y + 20};
        sf::Color shade = hueColor(0.12f * L.t + (side > 0 ? 0.5f : 0.0f));
        L.tri(shoulder, tip, mid, mix(rgba(170, 240, 255), shade, 0.35f));
        L.tri(shoulder, mid, low, mix(rgba(200, 160, 255), shade, 0.25f));
        L.line(shoulder, tip, 3, rgba(235, 250, 255));
        L.line(tip, mid, 2, rgba(120, 170, 220));
    }
    // Ears.
    L.tri({x - 20, y - 18}, {x - 6, y - 24}, {x - 18, y - 48}, rgba(120, 180, 240));
    L.tri({x + 20, y - 18}, {x + 6, y - 24}, {x + 18, y - 48}, rgba(120, 180, 240));
    // A faceted body with a bright inner facet.
    L.disc({x, y}, 30, rgba(110, 190, 250), 6, 2, rgba(230, 250, 255));
    L.disc({x, y + 2}, 16, rgba(190, 235, 255), 4);
    sf::Color eye = windUp ? rgba(255, 60, 60) : rgba(255, 255, 255);
    L.plainDisc({x - 10, y - 8}, 5, eye, 12);
    L.plainDisc({x + 10, y - 8}, 5, eye, 12);
    L.plainDisc({x - 10, y - 7}, 2.2f, rgba(255, 40, 150), 8);
    L.plainDisc({x + 10, y - 7}, 2.2f, rgba(255, 40, 150), 8);
    // Fangs.
    L.tri({x - 8, y + 8}, {x - 3, y + 8}, {x - 6, y + 17}, rgba(255, 255, 255));
    L.tri({x + 8, y + 8}, {x + 3, y + 8}, {x + 6, y + 17}, rgba(255, 255, 255));
}

void geodeGolem(Look& L) {
    const BossState& b = L.b;
    const float x = b.x, y = b.y, f = float(b.facing);
    const bool tired = b.state == 3;
    const bool airborne = b.state == 2;
    const sf::Color rock = rgba(108, 98, 124), dark = rgba(62, 56, 76);
    // Legs down to the floor.
    float step = b.state == 1 ? 6 * std::sin(9 * L.t) : 0.0f;
    L.rect({x - 44, y + 36 + step}, {30, 44 - step}, dark);
    L.rect({x + 14, y + 36 - step}, {30, 44 + step}, dark);
    // Arms: raised in a jump or a throw, hanging while tired.
    float armY = airborne || b.state == 4 ? -34.0f : (tired ? 34.0f : 8.0f + 6 * std::sin(6 * L.t));
    L.line({x - 50, y - 10}, {x - 74, y + armY}, 20, dark);
    L.line({x + 50, y - 10}, {x + 74, y + armY}, 20, dark);
    L.disc({x - 76, y + armY}, 20, rock, 7, 2, dark);
    L.disc({x + 76, y + armY}, 20, rock, 7, 2, dark);
    // The boulder body with crystal veins.
    L.disc({x, y}, 62, rock, 8, 3, dark);
    L.line({x - 40, y - 20}, {x - 10, y + 10}, 3, rgba(170, 240, 255, 170));
    L.line({x - 10, y + 10}, {x - 20, y + 44}, 3, rgba(170, 240, 255, 170));
    L.line({x + 24, y - 40}, {x + 44, y + 4}, 3, rgba(200, 150, 255, 170));
    L.disc({x + 30, y + 26}, 9, rgba(200, 150, 255, 200), 4);
    // Eyes: glowing slits, drooping while tired.
    sf::Color eye = tired ? rgba(150, 120, 60) : rgba(255, 200, 80);
    float eh = tired ? 3.0f : 7.0f;
    L.rect({x - 26 + 8 * f, y - 26}, {16, eh}, alphaScaled(eye, 1.0f));
    L.rect({x + 10 + 8 * f, y - 26}, {16, eh}, alphaScaled(eye, 1.0f));
    L.rect({x - 16 + 8 * f, y + 2}, {32, 5}, dark);
    // The crystal on its head: the weak point, glowing while it is tired.
    V gem{b.weakX, b.weakY};
    if (tired) L.plainDisc(gem, 32 + 5 * L.pulse(9), rgba(200, 240, 255, 90), 30);
    L.disc(gem, 26, tired ? rgba(210, 250, 255) : rgba(150, 110, 230), 4, 2, rgba(240, 250, 255));
    L.disc({gem.x, gem.y - 4}, 10, rgba(240, 255, 255, 200), 4);
}

void galeTurret(Look& L) {
    const BossState& b = L.b;
    const float x = b.x, y = b.y;
    const bool hot = b.state == 3, gale = b.state == 2;
    const sf::Color metal = rgba(122, 132, 152), dark = rgba(60, 64, 82);
    const int tp = L.towardPlayer();
    // Rotor arms and spinning blades on both sides.
    for (int side = -1; side <= 1; side += 2) {
        float s = float(side);
        L.line({x + 34 * s, y + 2}, {x + 62 * s, y - 14}, 6, dark);
        float spin = std::cos(32 * L.t + (side > 0 ? 1.0f : 0.0f));
        L.line({x + 62 * s - 26 * spin, y - 18}, {x + 62 * s + 26 * spin, y - 18}, 4, rgba(210, 225, 245, 200));
        L.disc({x + 62 * s, y - 18}, 4, dark, 10);
    }
    // Barrel toward the player.
    float ang = std::atan2(L.a.player.y - (y + 18), L.a.player.x - x);
    V dir{std::cos(ang), std::sin(ang)};
    L.line({x, y + 18}, {x + dir.x * 58, y + 18 + dir.y * 58}, 16, dark);
    L.disc({x + dir.x * 58, y + 18 + dir.y * 58}, 9, rgba(40, 40, 50), 12);
    // Body with a band and a fan grille.
    L.disc({x, y + 10}, 40, metal, 12, 3, dark);
    L.rect({x - 39, y + 2}, {78, 10}, rgba(84, 90, 108));
    L.disc({x + 10 * float(tp), y + 22}, 15, rgba(50, 54, 70), 16, 2, rgba(190, 200, 220));
    float fan = (gale ? 40.0f : 8.0f) * L.t;
    for (int i = 0; i < 3; ++i) {
        V r = rotated({13, 0}, fan + float(i) * 2.094f);
        L.line({x + 10 * float(tp) - r.x, y + 22 - r.y}, {x + 10 * float(tp) + r.x, y + 22 + r.y}, 3,
               rgba(200, 210, 230));
    }
    // The dome on top is the weak point: glass, or glowing hot while it overheats.
    V dome{b.weakX, b.weakY};
    if (hot) {
        L.plainDisc(dome, 30 + 5 * L.pulse(14), rgba(255, 140, 40, 90), 30);
        for (int i = 0; i < 3; ++i) {
            float k = std::fmod(L.t * 1.5f + float(i) / 3.0f, 1.0f);
            L.plainDisc({dome.x - 14 + 14 * float(i), dome.y - 24 - 40 * k}, 6 + 8 * k,
                        rgba(220, 220, 220, int(150 * (1 - k))), 14);
        }
    }
    L.disc(dome, 26, hot ? rgba(255, 120 + int(60 * L.pulse(14)), 40) : rgba(90, 200, 255), 24, 2, dark);
    L.disc({dome.x - 8, dome.y - 8}, 7, rgba(230, 250, 255, 170), 12);
    L.plainDisc({dome.x + 8 * float(tp), dome.y + 4}, 5, hot ? rgba(255, 255, 200) : rgba(255, 60, 60), 12);
    // The gale: streaks blowing away on the player's side.
    if (gale) {
        for (int i = 0; i < 6; ++i) {
            float k = std::fmod(L.t * 2.5f + float(i) / 6.0f, 1.0f);
            float sx = x + float(tp) * (60 + 320 * k);
            float sy = L.F - 30 - 26 * float(i % 3) - 30 * float(i / 3);
            L.line({sx, sy}, {sx + float(tp) * 60, sy}, 3, rgba(230, 245, 255, int(200 * (1 - k))));
        }
    }
}

void stormZeppelin(Look& L) {
    const BossState& b = L.b;
    const float x = b.x, y = b.y;
    const int tp = L.towardPlayer();
    const float fx = float(tp);
    const bool low = b.vulnerable;
    // Tail fins at the back.
    L.tri({x - 90 * fx, y - 8}, {x - 128 * fx, y - 54}, {x - 120 * fx, y - 4}, rgba(200, 70, 70));
    L.tri({x - 90 * fx, y + 8}, {x - 128 * fx, y + 50}, {x - 120 * fx, y + 4}, rgba(200, 70, 70));
    // The envelope: an ellipse over the three hurt circles, with bands.
    std::vector<V> edge, hull;
    for (int i = 0; i < 28; ++i) {
        float a = 2 * kPi * float(i) / 28.0f;
        edge.push_back({x + 112 * std::cos(a), y + 48 * std::sin(a)});
        hull.push_back({x + 108 * std::cos(a), y + 44 * std::sin(a)});
    }
    L.poly(edge, rgba(70, 70, 90));
    L.poly(hull, rgba(156, 156, 178));
    for (int i = -1; i <= 1; ++i) {
        float bx = x + 44 * float(i);
        float half = 44 * std::sqrt(std::max(0.0f, 1 - (44 * float(i) / 108) * (44 * float(i) / 108)));
        L.line({bx, y - half + 3}, {bx, y + half - 3}, 5, rgba(128, 128, 150));
    }
    // Cables and the gondola hanging below (the weak point).
    V g{b.weakX, b.weakY};
    L.line({x - 34, y + 34}, {g.x - 24, g.y - 12}, 3, rgba(60, 60, 70));
    L.line({x + 34, y + 34}, {g.x + 24, g.y - 12}, 3, rgba(60, 60, 70));
    if (low) L.plainDisc(g, 36 + 4 * L.pulse(10), rgba(255, 230, 120, 80), 24);
    L.rect({g.x - 32, g.y - 14}, {64, 30}, rgba(96, 64, 52), 2, rgba(50, 34, 28));
    for (int i = 0; i < 3; ++i)
        L.plainDisc({g.x - 18 + 18 * float(i), g.y}, 5, low ? rgba(255, 240, 150) : rgba(120, 170, 200), 12);
    float prop = std::cos(30 * L.t);
    L.line({g.x - 36 * fx, g.y - 16 * prop}, {g.x - 36 * fx, g.y + 16 * prop}, 4, rgba(200, 200, 210));
    // An angry face on the nose.
    V eye{x + 62 * fx, y - 8};
    L.plainDisc({eye.x - 12, eye.y}, 8, rgba(255, 255, 255), 14);
    L.plainDisc({eye.x + 12, eye.y}, 8, rgba(255, 255, 255), 14);
    L.plainDisc({eye.x - 12 + 3 * fx, eye.y + 2}, 4, rgba(20, 20, 40), 10);
    L.plainDisc({eye.x + 12 + 3 * fx, eye.y + 2}, 4, rgba(20, 20, 40), 10);
    L.line({eye.x - 22, eye.y - 14}, {eye.x - 4, eye.y - 8}, 4, rgba(50, 50, 70));
    L.line({eye.x + 22, eye.y - 14}, {eye.x + 4, eye.y - 8}, 4, rgba(50, 50, 70));
    L.line({eye.x - 12, eye.y + 20}, {eye.x + 12, eye.y + 16}, 3, rgba(50, 50, 70));
    // A storm cloud riding on top, flickering.
    sf::Color cloud = rgba(86, 86, 106);
    L.disc({x - 34, y - 52}, 24, cloud, 20);
    L.disc({x + 2, y - 64}, 30, cloud, 20);
    L.disc({x + 38, y - 52}, 22, cloud, 20);
    if (std::sin(9 * L.t) > 0.6f) {
        L.line({x + 6, y - 44}, {x - 4, y - 30}, 3, rgba(255, 255, 150));
        L.line({x - 4, y - 30}, {x + 8, y - 22}, 3, rgba(255, 255, 150));
    }
}

void glitchRacer(Look& L) {
    const BossState& b = L.b;
    const float y = b.y, f = float(b.facing);
    const bool paused = b.state == 2;
    auto car = [&](float x, sf::Color body, sf::Color trim, bool main) {
        // Wedge body from triangles, nose toward the facing side.
        V tailTop{x - 40 * f, y - 12}, roof{x + 6 * f, y - 14}, nose{x + 46 * f, y + 6};
        V noseLow{x + 42 * f, y + 14}, tailLow{x - 42 * f, y + 14};
        L.tri(tailTop, roof, noseLow, body);
        L.tri(tailTop, noseLow, tailLow, body);
        L.tri(roof, nose, noseLow, body);
        L.tri({x - 40 * f, y - 12}, {x - 50 * f, y - 24}, {x - 30 * f, y - 12}, trim);  // spoiler
        if (!main) return;
        L.line({x - 38 * f, y + 2}, {x + 40 * f, y + 6}, 3, trim);
        // Cockpit on top (the weak point) with a visor face.
        L.disc({b.weakX - 2 * f, b.weakY + 2}, 15, rgba(20, 20, 40), 20, 2, trim);
        L.rect({b.weakX - 2 * f + (f > 0 ? -2.0f : -10.0f), b.weakY - 2}, {12, 4},
               paused ? rgba(255, 255, 255) : rgba(0, 240, 255));
        // Wheels.
        for (int i = -1; i <= 1; i += 2) {
            V w{x + 26 * float(i), y + 17};
            L.disc(w, 9, rgba(20, 20, 30), 14);
            L.plainDisc(w, 4, trim, 8);
        }
    };
    // Red and cyan ghosts jittering beside it: the glitch.
    float j = 3 + 4 * std::fabs(std::sin(47 * L.t)) + (paused ? 4.0f : 0.0f);
    car(b.x - j, rgba(0, 240, 255, 110), rgba(0, 240, 255, 110), false);
    car(b.x + j, rgba(255, 60, 200, 110), rgba(255, 60, 200, 110), false);
    car(b.x, rgba(40, 36, 70), rgba(255, 60, 200), true);
    // Speed lines while it dashes; a broken scan line while it stalls.
    if (b.state == 1)
        for (int i = 0; i < 3; ++i)
            L.line({b.x - (60 + 30 * float(i)) * f, y - 8 + 10 * float(i)},
                   {b.x - (110 + 40 * float(i)) * f, y - 8 + 10 * float(i)}, 2, rgba(0, 240, 255, 160));
    if (paused && std::sin(31 * L.t) > 0)
        L.rect({b.x - 50, y - 4 + 8 * std::sin(13 * L.t)}, {100, 3}, rgba(255, 255, 255, 160));
}

}  // namespace

void drawMirrorFigure(DrawContext& ctx, const MirrorFigure& m) {
    HeroPose pose;
    pose.hero = std::clamp(m.hero, 0, kHeroCount - 1);
    pose.x = m.pos.x;
    pose.y = m.pos.y;
    pose.time = m.time;
    pose.facing = m.facing < 0 ? -1 : 1;
    pose.rolling = pose.hero == 4;  // Bolim is always a ball
    pose.spin = pose.rolling ? m.time * 6.0f * float(pose.facing) : 0.0f;
    pose.opacity = std::clamp(m.opacity, 0.0f, 1.0f);
    pose.tint = m.tint;
    drawHero(ctx, pose);
}

namespace {

void mirrorHero(Look& L, int playerHero, const MirrorDrawer& drawMirror) {
    const BossState& b = L.b;
    auto figure = [&](V pos, int facing, sf::Color tint, float opacity) {
        MirrorFigure m{playerHero, pos, facing, L.tone.white ? sf::Color::White : tint, opacity, L.t};
        if (drawMirror)
            drawMirror(L.ctx, m);
        else
            drawMirrorFigure(L.ctx, m);
    };
    if (b.hp < 3 && b.trail.size() > 110)
        figure(b.aux, b.aux.x > L.a.player.x ? -1 : 1, rgba(0, 240, 255, 200), 0.6f);
    // A shimmer ring marks the copy.
    float op = b.state == 0 ? 0.3f : 0.9f;
    drawRing(L.ctx, {b.x, b.y}, 24 + 2 * std::sin(6 * L.t), 2, rgba(255, 60, 200, int(120 * op)), 30);
    figure({b.x, b.y}, L.towardPlayer(), b.vulnerable ? rgba(255, 255, 255, 200) : rgba(255, 40, 200, 170), op);
}

void theSilencer(Look& L) {
    const BossState& b = L.b;
    if (b.state == 1) return;  // vanished
    float op = b.state == 2 ? std::clamp(1.0f - b.stateTimer / 0.6f, 0.15f, 1.0f) : 1.0f;
    Tone saved = L.tone;
    L.tone.opacity *= op;
    const float x = b.x, y = b.y;
    // A hush around it.
    for (int i = 0; i < 2; ++i) {
        float k = std::fmod(L.t * 0.8f + 0.5f * float(i), 1.0f);
        drawRing(L.ctx, {x, y}, 30 + 30 * k, 2, rgba(200, 200, 255, int(110 * (1 - k) * L.tone.opacity)), 30);
    }
    // The cloak: a hood over a tattered hem.
    L.poly({{x, y - 44}, {x + 24, y - 26}, {x + 30, y + 18}, {x - 30, y + 18}, {x - 24, y - 26}}, rgba(24, 24, 36));
    for (int i = 0; i < 5; ++i) {
        float hx = x - 30 + 12 * float(i);
        float sway = 3 * std::sin(5 * L.t + float(i));
        L.tri({hx, y + 16}, {hx + 12, y + 16}, {hx + 6 + sway, y + 34}, rgba(24, 24, 36));
    }
    // Pale hands, one finger raised to the hush.
    L.disc({x - 30, y + 2}, 6, rgba(210, 210, 230), 10);
    L.disc({x + 18, y - 2}, 6, rgba(210, 210, 230), 10);
    L.line({x + 18, y - 4}, {x + 14, y - 16}, 3, rgba(210, 210, 230));
    // The face: a dark hollow reading "...".
    L.plainDisc({x, y - 12}, 17, b.vulnerable ? rgba(60, 60, 90) : rgba(4, 4, 10), 24);
    centredText(L.ctx, "...", {x, y - 16}, 22, alphaScaled(rgba(235, 235, 255), L.tone.opacity), false);
    L.tone = saved;
}

void ovim(Look& L) {
    const BossState& b = L.b;
    const float x = b.x, y = b.y;
    const sf::Color red = rgba(255, 40, 90);
    L.plainDisc({x, y}, 60 + 4 * std::sin(4 * L.t), rgba(255, 40, 90, 40), 40);
    bool white = L.tone.white || b.vulnerable;
    drawCircle(L.ctx, {x, y}, 36, white ? sf::Color::White : rgba(20, 0, 10), 24, 4, red);
    L.plainDisc({x, y}, 12 + 2 * std::sin(4 * L.t), red, 20);
    static const char kName[4] = {'O', 'V', 'I', 'M'};
    for (std::size_t i = 0; i < b.orbiters.size() && i < 4; ++i) {
        drawCircle(L.ctx, b.orbiters[i], 22, rgba(10, 0, 8), 16, 2, red);
        centredText(L.ctx, std::string(1, kName[i]), b.orbiters[i], 28, sf::Color::White, true);
    }
}

void stoneSerpent(Look& L) {
    const BossState& b = L.b;
    const float F = L.F;
    const sf::Color stone = rgba(140, 120, 102), dark = rgba(70, 58, 50);
    // The body, oldest first, only where it is out of the ground.
    Tone bodyTone = L.tone;
    if (b.defeated) L.tone.opacity *= std::clamp(b.deathTimer / 2.5f, 0.0f, 1.0f);
    for (std::size_t k = 0; k < b.trail.size(); k += 3) {
        const V& s = b.trail[k];
        if (s.y > F - 6) continue;
        float r = 14 + 4 * float(k) / 60.0f;
        L.disc(s, r + 2, dark, 12);
        L.disc(s, r, k % 2 == 0 ? stone : rgba(160, 140, 118), 10);
    }
    L.tone = bodyTone;
    // Under the floor it only shakes the ground where it will burst out.
    if (b.y > F) {
        if (b.state == 2) {
            for (int i = 0; i < 5; ++i) {
                float jx = b.x - 40 + 20 * float(i) + 3 * std::sin(40 * L.t + float(i));
                L.disc({jx, F - 4 - 3 * std::fabs(std::sin(30 * L.t + 2.0f * float(i)))}, 4, stone, 6);
            }
        }
        return;
    }
    // The head points where it travels.
    float ang = 0;
    if (b.state == 3 && b.trail.size() >= 2) {
        const V& p = b.trail[b.trail.size() - 2];
        ang = std::atan2(b.y - p.y, b.x - p.x);
    } else {
        ang = b.facing > 0 ? 0.0f : kPi;
    }
    V c{b.x, b.y};
    auto at = [&](float fwd, float side) { return c + rotated({fwd, side}, ang); };
    std::vector<V> outer = {at(36, 0), at(20, 22), at(-18, 26), at(-32, 0), at(-18, -26), at(20, -22)};
    std::vector<V> inner = {at(33, 0), at(18, 19), at(-16, 23), at(-29, 0), at(-16, -23), at(18, -19)};
    L.poly(outer, dark);
    L.poly(inner, stone);
    L.line(at(-10, -18), at(-10, 18), 3, dark);
    // A forked tongue while it leaps.
    if (b.state == 3) {
        L.line(at(34, 0), at(50, 0), 3, rgba(200, 60, 60));
        L.line(at(50, 0), at(58, -6), 2, rgba(200, 60, 60));
        L.line(at(50, 0), at(58, 6), 2, rgba(200, 60, 60));
    }
    bool dazed = b.state == 4;
    centredText(L.ctx, "* *", c + rotated({10, 0}, ang) + V(0, -4), 18,
                alphaScaled(dazed ? rgba(255, 250, 220) : rgba(255, 200, 60), L.tone.opacity), false);
}

void theKeeper(Look& L) {
    const BossState& b = L.b;
    const float x = b.x, y = b.y;
    const bool kneel = b.state == 2;
    const float drop = kneel ? 10.0f : 0.0f;
    const sf::Color robe = rgba(120, 44, 56), trim = rgba(232, 190, 92);
    // A halo of old light behind the head.
    drawRing(L.ctx, {x, y - 20 + drop}, 32 + 2 * std::sin(3 * L.t), 3,
             alphaScaled(rgba(255, 220, 120, 130), L.tone.opacity), 30);
    // The robe: wide at the hem, trimmed in gold.
    L.poly({{x - 24, y - 8 + drop}, {x + 24, y - 8 + drop}, {x + 44, y + 42}, {x - 44, y + 42}}, robe);
    L.rect({x - 44, y + 36}, {88, 6}, trim);
    L.line({x, y - 6 + drop}, {x, y + 36}, 4, trim);
    // Arms: held up to the stones, or down on the ground while it kneels.
    float armY = kneel ? 40.0f : -2.0f + 4 * std::sin(2 * L.t);
    L.line({x - 20, y + 4 + drop}, {x - 46, y + armY}, 9, robe);
    L.line({x + 20, y + 4 + drop}, {x + 46, y + armY}, 9, robe);
    L.disc({x - 46, y + armY}, 6, trim, 10);
    L.disc({x + 46, y + armY}, 6, trim, 10);
    // Hood and golden mask.
    V head{x, y - 20 + drop};
    L.disc(head, 24, rgba(70, 30, 40), 24);
    L.disc({head.x, head.y + 2}, 16, b.vulnerable ? rgba(255, 250, 220) : trim, 20, 2, rgba(150, 110, 40));
    if (kneel) {
        L.line({head.x - 10, head.y}, {head.x - 3, head.y + 2}, 2, rgba(60, 30, 20));
        L.line({head.x + 10, head.y}, {head.x + 3, head.y + 2}, 2, rgba(60, 30, 20));
    } else {
        L.plainDisc({head.x - 6, head.y}, 3, rgba(255, 250, 220), 8);
        L.plainDisc({head.x + 6, head.y}, 3, rgba(255, 250, 220), 8);
    }
    // The stones it still holds.
    int held = keeperStonesHeld(b);
    for (int i = 0; i < held && i < int(b.orbiters.size()); ++i)
        keeperStone(L.ctx, b.orbiters[std::size_t(i)], 16, L.t + 0.3f * float(i), L.tone.opacity);
}

}  // namespace

bool bossFlashWhite(const BossState& boss) {
    return boss.hitFlash > 0 && int(20.0f * boss.hitFlash) % 2 == 0;
}

void drawBossBody(DrawContext& ctx, const BossState& boss, const BossArena& arena, float time, int playerHero,
                  const MirrorDrawer& drawMirror) {
    if (boss.gone) return;
    Look L{ctx, boss, arena, time, Tone{bossFlashWhite(boss), 1.0f}, arena.floor};
    switch (boss.kind) {
    case BrambleBeetle: brambleBeetle(L); break;
    case HollowOak: hollowOak(L); break;
    case PrismBat: prismBat(L); break;
    case GeodeGolem: geodeGolem(L); break;
    case GaleTurret: galeTurret(L); break;
    case StormZeppelin: stormZeppelin(L); break;
    case GlitchRacer: glitchRacer(L); break;
    case MirrorHero: mirrorHero(L, playerHero, drawMirror); break;
    case TheSilencer: theSilencer(L); break;
    case Ovim: ovim(L); break;
    case StoneSerpent: stoneSerpent(L); break;
    case TheKeeper: theKeeper(L); break;
    default: break;
    }
}

void drawBossZone(DrawContext& ctx, const BossZone& z, float time, float clock) {
    sf::Color col;
    switch (z.kind) {
    case 0: col = rgba(110, 70, 40); break;
    case 1: col = rgba(90, 60, 30); break;
    case 2: col = rgba(200, 160, 255); break;
    case 3: col = rgba(255, 255, 150); break;
    case 4: col = rgba(0, 240, 255); break;
    case 5: col = sf::Color::White; break;
    case 6: col = rgba(255, 40, 90); break;
    case 7: col = rgba(255, 120, 255); break;
    case 8: col = rgba(170, 140, 110); break;
    case 9: col = rgba(255, 150, 40); break;
    default: col = sf::Color::White; break;
    }
    if (z.warn > 0) {
        float pulse = 0.5f + 0.5f * std::sin(18.0f * time);
        drawRect(ctx, {z.x, z.y + z.h - 6}, {z.w, 6}, alphaScaled(col, (90.0f + 130.0f * pulse) / 255.0f));
        return;
    }
    const sf::Color block = alphaScaled(col, 216.0f / 255.0f);
    switch (z.kind) {
    case 0:
    case 7:
        // A low wall with a lighter crest.
        drawRect(ctx, {z.x, z.y}, {z.w, z.h}, block);
        drawRect(ctx, {z.x, z.y}, {z.w, std::min(6.0f, z.h)}, alphaScaled(mix(col, sf::Color::White, 0.35f), 0.85f));
        break;
    case 1: {
        int n = std::max(1, int(std::round(z.w / 16.0f)));
        float w = z.w / float(n);
        for (int i = 0; i < n; ++i)
            drawTriangle(ctx, {z.x + w * float(i), z.y + z.h}, {z.x + w * float(i + 1), z.y + z.h},
                         {z.x + w * (float(i) + 0.5f), z.y}, col);
        break;
    }
    case 3: {
        // A jagged bolt, new every frame from a hash of the clock.
        std::uint32_t s = std::uint32_t(int(clock * 60.0f)) * 2654435761u ^ std::uint32_t(int(z.x)) * 40503u;
        s |= 1u;
        int segs = std::max(4, int(z.h / 40.0f));
        std::vector<V> pts;
        for (int i = 0; i <= segs; ++i) {
            float k = float(i) / float(segs);
            float off = i == 0 || i == segs ? 0.0f : (float(hashStep(s) & 1023u) / 1023.0f - 0.5f) * z.w * 1.2f;
            pts.push_back({z.x + z.w / 2 + off, z.y + z.h * k});
        }
        for (std::size_t i = 0; i + 1 < pts.size(); ++i) drawThickLine(ctx, pts[i], pts[i + 1], 9, col);
        for (std::size_t i = 0; i + 1 < pts.size(); ++i) drawThickLine(ctx, pts[i], pts[i + 1], 3, sf::Color::White);
        break;
    }
    case 5: {
        V c{z.x + z.w / 2, z.y + z.h / 2};
        const float radii[3] = {14, 24, 34};
        for (int i = 0; i < 3; ++i) {
            float r = radii[i] + 3 * std::sin(10.0f * time + float(i));
            squashedRing(ctx, c, r, 0.6f, 3, sf::Color(255, 255, 255, sf::Uint8(230 - 70 * i)));
        }
        break;
    }
    case 6: {
        drawRect(ctx, {z.x, z.y}, {z.w, z.h}, col);
        float pulse = 0.5f + 0.5f * std::sin(9.0f * time);
        drawRect(ctx, {z.x, z.y}, {z.w, z.h}, rgba(0, 0, 0, int(60 + 150 * pulse)));
        break;
    }
    case 9: {
        // Six stacked discs narrowing upward, seen edge on; the lowest two pale.
        for (int i = 0; i < 6; ++i) {
            float rx = z.w / 2 * (1.0f - 0.1f * float(i));
            float ry = z.h / 12 * 1.25f;
            V c{z.x + z.w / 2, z.y + z.h - (float(i) + 0.5f) * z.h / 6};
            sf::CircleShape d(rx, 24);
            d.setOrigin(rx, rx);
            d.setPosition(c);
            d.setScale(1, ry / rx);
            d.setFillColor(i < 2 ? rgba(255, 240, 160, 230) : col);
            d.setOutlineThickness(2);
            d.setOutlineColor(rgba(200, 100, 20));
            ctx.target.draw(d);
        }
        break;
    }
    default:
        drawRect(ctx, {z.x, z.y}, {z.w, z.h}, block);
        break;
    }
}

void drawBossShot(DrawContext& ctx, const BossShot& s, float time) {
    const V p{s.x, s.y};
    const float r = s.radius;
    switch (s.kind) {
    case 0: drawCircle(ctx, p, r, rgba(120, 80, 40), 8, 2, rgba(60, 120, 50)); break;
    case 1:
        drawCircle(ctx, p, r, rgba(150, 100, 50), 16, 2, rgba(90, 60, 30));
        drawCircle(ctx, {s.x, s.y - 10}, 8, rgba(100, 70, 40), 16);
        break;
    case 2:
        drawPolygon(ctx, {{s.x, s.y - r}, {s.x + 0.7f * r, s.y}, {s.x, s.y + r}, {s.x - 0.7f * r, s.y}},
                    rgba(170, 240, 255));
        break;
    case 3: drawCircle(ctx, p, r, rgba(40, 40, 50), 16, 2, rgba(255, 140, 60)); break;
    case 4:
        drawCircle(ctx, p, r, rgba(90, 90, 110), 12, 2, rgba(255, 220, 80));
        drawThickLine(ctx, {s.x - 20, s.y - 18}, {s.x + 20, s.y - 18}, 3, rgba(220, 220, 240, 160));
        break;
    case 5: drawRing(ctx, p, r, 2, rgba(255, 60, 200), 40); break;
    case 6: drawCircle(ctx, p, r, rgba(10, 10, 20), 14, 2, rgba(200, 200, 255)); break;
    case 7: centredText(ctx, std::string(1, s.letter ? s.letter : '?'), p, 20, sf::Color::White, true); break;
    case 8: keeperStone(ctx, p, r, time, 1.0f); break;
    case 9: drawCircle(ctx, p, r, rgba(130, 112, 96), 7, 2, rgba(70, 58, 50)); break;
    default: drawCircle(ctx, p, r, sf::Color::White, 12); break;
    }
}

void drawBoss(DrawContext& ctx, const BossState& boss, const BossArena& arena, float time, int playerHero,
              const MirrorDrawer& drawMirror) {
    if (boss.gone) return;
    for (const BossZone& z : boss.zones) drawBossZone(ctx, z, time, boss.clock);
    drawBossBody(ctx, boss, arena, time, playerHero, drawMirror);
    for (const BossShot& s : boss.shots) drawBossShot(ctx, s, time);
}
