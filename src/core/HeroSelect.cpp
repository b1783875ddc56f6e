#include "core/HeroSelect.h"

#include "audio/SoundEffects.h"
#include "content/Heroes.h"
#include "core/Mivoland2.h"
#include "render/Background.h"
#include "render/Draw.h"

std::vector<MenuButton> heroSelectButtons() {
    return {
        {"<", 180.0f, 230.0f, 60.0f, 60.0f, true},
        {">", 720.0f, 230.0f, 60.0f, 60.0f, true},
        {"Start!", 380.0f, 440.0f, 200.0f, 50.0f, true},
        {"Back", 60.0f, 470.0f, 140.0f, 44.0f, true},
    };
}

int previousHero(int hero) { return ((hero % kHeroCount + kHeroCount) % kHeroCount + kHeroCount - 1) % kHeroCount; }
int nextHero(int hero) { return ((hero % kHeroCount + kHeroCount) % kHeroCount + 1) % kHeroCount; }

// ---- The screen -----------------------------------------------------------

void Mivoland2::openHeroSelect() {
    state = GameState::HeroSelect;
    heroPick = save.hero >= 0 && save.hero < kHeroCount ? save.hero : 0;
    menu.reset(heroSelectButtons(), kHeroStartButton);
}

void Mivoland2::startNewGame() {
    save.hero = heroPick;
    save.zone = 0;
    save.act = 1;
    save.score = 0;
    session.score = 0;
    writeSave();  // a slot in use now holds the new game
    openStory();
}

void Mivoland2::updateHeroSelect() {
    if (input.pressed(sf::Keyboard::Escape) || input.pressed(sf::Keyboard::Backspace)) {
        openSaveSelect();
        return;
    }
    for (sf::Keyboard::Key k : input.keysPressed) {
        if (k == sf::Keyboard::Left || k == sf::Keyboard::A) {
            heroPick = previousHero(heroPick);
            playSound(SoundMenu, 1.0f);
        } else if (k == sf::Keyboard::Right || k == sf::Keyboard::D) {
            heroPick = nextHero(heroPick);
            playSound(SoundMenu, 1.0f);
        }
    }
    switch (runMenuList(menu)) {
        case kHeroPrevButton: heroPick = previousHero(heroPick); break;
        case kHeroNextButton: heroPick = nextHero(heroPick); break;
        case kHeroStartButton: startNewGame(); break;
        case kHeroBackButton: openSaveSelect(); break;
        default: break;
    }
}

void Mivoland2::drawHeroSelect(DrawContext& ctx) {
    drawMenuBackdrop(ctx, totalTime);
    drawText(ctx, "PICK YOUR HERO", {480.0f, 50.0f}, 40, sf::Color::White, 3.0f, kAlignCenter);

    // The row of all nine, the picked one ringed.
    for (int i = 0; i < kHeroCount; ++i) {
        const sf::Vector2f c{480.0f + 56.0f * float(i - 4), 128.0f};
        if (i == heroPick) drawCircle(ctx, c, 24.0f, sf::Color(70, 70, 160, 235), 30, 3.0f, sf::Color(255, 220, 90));
        drawMenuHero(ctx, i, c, 0.8f, i == heroPick ? totalTime : 0.0f);
    }

    const HeroDef& h = heroTable()[std::size_t(heroPick)];
    drawRect(ctx, {150.0f, 160.0f}, {660.0f, 262.0f}, sf::Color(20, 16, 50, 200), 2.0f, sf::Color(150, 150, 220));
    drawCircle(ctx, {480.0f, 218.0f}, 52.0f, sf::Color(20, 16, 50, 170), 40, 2.0f, sf::Color(150, 150, 220));
    drawMenuHero(ctx, heroPick, {480.0f, 218.0f}, 2.0f, totalTime);
    drawText(ctx, h.name, {480.0f, 272.0f}, 32, sf::Color::White, 3.0f, kAlignCenter);
    drawText(ctx, factionLabel(h.faction), {480.0f, 310.0f}, 20, factionColor(h.faction), 2.0f, kAlignCenter);
    drawText(ctx, "Ability: " + h.abilityName, {480.0f, 340.0f}, 20, sf::Color(255, 220, 90), 2.0f, kAlignCenter);
    const std::string lines = wrapText(h.abilityText, 72);
    float y = 372.0f;
    std::size_t start = 0;
    while (start <= lines.size()) {
        const std::size_t end = lines.find('\n', start);
        const std::string line = lines.substr(start, end == std::string::npos ? std::string::npos : end - start);
        drawText(ctx, line, {480.0f, y}, 16, sf::Color(220, 220, 240), 2.0f, kAlignCenter);
        y += 22.0f;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    drawMenuButtons(menu, ctx, totalTime, 26);
}
