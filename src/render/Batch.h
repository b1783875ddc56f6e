#pragma once
#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Vertex.hpp>
#include <SFML/System/Vector2.hpp>
#include <cstddef>
#include <vector>

// Collects flat shapes as triangles and draws them in one call, in the order
// they were added, so a scene of hundreds of small shapes costs one draw.
// The shapes have the same geometry as the single-shape helpers of Draw.h:
// circles start at the top and run clockwise, outlines lie outside the shape
// with mitred corners, rings have their inner edge at the radius.
class ShapeBatch {
public:
    ShapeBatch() { vertices_.reserve(1 << 14); }

    void triangle(sf::Vector2f a, sf::Vector2f b, sf::Vector2f c, sf::Color color);
    void triangle(sf::Vector2f a, sf::Vector2f b, sf::Vector2f c, sf::Color ca, sf::Color cb, sf::Color cc);
    // a, b, c, d in order around the quad.
    void quad(sf::Vector2f a, sf::Vector2f b, sf::Vector2f c, sf::Vector2f d, sf::Color color);
    void quad(sf::Vector2f a, sf::Vector2f b, sf::Vector2f c, sf::Vector2f d, sf::Color ca, sf::Color cb,
              sf::Color cc, sf::Color cd);
    // Convex polygon, points in order.
    void polygon(const std::vector<sf::Vector2f>& points, sf::Color color);

    // Top-left and size; an outline of the given thickness around it.
    void rect(sf::Vector2f pos, sf::Vector2f size, sf::Color fill, float outline = 0,
              sf::Color outlineColor = sf::Color::Transparent);
    void gradient(sf::Vector2f pos, sf::Vector2f size, sf::Color top, sf::Color bottom);

    // A regular polygon of `points` corners; rotation in degrees, scale across
    // and along before rotating (like a transformed circle shape).
    void circle(sf::Vector2f centre, float radius, sf::Color fill, std::size_t points = 30, float outline = 0,
                sf::Color outlineColor = sf::Color::Transparent, float rotationDeg = 0,
                sf::Vector2f scale = {1, 1});
    void ring(sf::Vector2f centre, float radius, float thickness, sf::Color color, std::size_t points = 30);
    void thickLine(sf::Vector2f from, sf::Vector2f to, float thickness, sf::Color color);

    // Draws everything collected so far and empties the batch.
    void flush(sf::RenderTarget& target);
    std::size_t vertexCount() const { return vertices_.size(); }
    bool empty() const { return vertices_.empty(); }

private:
    // Outline band of a closed convex outline, like a shape's outline.
    void outlineBand(const std::vector<sf::Vector2f>& pts, float thickness, sf::Color color);

    std::vector<sf::Vertex> vertices_;
    std::vector<sf::Vector2f> scratch_;
};

// Colour helpers shared by the drawing code.
sf::Color lerpColor(sf::Color a, sf::Color b, float f);  // f clamped to 0..1, alpha too
sf::Color withAlpha(sf::Color c, float alpha01);           // alpha = c.a * alpha01
sf::Color rgbaOpacity(int r, int g, int b, int a, float opacity);
