#include "core/MenuList.h"

#include <algorithm>

#include "core/Input.h"

void MenuList::reset(std::vector<MenuButton> newButtons, int select, bool inRows) {
    buttons = std::move(newButtons);
    selected = select;
    sideways = inRows;
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

// Moves the selection to the next enabled button of its row, left (-1) or
// right (+1), wrapping around within the row.
void moveWithinRow(MenuList& list, int dir) {
    const int n = int(list.buttons.size());
    if (list.selected < 0 || list.selected >= n) {
        moveSelection(list, dir);
        return;
    }
    const MenuButton& here = list.buttons[std::size_t(list.selected)];
    const float middle = here.y + here.h / 2.0f;
    std::vector<int> row;
    for (int i = 0; i < n; ++i) {
        const MenuButton& b = list.buttons[std::size_t(i)];
        if ((b.enabled || i == list.selected) && b.y <= middle && middle < b.y + b.h) row.push_back(i);
    }
    std::stable_sort(row.begin(), row.end(),
                     [&](int a, int b) { return list.buttons[std::size_t(a)].x < list.buttons[std::size_t(b)].x; });
    const int at = int(std::find(row.begin(), row.end(), list.selected) - row.begin());
    if (at >= int(row.size())) return;  // a button without height: it has no row
    const int size = int(row.size());
    list.selected = row[std::size_t(((at + dir) % size + size) % size)];
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
    if (list.sideways && (in.pressed(K::Right) || in.pressed(K::D))) {
        moveWithinRow(list, +1);
        step.sound = true;
    }
    if (list.sideways && (in.pressed(K::Left) || in.pressed(K::A))) {
        moveWithinRow(list, -1);
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
