#include "core/Mivoland2.h"

// The shared list rule; step.sound marks the frames where the menu sound is due.
int Mivoland2::runMenuList(MenuList& list) {
    const MenuStep step = stepMenuList(list, input);
    if (step.sound) playSound(SoundMenu, 1.0f);
    return step.chosen;
}
