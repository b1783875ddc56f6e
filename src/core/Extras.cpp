#include "core/Extras.h"

#include "core/Mivoland2.h"
#include "persist/Achievements.h"
#include "render/Background.h"
#include "render/Draw.h"

std::vector<MenuButton> extrasButtons() { return {{"Back", 60.0f, 470.0f, 140.0f, 44.0f, true}}; }

sf::FloatRect achievementBox(int i) {
    const int col = i % 3, row = i / 3;
    return {45.0f + 295.0f * float(col), 84.0f + 94.0f * float(row), 280.0f, 84.0f};
}

// ---- The screen -----------------------------------------------------------

void Mivoland2::openExtras() {
    state = GameState::Extras;
    menu.reset(extrasButtons(), 0, true);
}

void Mivoland2::updateExtras() {
    if (input.pressed(sf::Keyboard::Escape) || input.pressed(sf::Keyboard::Backspace) || runMenuList(menu) == 0)
        goToMainMenu();
}

void Mivoland2::drawExtras(DrawContext& ctx) {
    drawMenuBackdrop(ctx, totalTime);
    drawText(ctx, "ACHIEVEMENTS", {480.0f, 30.0f}, 36, sf::Color::White, 3.0f, kAlignCenter);
    const auto& table = achievementTable();
    for (int i = 0; i < kAchievementCount; ++i) {
        const sf::FloatRect r = achievementBox(i);
        const bool got = achievements.has(i);
        drawRect(ctx, {r.left, r.top}, {r.width, r.height}, got ? sf::Color(80, 60, 20, 235) : sf::Color(20, 20, 45, 215),
                 got ? 3.0f : 2.0f, got ? sf::Color(255, 220, 90) : sf::Color(90, 90, 130));
        // A star for an unlocked one, a dim dot for a locked one.
        const sf::Vector2f icon{r.left + 26.0f, r.top + r.height / 2.0f};
        if (got) {
            drawCircle(ctx, icon, 13.0f, sf::Color(255, 220, 90), 5, 0.0f);
            drawCircle(ctx, icon, 7.0f, sf::Color(255, 250, 200), 5, 0.0f);
        } else {
            drawCircle(ctx, icon, 10.0f, sf::Color(50, 50, 80), 20, 2.0f, sf::Color(90, 90, 130));
        }
        const sf::Color nameColor = got ? sf::Color(255, 230, 120) : sf::Color(170, 170, 200);
        const sf::Color textColor = got ? sf::Color(255, 245, 220) : sf::Color(130, 130, 160);
        drawText(ctx, table[std::size_t(i)].name, {r.left + 48.0f, r.top + 12.0f}, 18, nameColor, 2.0f);
        drawText(ctx, wrapText(table[std::size_t(i)].description, 30), {r.left + 48.0f, r.top + 40.0f}, 14, textColor,
                 0.0f);
    }
    drawText(ctx, "Baddies broken: " + std::to_string(achievements.baddiesBroken), {480.0f, 482.0f}, 16,
             sf::Color(220, 220, 240), 2.0f, kAlignCenter);
    drawMenuButtons(menu, ctx, totalTime, 22);
}
