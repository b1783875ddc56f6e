#pragma once
#include <cstdint>

// The screen being shown; the only switch of the update and draw dispatch.
// The values are fixed; a value outside the list shows only the overlays.
enum class GameState : std::int32_t {
    MainMenu = 0,
    SaveSelect = 1,
    HeroSelect = 2,
    Story = 3,
    Playing = 4,
    ActResults = 5,
    SpecialStage = 6,
    Ending = 7,
    Options = 8,
    Extras = 9,
    Mods = 10,
    Maker = 11,
    Multiplayer = 12,
    ActSelect = 13,
    HiddenTemple = 14,
};
