#include "render/Draw.h"

#include <SFML/Graphics/CircleShape.hpp>
#include <SFML/Graphics/ConvexShape.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/VertexArray.hpp>
#include <algorithm>
#include <cmath>
#include <sstream>

#include "core/MenuList.h"

// ---- Shapes ---------------------------------------------------------------

void drawRect(DrawContext& ctx, sf::Vector2f pos, sf::Vector2f size, sf::Color fill, float outlineThickness,
              sf::Color outlineColor) {
    sf::RectangleShape r(size);
    r.setPosition(pos);
    r.setFillColor(fill);
    if (outlineThickness > 0.0f) {
        r.setOutlineThickness(outlineThickness);
        r.setOutlineColor(outlineColor);
    }
    ctx.target.draw(r);
}

void drawCircle(DrawContext& ctx, sf::Vector2f centre, float radius, sf::Color fill, std::size_t points,
                float outlineThickness, sf::Color outlineColor) {
    sf::CircleShape c(radius, std::max<std::size_t>(points, 3));
    c.setOrigin(radius, radius);
    c.setPosition(centre);
    c.setFillColor(fill);
    if (outlineThickness > 0.0f) {
        c.setOutlineThickness(outlineThickness);
        c.setOutlineColor(outlineColor);
    }
    ctx.target.draw(c);
}

void drawRing(DrawContext& ctx, sf::Vector2f centre, float radius, float thickness, sf::Color color,
              std::size_t points) {
    drawCircle(ctx, centre, radius, sf::Color::Transparent, points, thickness, color);
}

void drawThickLine(DrawContext& ctx, sf::Vector2f from, sf::Vector2f to, float thickness, sf::Color color) {
    const sf::Vector2f d = to - from;
    const float length = std::sqrt(d.x * d.x + d.y * d.y);
    if (!(length >= 0.01f)) return;
    sf::RectangleShape r({length, thickness});
    r.setOrigin(0.0f, thickness * 0.5f);
    r.setPosition(from);
    r.setRotation(std::atan2(d.y, d.x) * 180.0f / 3.14159265f);
    r.setFillColor(color);
    ctx.target.draw(r);
}

void drawTriangle(DrawContext& ctx, sf::Vector2f a, sf::Vector2f b, sf::Vector2f c, sf::Color color) {
    drawPolygon(ctx, {a, b, c}, color);
}

void drawPolygon(DrawContext& ctx, const std::vector<sf::Vector2f>& points, sf::Color color) {
    if (points.size() < 3) return;
    sf::ConvexShape shape(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) shape.setPoint(i, points[i]);
    shape.setFillColor(color);
    ctx.target.draw(shape);
}

void drawVerticalGradient(DrawContext& ctx, sf::FloatRect r, sf::Color top, sf::Color bottom) {
    sf::VertexArray v(sf::TriangleStrip, 4);
    v[0] = sf::Vertex({r.left, r.top}, top);
    v[1] = sf::Vertex({r.left + r.width, r.top}, top);
    v[2] = sf::Vertex({r.left, r.top + r.height}, bottom);
    v[3] = sf::Vertex({r.left + r.width, r.top + r.height}, bottom);
    ctx.target.draw(v);
}

// ---- Text -----------------------------------------------------------------

sf::Text& drawText(DrawContext& ctx, sf::Text& text, const std::string& str, sf::Vector2f pos, unsigned size,
                   sf::Color fill, float outlineThickness, int align) {
    text.setFont(ctx.font);
    text.setString(sf::String::fromUtf8(str.begin(), str.end()));
    text.setCharacterSize(size);
    text.setFillColor(fill);
    text.setOutlineThickness(outlineThickness > 0.0f ? outlineThickness : 0.0f);
    if (outlineThickness > 0.0f) text.setOutlineColor(sf::Color(0, 0, 0, 220));
    const sf::FloatRect b = text.getLocalBounds();
    float ox = 0.0f;
    if (align == kAlignCenter) ox = b.left + b.width * 0.5f;
    else if (align == kAlignRight) ox = b.left + b.width;
    text.setOrigin(ox, 0.0f);
    text.setPosition(pos);
    ctx.target.draw(text);
    return text;
}

void drawText(DrawContext& ctx, const std::string& str, sf::Vector2f pos, unsigned size, sf::Color fill,
              float outlineThickness, int align) {
    sf::Text text;
    drawText(ctx, text, str, pos, size, fill, outlineThickness, align);
}

// ---- Shared helpers -------------------------------------------------------

sf::Color hueColor(float hue) {
    if (!std::isfinite(hue)) hue = 0.0f;
    float x = std::fmod(hue, 1.0f) * 6.0f;
    if (x < 0.0f) x += 6.0f;
    if (x >= 6.0f) x = 0.0f;  // a tiny negative hue rounds up to a full turn
    const int sector = int(x);
    const float f = x - std::floor(x);
    const auto up = sf::Uint8(int(f * 255.0f));
    const auto down = sf::Uint8(int((1.0f - f) * 255.0f));
    switch (sector) {
        case 0: return {255, up, 60};
        case 1: return {down, 255, 60};
        case 2: return {60, 255, up};
        case 3: return {60, down, 255};
        case 4: return {up, 60, 255};
        default: return {255, 60, down};
    }
}

std::string formatTime(float seconds) {
    // Keep the conversion to an integer defined whatever the input.
    if (!(seconds > 0.0f)) seconds = 0.0f;
    seconds = std::min(seconds, 2.0e9f);
    const long long whole = static_cast<long long>(seconds);
    const long long minutes = whole / 60;
    const long long secs = whole - 60 * minutes;
    const int tenths = std::clamp(int((seconds - float(whole)) * 10.0f), 0, 9);
    std::ostringstream out;
    out << minutes << ':' << (secs < 10 ? "0" : "") << secs << '.' << tenths;
    return out.str();
}

std::string wrapText(const std::string& text, std::size_t maxChars) {
    std::istringstream words(text);
    std::string word, line, result;
    while (words >> word) {
        if (!line.empty() && line.size() + 1 + word.size() > maxChars) {
            result += line + "\n";
            line.clear();
        }
        if (!line.empty()) line += ' ';
        line += word;
    }
    return result + line;
}

void drawMenuButtons(const MenuList& list, DrawContext& ctx, float time, unsigned charSize) {
    for (std::size_t i = 0; i < list.buttons.size(); ++i) {
        const MenuButton& b = list.buttons[i];
        const bool highlighted = int(i) == list.selected && b.enabled;
        float e = 0.0f;
        sf::Color outline(150, 150, 220), fill = b.enabled ? sf::Color(30, 30, 70, 215) : sf::Color(30, 30, 40, 200);
        float thickness = 2.0f;
        if (highlighted) {
            e = std::sin(time * 6.0f) * 1.5f + 4.0f;
            outline = sf::Color(255, 220, 90);
            fill = sf::Color(70, 70, 160, 235);
            thickness = 3.0f;
        }
        drawRect(ctx, {b.x - e, b.y - e * 0.5f}, {b.w + 2.0f * e, b.h + e}, fill, thickness, outline);
        drawText(ctx, b.label, {b.x + b.w * 0.5f, b.y + b.h * 0.5f - float(charSize) * 0.62f}, charSize,
                 b.enabled ? sf::Color::White : sf::Color(110, 110, 120), 0.0f, kAlignCenter);
    }
}

void drawGem(DrawContext& ctx, sf::Vector2f c, float time, float opacity) {
    const float w = std::max(std::fabs(std::cos(c.x * 0.02f + time * 4.0f)), 0.45f) * 11.0f;
    const auto alpha = sf::Uint8(std::clamp(opacity, 0.0f, 1.0f) * 255.0f);
    const float x = c.x, y = c.y;
    drawPolygon(ctx, {{x, y - 14}, {x + w, y}, {x, y + 14}, {x - w, y}}, sf::Color(30, 140, 200, alpha));
    const float iw = 0.75f * w;
    drawPolygon(ctx, {{x, y - 11}, {x + iw, y}, {x, y + 11}, {x - iw, y}}, sf::Color(60, 230, 255, alpha));
    const float hw = 0.35f * w;
    drawPolygon(ctx, {{x, y - 11}, {x + hw, y - 2}, {x, y + 3}, {x - hw, y - 2}}, sf::Color(220, 255, 255, alpha));
}

void drawHeart(DrawContext& ctx, sf::Vector2f c, float s, sf::Color color) {
    drawCircle(ctx, {c.x - 0.5f * s, c.y - 0.2f * s}, 0.6f * s, color, 16);
    drawCircle(ctx, {c.x + 0.5f * s, c.y - 0.2f * s}, 0.6f * s, color, 16);
    drawTriangle(ctx, {c.x - 1.08f * s, c.y}, {c.x + 1.08f * s, c.y}, {c.x, c.y + 1.1f * s}, color);
}
