// The boss fight of a story act: trigger, the fight each frame, defeat.
#include "core/Mivoland2.h"

void Mivoland2::startBossFight() {
    session.bossStarted = session.bossActive = true;
    session.respawnPoint = arenaRespawnPoint(level);
    playMusic(actMusicId());
}

void Mivoland2::updateBossFight(float) {}

void Mivoland2::defeatBoss() {
    session.bossStarted = session.bossActive = false;
    session.bossDefeated = true;
    session.score += kBossPoints;
    addShake(0.5f);
    if (level.bossId == 9) {
        unlockAchievement(8);
        clearAct();
        return;
    }
    dropGoalAfterBoss(session, level);
    playMusic(player.transformed ? std::string("form") : zoneMusicId(level.zone));
}

void Mivoland2::resetBoss() {}

std::optional<sf::Vector2f> Mivoland2::bossTarget() const { return std::nullopt; }
