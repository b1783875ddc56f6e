// The object passes of an act in play: items, baddies, hazards.
#include "core/Mivoland2.h"
#include "gameplay/Objects.h"

void Mivoland2::runObjectPasses(float dt) {
    ObjectFrame frame;
    frame.dt = dt;
    frame.time = totalTime;
    frame.jumpHeld = input.jumpHeld;
    frame.baddiesBrokenBefore = achievements.baddiesBroken;
    frame.noBaddies = noBaddies;
    frame.doubleGems = playerMods.doubleGems;
    ObjectEvents events;
    updateObjects(level, player, effects, effectsRng, frame, events);

    playEventSounds(*this, events);
    for (const std::string& text : events.toasts) showToast(text);
    session.score += events.score;
    for (int i = 0; i < events.baddiesBroken; ++i) countBaddieBroken();
    if (events.respawnPoint) session.respawnPoint = *events.respawnPoint;
    if (events.shake > 0) addShake(events.shake);
    // Scripts see the frame's points and checkpoint already counted.
    for (const std::string& name : events.scriptEvents) fireEvent(name);
    for (int portal : events.stonePortals) {
        enterStonePortal(portal);
        if (state != GameState::Playing) return;
    }
}
