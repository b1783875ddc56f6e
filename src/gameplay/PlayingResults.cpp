// The end of an act: the results screen and the way on to the next act.
#include "core/Mivoland2.h"

void Mivoland2::clearAct() {
    switch (playMode()) {
        case PlayMode::Course:
            session.playingCourse = false;
            unlockAchievement(10);
            playSound(10);
            onCourseCleared();
            break;
        case PlayMode::Multiplayer:
            onMultiplayerCleared();
            break;
        case PlayMode::Story:
            state = GameState::ActResults;
            session.resultsTime = 0;
            session.timeBonus = timeBonusFor(session.actTime);
            session.gemBonus = gemBonusFor(player.gems);
            unlockAchievement(0);
            if (session.actTime < kSpeedrunTime) unlockAchievement(9);
            playSound(10);
            playMusic("");
            break;
    }
    // The lifetime count of broken baddies reaches the file here too, not
    // only when an achievement unlocks.
    writeAchievements();
}

void Mivoland2::updateActResults(float dt) {
    using K = sf::Keyboard;
    session.resultsTime += dt;
    if (session.resultsTime < kResultsMinTime) return;
    if (input.pressed(K::Enter) || input.pressed(K::Space) || input.clicked || session.resultsTime > kResultsAutoTime)
        continueAfterResults();
}

void Mivoland2::continueAfterResults() {
    session.score += session.timeBonus + session.gemBonus;
    session.timeBonus = session.gemBonus = 0;
    const NextAct next = nextActAfter(save.zone, save.act);
    if (next.ending) {
        save.finished = true;
        save.zone = 5;
        save.act = 2;
        writeSave();
        openEnding();
        return;
    }
    startAct(next.zone, next.act);
}
