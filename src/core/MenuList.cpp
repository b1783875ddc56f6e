#include "core/MenuList.h"

#include "core/Input.h"

void MenuList::reset(std::vector<MenuButton> newButtons, int select) {
    buttons = std::move(newButtons);
    selected = select;
}

namespace {

bool isEnabled(const MenuList& list, int i) {
    return i >= 0 && i < int(list.buttons.size()) && list.buttons[std::size_t(i)].enabled;
}

// Moves the selection by one step in the direction, skipping disabled
// buttons, at most one full turn; with no enabled button it stays.
void moveSelection(MenuList& list, int dir) {
    const int n = int(list.buttons.size());
    if (n == 0) return;
    int i = list.selected;
    if (i < 0 || i >= n) i = dir > 0 ? -1 : n;
    for (int step = 0; step < n; ++step) {
        i = ((i + dir) % n + n) % n;
        if (list.buttons[std::size_t(i)].enabled) {
            list.selected = i;
            return;
        }
    }
}

}  // namespace

MenuStep stepMenuList(MenuList& list, const InputState& in) {
    using K = sf::Keyboard;
    MenuStep step;
    if (in.pressed(K::Down) || in.pressed(K::S)) {
        moveSelection(list, +1);
        step.sound = true;
    }
    if (in.pressed(K::Up) || in.pressed(K::W)) {
        moveSelection(list, -1);
        step.sound = true;
    }

    int hovered = -1;
    for (std::size_t i = 0; i < list.buttons.size(); ++i) {
        if (list.buttons[i].contains(in.mousePos)) {
            hovered = int(i);
            break;
        }
    }
    const bool mouseMoved = list.mouseSeen && in.mousePos != list.lastMouse;
    list.lastMouse = in.mousePos;
    list.mouseSeen = true;
    if (isEnabled(list, hovered) && mouseMoved) list.selected = hovered;

    if (in.clicked && isEnabled(list, hovered)) {
        step.chosen = hovered;
        step.sound = true;
        return step;
    }
    if ((in.pressed(K::Enter) || in.pressed(K::Space)) && isEnabled(list, list.selected)) {
        step.chosen = list.selected;
        step.sound = true;
    }
    return step;
}
