#include "core/Title.h"

#include <SFML/Graphics/CircleShape.hpp>
#include <SFML/Graphics/Text.hpp>
#include <cmath>

#include "content/Heroes.h"
#include "core/Mivoland2.h"
#include "render/Draw.h"

float paradeX(int hero, float time) {
    float x = std::fmod(110.0f * float(hero) + 160.0f * time, 1160.0f);
    if (x < 0.0f) x += 1160.0f;
    return x - 100.0f;
}

float paradeHop(int hero, float time) { return 18.0f * std::fabs(std::sin(6.0f * time + float(hero))); }

float titleLetterHue(int letter, float time) { return 0.15f * time + 0.06f * float(letter); }

namespace {

sf::Color darker(sf::Color c, float f) {
    return sf::Color(sf::Uint8(float(c.r) * (1.0f - f)), sf::Uint8(float(c.g) * (1.0f - f)),
                     sf::Uint8(float(c.b) * (1.0f - f)), c.a);
}

// "MIVOLAND" letter by letter in the rainbow, bobbing, with the big "2"
// after it.
void drawTitleWord(DrawContext& ctx, float t) {
    const std::string word = "MIVOLAND";
    const unsigned size = 54;
    const float baseline = 60.0f;
    const sf::Color outline(20, 10, 50);

    std::vector<float> widths;
    float total = 0.0f;
    for (char c : word) {
        sf::Text m(std::string(1, c), ctx.font, size);
        m.setOutlineThickness(5.0f);
        const float w = c == ' ' ? 24.0f : m.getLocalBounds().width + 7.0f;
        widths.push_back(w);
        total += w;
    }
    total -= 7.0f;  // no gap after the last letter
    float x = 420.0f - total / 2.0f;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (word[i] != ' ') {
            sf::Text letter(std::string(1, word[i]), ctx.font, size);
            letter.setFillColor(hueColor(titleLetterHue(int(i), t)));
            letter.setOutlineColor(outline);
            letter.setOutlineThickness(5.0f);
            const sf::FloatRect b = letter.getLocalBounds();
            letter.setOrigin(b.left, float(size));  // the text line's baseline
            letter.setPosition(x, baseline + 6.0f * std::sin(3.0f * t + 0.5f * float(i)));
            ctx.target.draw(letter);
        }
        x += widths[i];
    }

    const float end = 420.0f + total / 2.0f;
    sf::Text two("2", ctx.font, 120);
    two.setFillColor(sf::Color(255, 215, 60));
    two.setOutlineColor(outline);
    two.setOutlineThickness(6.0f);
    const sf::FloatRect b = two.getLocalBounds();
    // Pulse and sway about the middle of the figure; its left edge stands
    // 10 units past the word and its baseline 40 below the word's.
    two.setOrigin(b.left + b.width / 2.0f, b.top + b.height / 2.0f);
    const float midBelowBaseline = b.top + b.height / 2.0f - 120.0f;
    two.setPosition(end + 10.0f + b.width / 2.0f, baseline + 40.0f + midBelowBaseline);
    const float pulse = 1.0f + 0.06f * std::sin(4.0f * t);
    two.setScale(pulse, pulse);
    two.setRotation(6.0f * std::sin(1.7f * t));
    ctx.target.draw(two);
}

}  // namespace

void Mivoland2::drawMainMenu(DrawContext& ctx) {
    const float t = totalTime;
    drawMenuBackdrop(ctx);
    drawTitleWord(ctx, t);
    {
        sf::Text sub("Kivo and Aivo, together at last", font, 20);
        sub.setFillColor(sf::Color(255, 255, 255, 220));
        sub.setOutlineColor(sf::Color(0, 0, 0, 220));
        sub.setOutlineThickness(2.0f);
        const sf::FloatRect b = sub.getLocalBounds();
        sub.setOrigin(b.left + b.width / 2.0f, b.top + b.height / 2.0f);
        sub.setPosition(480.0f, 140.0f);
        ctx.target.draw(sub);
    }
    for (int i = 0; i < kHeroCount; ++i) drawMenuHero(ctx, i, {paradeX(i, t), 500.0f - paradeHop(i, t)}, 1.0f, t);
    drawMenuButtons(menu, ctx, t, 22);
    drawText(ctx, "Arrows + Enter, or click", {480.0f, 516.0f - 14.0f * 0.62f}, 14, sf::Color(220, 220, 240, 160), 0.0f,
             kAlignCenter);
    drawText(ctx, "v0.1", {920.0f, 518.0f}, 14, sf::Color(220, 220, 240), 0.0f);
}

void Mivoland2::drawMenuBackdrop(DrawContext& ctx) {
    // Evening sky over rolling hills.
    drawVerticalGradient(ctx, {0.0f, 0.0f, 960.0f, 540.0f}, sf::Color(40, 30, 100), sf::Color(150, 90, 170));
    const float t = totalTime;
    for (int layer = 0; layer < 3; ++layer) {
        const sf::Color colours[] = {sf::Color(90, 70, 150), sf::Color(60, 50, 120), sf::Color(36, 30, 84)};
        const float base = 400.0f + 45.0f * float(layer);
        const float drift = std::fmod(t * (6.0f + 10.0f * float(layer)), 320.0f);
        for (int k = -1; k < 5; ++k) {
            const float cx = 320.0f * float(k) - drift + 110.0f * float(layer);
            drawCircle(ctx, {cx, base + 150.0f}, 210.0f - 20.0f * float(layer), colours[layer], 40);
        }
    }
}

// A hero figure for the menus: the body in the hero's colour and shape with
// its eyes, the winged heroes' wings and Bolim's smile.
void Mivoland2::drawMenuHero(DrawContext& ctx, int hero, sf::Vector2f c, float scale, float time) {
    if (hero < 0 || hero >= kHeroCount) hero = 0;
    const HeroDef& h = heroTable()[std::size_t(hero)];
    const float r = 18.0f * scale;
    if (hero == 2 || hero == 3) {
        const sf::Color wing = hero == 2 ? sf::Color(245, 250, 255) : sf::Color(255, 215, 0);
        const float lift = (0.5f - 0.15f * std::sin(8.0f * time)) * 22.0f * scale;
        for (float side : {-1.0f, 1.0f}) {
            drawPolygon(ctx, {{c.x + side * 0.5f * r, c.y - 0.2f * r}, {c.x + side * 1.7f * r, c.y - 0.6f * r - lift},
                              {c.x + side * 1.9f * r, c.y - 0.1f * r - lift * 0.5f}, {c.x + side * 1.5f * r, c.y + 0.3f * r},
                              {c.x + side * 0.6f * r, c.y + 0.3f * r}},
                        wing);
        }
    }
    sf::CircleShape body(r, std::size_t(h.shapeSides));
    body.setOrigin(r, r);
    body.setPosition(c);
    body.setFillColor(h.color);
    body.setOutlineThickness(2.0f);
    body.setOutlineColor(darker(h.color, 0.45f));
    if (h.shapeSides == 3) body.setRotation(90.0f);  // a point forward, as when running right
    ctx.target.draw(body);
    if (hero == 4) {
        for (float side : {-1.0f, 1.0f})
            drawCircle(ctx, {c.x + side * 0.35f * r, c.y - 0.25f * r}, 0.12f * r, sf::Color(60, 40, 10), 10);
        for (int i = 0; i < 9; ++i) {
            const float a = 0.471f + 0.275f * float(i);
            drawCircle(ctx, {c.x + 0.55f * r * std::cos(a), c.y + 0.5f * r * std::sin(a)}, 1.8f * scale,
                       sf::Color(60, 40, 10), 6);
        }
        return;
    }
    const sf::Vector2f face{c.x + 0.25f * r, c.y - 0.2f * r};
    for (float side : {-1.0f, 1.0f}) {
        const sf::Vector2f eye{face.x + side * 0.24f * r, face.y};
        drawCircle(ctx, eye, 0.2f * r, sf::Color::White, 12);
        drawCircle(ctx, {eye.x + 0.07f * r, eye.y}, 0.1f * r, sf::Color(20, 20, 40), 10);
    }
}
