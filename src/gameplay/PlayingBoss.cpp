// The boss fight of a story act: trigger, the fight each frame, defeat.
#include <algorithm>
#include <cmath>

#include "content/BossFight.h"
#include "core/Mivoland2.h"
#include "render/World.h"

bool Mivoland2::bossPresent() const { return session.bossActive || (boss.defeated && !boss.gone); }

void Mivoland2::startBossFight() {
    session.bossStarted = session.bossActive = true;
    session.respawnPoint = arenaRespawnPoint(level);
    ::startBossFight(boss, level);
    playMusic(actMusicId());
}

void Mivoland2::updateBossFight(float dt) {
    if (!bossPresent()) return;
    BossArena arena = bossArenaOf(level, {player.x, player.y});
    const BossFrame frame = stepBossFight(boss, arena, player, input.jumpHeld, dt, effects, effectsRng);
    for (int sound : frame.sounds) playSound(sound);
    if (frame.bossHit) {
        fireEvent("bosshit");
        addShake(0.3f);
    }
    if (frame.hurt != HurtResult::Ignored) {
        fireEvent("hurt");
        playSound(2);
        addShake(0.25f);
    }
    if (frame.bossDefeated && session.bossActive) defeatBoss();
}

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
    dropGoalAfterBoss(session, level, player.x);
    playMusic(player.transformed ? std::string("form") : zoneMusicId(level.zone));
}

void Mivoland2::resetBoss() { boss = BossState{}; }

std::optional<sf::Vector2f> Mivoland2::bossTarget() const {
    if (!session.bossActive || boss.defeated) return std::nullopt;
    if (boss.weakRadius > 0) return sf::Vector2f(boss.weakX, boss.weakY);
    return sf::Vector2f(boss.x, boss.y);
}

std::optional<BossMarker> Mivoland2::bossMarker() const {
    if (!session.bossActive || boss.defeated || boss.gone) return std::nullopt;
    // Nothing to point at while the Silencer has vanished or the serpent is under the floor.
    if (boss.kind == TheSilencer && boss.state == 1) return std::nullopt;
    if (boss.kind == StoneSerpent && boss.y >= level.arenaY) return std::nullopt;
    // How far the boss's body reaches from its centre: its weak point and the
    // circles that hurt (its orbiting stones or letters too), at most 160.
    float reach = 0;
    if (boss.weakRadius > 0) reach = std::hypot(boss.weakX - boss.x, boss.weakY - boss.y) + boss.weakRadius;
    for (const BossCircle& c : boss.hurtCircles)
        reach = std::max(reach, std::hypot(c.x - boss.x, c.y - boss.y) + c.radius);
    reach = std::min(reach, 160.0f);
    return bossEdgeMarker({boss.x, boss.y}, worldViewRect(session.camera, session.shakeTime, totalTime), reach);
}
