#include "gameplay/SpecialHero.h"

#include <SFML/Graphics/CircleShape.hpp>
#include <algorithm>
#include <cmath>

#include "content/Heroes.h"
#include "render/Draw.h"

namespace {

sf::Color darker(sf::Color c, float f) {
    return sf::Color(sf::Uint8(float(c.r) * (1.0f - f)), sf::Uint8(float(c.g) * (1.0f - f)),
                     sf::Uint8(float(c.b) * (1.0f - f)), c.a);
}

// A point given in the body's own frame (x ahead, y down), turned with the body.
sf::Vector2f onBody(const RunnerPose& p, float angleRad, float x, float y) {
    const float c = std::cos(angleRad), s = std::sin(angleRad);
    return {p.centre.x + x * c - y * s, p.centre.y + x * s + y * c};
}

}  // namespace

void drawRunnerHero(DrawContext& ctx, const RunnerPose& p) {
    const int hero = std::clamp(p.hero, 0, kHeroCount - 1);
    const HeroDef& def = heroTable()[std::size_t(hero)];
    const float R = 18.0f * p.scale;
    const bool bolim = hero == 4;
    const bool ball = p.rolling || bolim;
    const float angle = ball ? p.spin : p.tilt * 3.14159265f / 180.0f;

    sf::CircleShape body(R, std::size_t(std::max(def.shapeSides, 3)));
    body.setOrigin(R, R);
    body.setPosition(p.centre);
    body.setRotation(angle * 180.0f / 3.14159265f);
    body.setFillColor(def.color);
    body.setOutlineThickness(2.0f);
    body.setOutlineColor(darker(def.color, 0.45f));
    ctx.target.draw(body);

    if (bolim) {
        const sf::Color eye(60, 40, 10);
        drawCircle(ctx, onBody(p, angle, -0.35f * R, -0.25f * R), 0.12f * R, eye, 10);
        drawCircle(ctx, onBody(p, angle, 0.35f * R, -0.25f * R), 0.12f * R, eye, 10);
        for (int i = 0; i < 9; ++i) {
            const float a = 0.471f + 0.275f * float(i);
            drawCircle(ctx, onBody(p, angle, 0.55f * R * std::cos(a), 0.5f * R * std::sin(a)), 1.8f, eye, 6);
        }
        return;
    }
    if (ball) {
        for (int i = 0; i < 3; ++i) {
            const float a = 2.0f * p.spin + 2.1f * float(i);
            drawCircle(ctx, {p.centre.x + 0.75f * R * std::cos(a), p.centre.y + 0.75f * R * std::sin(a)}, 2.5f,
                       sf::Color::White, 6);
        }
        return;
    }
    const float f = p.facing < 0 ? -1.0f : 1.0f;
    for (int side = -1; side <= 1; side += 2) {
        const sf::Vector2f eye = onBody(p, angle, f * 0.25f * R + 0.24f * R * float(side), -0.2f * R);
        drawCircle(ctx, eye, 0.2f * R, sf::Color::White, 12);
        drawCircle(ctx, onBody(p, angle, f * (0.32f * R) + 0.24f * R * float(side), -0.2f * R), 0.1f * R,
                   sf::Color(20, 20, 40), 10);
    }
}
