#pragma once
#include <SFML/System/Vector2.hpp>
#include <string>
#include <vector>

struct InputState;

// One entry of a list screen. A disabled button can be neither selected
// nor chosen.
struct MenuButton {
    std::string label;
    float x = 0, y = 0, w = 0, h = 0;  // top-left corner and size, logical units
    bool enabled = true;

    bool contains(sf::Vector2f p) const { return p.x >= x && p.x < x + w && p.y >= y && p.y < y + h; }
};

// The buttons of the list screen being shown and its selection.
struct MenuList {
    std::vector<MenuButton> buttons;
    int selected = 0;
    // Buttons stand side by side in rows (cards): Left/A and Right/D move
    // within the selected button's row too. Off for plain lists, whose
    // screens may give Left/Right a meaning of their own.
    bool sideways = false;

    // Where the mouse was at the previous step, so that a mouse resting on a
    // button does not take the selection back from the keyboard. Kept when
    // the buttons change, so a new screen's list does not jump to a resting
    // mouse either; a list never stepped before only notes the mouse.
    sf::Vector2f lastMouse;
    bool mouseSeen = false;

    // Replaces the buttons and selects one.
    void reset(std::vector<MenuButton> newButtons, int select = 0, bool inRows = false);
};

struct MenuStep {
    int chosen = -1;     // index of the chosen button, or -1
    bool sound = false;  // the menu sound plays (a move or a choice)
};

// The keyboard and mouse rule shared by every list screen:
// Down/S and Up/W move the selection with wrap-around over enabled buttons;
// in a list of rows (sideways), Left/A and Right/D move to the enabled
// neighbour in the row (the buttons level with the selected one's middle),
// with wrap-around within the row;
// a moving mouse selects the enabled button under it; a click on an enabled
// button chooses it; Enter or Space chooses the enabled selection.
MenuStep stepMenuList(MenuList& list, const InputState& input);
