#pragma once
#include <vector>

#include "core/MenuList.h"

// Hero select: "<", ">", "Start!" and "Back".
constexpr int kHeroPrevButton = 0, kHeroNextButton = 1, kHeroStartButton = 2, kHeroBackButton = 3;

std::vector<MenuButton> heroSelectButtons();

// The picker wraps round the nine heroes.
int previousHero(int hero);
int nextHero(int hero);
