#include "render/Batch.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr float kPi = 3.14159265358979f;

sf::Vector2f unit(sf::Vector2f v) {
    const float l = std::sqrt(v.x * v.x + v.y * v.y);
    return l > 0 ? v / l : sf::Vector2f(0, 0);
}
}  // namespace

sf::Color lerpColor(sf::Color a, sf::Color b, float f) {
    f = std::clamp(f, 0.0f, 1.0f);
    auto mix = [f](sf::Uint8 x, sf::Uint8 y) { return sf::Uint8(float(x) + (float(y) - float(x)) * f); };
    return {mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b), mix(a.a, b.a)};
}

sf::Color withAlpha(sf::Color c, float alpha01) {
    c.a = sf::Uint8(std::clamp(float(c.a) * alpha01, 0.0f, 255.0f));
    return c;
}

sf::Color rgbaOpacity(int r, int g, int b, int a, float opacity) {
    return withAlpha(sf::Color(sf::Uint8(r), sf::Uint8(g), sf::Uint8(b), sf::Uint8(a)), opacity);
}

void ShapeBatch::triangle(sf::Vector2f a, sf::Vector2f b, sf::Vector2f c, sf::Color color) {
    triangle(a, b, c, color, color, color);
}

void ShapeBatch::triangle(sf::Vector2f a, sf::Vector2f b, sf::Vector2f c, sf::Color ca, sf::Color cb,
                          sf::Color cc) {
    if (ca.a == 0 && cb.a == 0 && cc.a == 0) return;
    vertices_.emplace_back(a, ca);
    vertices_.emplace_back(b, cb);
    vertices_.emplace_back(c, cc);
}

void ShapeBatch::quad(sf::Vector2f a, sf::Vector2f b, sf::Vector2f c, sf::Vector2f d, sf::Color color) {
    quad(a, b, c, d, color, color, color, color);
}

void ShapeBatch::quad(sf::Vector2f a, sf::Vector2f b, sf::Vector2f c, sf::Vector2f d, sf::Color ca,
                      sf::Color cb, sf::Color cc, sf::Color cd) {
    triangle(a, b, c, ca, cb, cc);
    triangle(a, c, d, ca, cc, cd);
}

void ShapeBatch::polygon(const std::vector<sf::Vector2f>& p, sf::Color color) {
    if (p.size() < 3 || color.a == 0) return;
    for (std::size_t i = 1; i + 1 < p.size(); ++i) triangle(p[0], p[i], p[i + 1], color);
}

void ShapeBatch::outlineBand(const std::vector<sf::Vector2f>& pts, float thickness, sf::Color color) {
    const std::size_t n = pts.size();
    if (n < 3 || thickness <= 0 || color.a == 0) return;
    // Centre of the shape decides which side is "outside".
    sf::Vector2f centre;
    for (auto p : pts) centre += p;
    centre /= float(n);
    std::vector<sf::Vector2f> outer(n);
    for (std::size_t i = 0; i < n; ++i) {
        const sf::Vector2f prev = pts[(i + n - 1) % n], cur = pts[i], next = pts[(i + 1) % n];
        sf::Vector2f n1 = unit({prev.y - cur.y, cur.x - prev.x});
        sf::Vector2f n2 = unit({cur.y - next.y, next.x - cur.x});
        if ((n1.x * (cur.x - centre.x) + n1.y * (cur.y - centre.y)) < 0) n1 = -n1;
        if ((n2.x * (cur.x - centre.x) + n2.y * (cur.y - centre.y)) < 0) n2 = -n2;
        const float factor = 1.0f + (n1.x * n2.x + n1.y * n2.y);
        const sf::Vector2f normal = factor > 1e-4f ? (n1 + n2) / factor : n1;
        outer[i] = cur + normal * thickness;
    }
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        quad(pts[i], pts[j], outer[j], outer[i], color);
    }
}

void ShapeBatch::rect(sf::Vector2f pos, sf::Vector2f size, sf::Color fill, float outline,
                      sf::Color outlineColor) {
    const sf::Vector2f a = pos, b{pos.x + size.x, pos.y}, c = pos + size, d{pos.x, pos.y + size.y};
    quad(a, b, c, d, fill);
    if (outline > 0 && outlineColor.a != 0) {
        const float t = outline;
        quad({a.x - t, a.y - t}, {b.x + t, b.y - t}, b, a, outlineColor);
        quad(d, c, {c.x + t, c.y + t}, {d.x - t, d.y + t}, outlineColor);
        quad({a.x - t, a.y}, a, d, {d.x - t, d.y}, outlineColor);
        quad(b, {b.x + t, b.y}, {c.x + t, c.y}, c, outlineColor);
    }
}

void ShapeBatch::gradient(sf::Vector2f pos, sf::Vector2f size, sf::Color top, sf::Color bottom) {
    quad(pos, {pos.x + size.x, pos.y}, pos + size, {pos.x, pos.y + size.y}, top, top, bottom, bottom);
}

void ShapeBatch::circle(sf::Vector2f centre, float radius, sf::Color fill, std::size_t points, float outline,
                        sf::Color outlineColor, float rotationDeg, sf::Vector2f scale) {
    points = std::max<std::size_t>(points, 3);
    const float rot = rotationDeg * kPi / 180.0f;
    const float cr = std::cos(rot), sr = std::sin(rot);
    scratch_.resize(points);
    for (std::size_t i = 0; i < points; ++i) {
        const float a = float(i) * 2.0f * kPi / float(points) - kPi / 2.0f;
        const float lx = radius * std::cos(a) * scale.x, ly = radius * std::sin(a) * scale.y;
        scratch_[i] = {centre.x + lx * cr - ly * sr, centre.y + lx * sr + ly * cr};
    }
    if (fill.a != 0)
        for (std::size_t i = 0; i < points; ++i) triangle(centre, scratch_[i], scratch_[(i + 1) % points], fill);
    if (outline > 0 && outlineColor.a != 0) {
        // The outline is built in the unscaled shape and transformed with it.
        const float outer = radius + outline / std::cos(kPi / float(points));
        auto place = [&](float a, float r) {
            const float lx = r * std::cos(a) * scale.x, ly = r * std::sin(a) * scale.y;
            return sf::Vector2f(centre.x + lx * cr - ly * sr, centre.y + lx * sr + ly * cr);
        };
        for (std::size_t i = 0; i < points; ++i) {
            const float ai = float(i) * 2.0f * kPi / float(points) - kPi / 2.0f;
            const float aj = float(i + 1) * 2.0f * kPi / float(points) - kPi / 2.0f;
            quad(scratch_[i], scratch_[(i + 1) % points], place(aj, outer), place(ai, outer), outlineColor);
        }
    }
}

void ShapeBatch::ring(sf::Vector2f centre, float radius, float thickness, sf::Color color, std::size_t points) {
    circle(centre, radius, sf::Color::Transparent, points, thickness, color);
}

void ShapeBatch::thickLine(sf::Vector2f from, sf::Vector2f to, float thickness, sf::Color color) {
    const sf::Vector2f d = to - from;
    const float length = std::sqrt(d.x * d.x + d.y * d.y);
    if (!(length >= 0.01f)) return;
    const sf::Vector2f n = sf::Vector2f(-d.y, d.x) / length * (thickness * 0.5f);
    quad(from - n, to - n, to + n, from + n, color);
}

void ShapeBatch::flush(sf::RenderTarget& target) {
    if (vertices_.empty()) return;
    target.draw(vertices_.data(), vertices_.size(), sf::Triangles);
    vertices_.clear();
}
