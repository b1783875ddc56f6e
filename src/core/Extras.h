#pragma once
#include <SFML/Graphics/Rect.hpp>
#include <vector>

#include "core/MenuList.h"

// Extras: the achievements grid and one "Back" button.
std::vector<MenuButton> extrasButtons();

// The box of achievement i (0..11): three columns, four rows.
sf::FloatRect achievementBox(int i);
