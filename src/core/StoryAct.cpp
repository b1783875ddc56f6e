#include <algorithm>

#include "core/Mivoland2.h"

// Entering a story act. The act itself (level, player, camera) is built by
// the play flow; this keeps the record and the screen in step until then.
void Mivoland2::startAct(int zone, int act) {
    save.zone = std::clamp(zone, 0, 5);
    save.act = std::clamp(act, 1, 2);
    save.furthestAct = std::max(save.furthestAct, 2 * save.zone - 1 + save.act);
    state = GameState::Playing;
    paused = false;
    playMusic(zoneMusicId(save.zone));
    if (currentSlot >= 0) {
        save.exists = true;
        save.score = score;
        saveSlot(dataDir, currentSlot, save);
    }
}
