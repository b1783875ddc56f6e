#pragma once
#include <vector>

#include "core/MenuList.h"
#include "persist/Settings.h"

// Options: one button per setting, then "Back". The labels show the values
// and are rebuilt every frame.
constexpr int kOptMusic = 0, kOptSound = 1, kOptFullscreen = 2, kOptShowFps = 3, kOptDebugMode = 4, kOptBack = 5;

std::vector<MenuButton> optionsButtons(const Settings& s);
void relabelOptions(std::vector<MenuButton>& buttons, const Settings& s);

// Left/Right: 10 down or up, kept within 0..100.
int nudgeVolume(int volume, int delta);
// Choosing a volume: 10 up, and from 100 round to 0.
int cycleVolume(int volume);

// Shown when debug mode is switched on.
constexpr const char* kDebugModeHint = "Start a No Save game and press B in a level";
