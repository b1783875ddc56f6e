#pragma once
#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/System/Vector2.hpp>
#include <cstddef>
#include <string>
#include <vector>

struct MenuList;

// Where the drawing helpers draw, and with which font. The helpers own
// neither. Every helper builds its shape, draws it at once with the default
// render states and forgets it.
struct DrawContext {
    sf::RenderTarget& target;
    const sf::Font& font;
};

// ---- Shapes ---------------------------------------------------------------

// An axis-aligned rectangle; the outline only when the thickness is above 0.
void drawRect(DrawContext& ctx, sf::Vector2f pos, sf::Vector2f size, sf::Color fill,
              float outlineThickness = 0.0f, sf::Color outlineColor = sf::Color::Transparent);

// A regular polygon around the centre (3 points: triangle, 4: diamond, 30 or
// more: a smooth disc).
void drawCircle(DrawContext& ctx, sf::Vector2f centre, float radius, sf::Color fill, std::size_t points = 30,
                float outlineThickness = 0.0f, sf::Color outlineColor = sf::Color::Transparent);

// A ring whose inner edge lies at the radius.
void drawRing(DrawContext& ctx, sf::Vector2f centre, float radius, float thickness, sf::Color color,
              std::size_t points = 30);

// A bar of the given thickness centred on the segment; nothing when the
// segment is shorter than 0.01.
void drawThickLine(DrawContext& ctx, sf::Vector2f from, sf::Vector2f to, float thickness, sf::Color color);

void drawTriangle(DrawContext& ctx, sf::Vector2f a, sf::Vector2f b, sf::Vector2f c, sf::Color color);

// A filled convex polygon with the points in order.
void drawPolygon(DrawContext& ctx, const std::vector<sf::Vector2f>& points, sf::Color color);

// Top colour along the top edge, bottom colour along the bottom edge.
void drawVerticalGradient(DrawContext& ctx, sf::FloatRect rect, sf::Color top, sf::Color bottom);

// ---- Text -----------------------------------------------------------------

constexpr int kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2;

// Fills the text object (UTF-8 string, the context's font) and draws it.
// The position is the top of the line; x is the left edge, the centre or the
// right edge by the alignment. A positive outline is drawn in (0, 0, 0, 220).
// The filled text object is handed back, e.g. to read its bounds.
sf::Text& drawText(DrawContext& ctx, sf::Text& text, const std::string& str, sf::Vector2f pos,
                   unsigned size, sf::Color fill, float outlineThickness = 0.0f, int align = kAlignLeft);

// The same with a text object of its own.
void drawText(DrawContext& ctx, const std::string& str, sf::Vector2f pos, unsigned size, sf::Color fill,
              float outlineThickness = 0.0f, int align = kAlignLeft);

// ---- Shared helpers -------------------------------------------------------

// A pastel rainbow colour; the hue wraps every 1.0.
sf::Color hueColor(float hue);

// "m:ss.t", tenths truncated: 83.47 gives "1:23.4". Negative or non-finite
// times show as 0.
std::string formatTime(float seconds);

// Re-flows the words of the text into lines of at most maxChars characters
// joined by "\n"; a longer word stands alone on its line.
std::string wrapText(const std::string& text, std::size_t maxChars);

// The buttons of a list, the selected enabled one highlighted with a pulse.
void drawMenuButtons(const MenuList& list, DrawContext& ctx, float time, unsigned charSize);

// The spinning gem icon; opacity 0..1.
void drawGem(DrawContext& ctx, sf::Vector2f centre, float time, float opacity);

// The heart icon: two discs and a triangle.
void drawHeart(DrawContext& ctx, sf::Vector2f centre, float size, sf::Color color);
