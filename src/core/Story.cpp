#include "core/Story.h"

#include <cmath>

#include "audio/SoundEffects.h"
#include "core/Input.h"
#include "core/Mivoland2.h"
#include "render/Draw.h"

const std::array<const char*, kStoryPageCount>& storyPages() {
    static const std::array<const char*, kStoryPageCount> pages = {
        "After the Last Zone, the rival fell... but the Divine power it stole didn't go quietly. It cracked the "
        "Mivoland wide open.",
        "Out of the crack came something that should never have been said. The first word - Mivo - spoken BACKWARDS.",
        "OVIM. Wherever it goes, it unspeaks the land. Meadows go silent. Crystals go dark. Whole zones are forgotten.",
        "Kivo and Aivo have fought over the Secret Stones for as long as anyone remembers. Now, for the first time, "
        "they have to fight together.",
        "Every hero has learned something new. Find the stones, take back the zones, and say the first word again!",
    };
    return pages;
}

bool pageTurnPressed(const InputState& input) {
    return input.pressed(sf::Keyboard::Enter) || input.pressed(sf::Keyboard::Space) || input.clicked;
}

void drawPageSky(DrawContext& ctx, float t, sf::Color top, sf::Color bottom) {
    drawVerticalGradient(ctx, {0.0f, 0.0f, 960.0f, 540.0f}, top, bottom);
    for (int i = 0; i < 60; ++i) {
        const float x = std::fmod(97.0f * float(i) + 13.0f, 960.0f);
        const float y = std::fmod(53.0f * float(i * i % 37) + 11.0f * float(i), 540.0f);
        const float a = 0.45f + 0.35f * std::sin(1.7f * t + float(i));
        drawCircle(ctx, {x, y}, i % 5 == 0 ? 2.0f : 1.2f, sf::Color(255, 255, 255, sf::Uint8(a * 255.0f)), 6);
    }
}

void drawStoryPanel(DrawContext& ctx, const std::string& text) {
    drawRect(ctx, {80.0f, 120.0f}, {800.0f, 300.0f}, sf::Color(10, 5, 20, 220), 2.0f, sf::Color(150, 150, 220, 160));
    const std::string lines = wrapText(text, 58);
    float y = 170.0f;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = lines.find('\n', start);
        drawText(ctx, lines.substr(start, end == std::string::npos ? std::string::npos : end - start), {480.0f, y}, 24,
                 sf::Color::White, 0.0f, kAlignCenter);
        if (end == std::string::npos) break;
        start = end + 1;
        y += 34.0f;
    }
}

// ---- The screen -----------------------------------------------------------

void Mivoland2::openStory() {
    state = GameState::Story;
    storyPage = 0;
    playMusic("the_unspoken");
}

void Mivoland2::updateStory() {
    if (input.pressed(sf::Keyboard::Escape)) {
        startAct(save.zone, save.act);
        return;
    }
    if (!pageTurnPressed(input)) return;
    ++storyPage;
    if (storyPage < kStoryPageCount)
        playSound(SoundMenu, 1.0f);
    else
        startAct(save.zone, save.act);
}

void Mivoland2::drawStory(DrawContext& ctx) {
    drawPageSky(ctx, totalTime, sf::Color(8, 4, 20), sf::Color(40, 10, 50));
    const int p = storyPage < 0 ? 0 : (storyPage < kStoryPageCount ? storyPage : kStoryPageCount - 1);
    drawStoryPanel(ctx, storyPages()[std::size_t(p)]);
    if (p == 2) {
        sf::Text t;
        drawText(ctx, t, "O V I M", {480.0f, 340.0f - 48.0f * 0.62f}, 48, sf::Color(255, 40, 90), 3.0f, kAlignCenter);
    }
    drawText(ctx, "Enter / click to go on, Esc to skip", {480.0f, 436.0f}, 16, sf::Color(200, 200, 230), 2.0f,
             kAlignCenter);
}
