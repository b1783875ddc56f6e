#include "core/Mivoland2.h"

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
    switch (runMenuList(menu)) {
        case 0: openSaveSelect(); break;
        case 1: openMultiplayerScreen(); break;
        case 2: openMaker(); break;
        case 3: openModsScreen(); break;
        case 4: openOptions(); break;
        case 5: openExtras(); break;
        default: break;
    }
}

// The title screen is drawn in core/Title.cpp.
