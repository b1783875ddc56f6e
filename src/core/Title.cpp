#include "core/Title.h"

#include <SFML/Graphics/Text.hpp>
#include <cmath>

#include "content/Heroes.h"
#include "core/Mivoland2.h"
#include "render/Background.h"
#include "render/Draw.h"
#include "render/Hero.h"

float paradeX(int hero, float time) {
    float x = std::fmod(110.0f * float(hero) + 160.0f * time, 1160.0f);
    if (x < 0.0f) x += 1160.0f;
    return x - 100.0f;
}

float paradeHop(int hero, float time) { return 18.0f * std::fabs(std::sin(6.0f * time + float(hero))); }

float titleLetterHue(int letter, float time) { return 0.15f * time + 0.06f * float(letter); }

namespace {

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
    drawMenuBackdrop(ctx, t);
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
    for (int i = 0; i < kHeroCount; ++i) {
        const float x = paradeX(i, t);
        drawMenuHero(ctx, i, {x, 500.0f - paradeHop(i, t)}, 1.0f, t, x / 18.0f);  // a ball rolls as it runs
    }
    drawMenuButtons(menu, ctx, t, 22);
    drawText(ctx, "Arrows + Enter, or click", {480.0f, 516.0f - 14.0f * 0.62f}, 14, sf::Color(220, 220, 240, 160), 1.5f,
             kAlignCenter);
    drawText(ctx, "v0.1", {920.0f, 518.0f}, 14, sf::Color(220, 220, 240), 1.5f);
}

// A hero standing for the menus, facing right.
void Mivoland2::drawMenuHero(DrawContext& ctx, int hero, sf::Vector2f centre, float scale, float time, float spin) {
    HeroPose pose;
    pose.hero = hero >= 0 && hero < kHeroCount ? hero : 0;
    pose.x = centre.x;
    pose.y = centre.y;
    pose.time = time;
    pose.scale = scale;
    pose.rolling = pose.hero == 4;  // Bolim is always a ball
    pose.spin = spin;
    drawHero(ctx, pose);
}
