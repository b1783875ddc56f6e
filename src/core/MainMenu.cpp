#include "core/Mivoland2.h"
#include "render/Draw.h"

namespace {

std::vector<MenuButton> mainMenuButtons() {
    const char* labels[] = {"Play", "Multiplayer", "Mivo Maker", "Mods", "Options", "Extras"};
    std::vector<MenuButton> buttons;
    for (int i = 0; i < 6; ++i) buttons.push_back({labels[i], 360.0f, 200.0f + 44.0f * float(i), 240.0f, 38.0f, true});
    return buttons;
}

}  // namespace

void Mivoland2::goToMainMenu() {
    state = GameState::MainMenu;
    paused = false;
    menu.reset(mainMenuButtons(), 0);
    playMusic("title");
}

void Mivoland2::updateMainMenu() {
    if (input.pressed(sf::Keyboard::Escape)) {
        window.close();
        return;
    }
    // A chosen button opens its screen; until a screen is in the game its
    // button leaves the menu as it is.
    runMenuList(menu);
}

void Mivoland2::drawMainMenu(DrawContext& ctx) {
    drawVerticalGradient(ctx, {0.0f, 0.0f, 960.0f, 540.0f}, sf::Color(24, 16, 60), sf::Color(60, 30, 110));
    drawMenuButtons(menu, ctx, totalTime, 22);
}
