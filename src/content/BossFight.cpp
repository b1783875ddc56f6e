#include "content/BossFight.h"

#include "level/Level.h"

BossArena bossArenaOf(const Level& level, sf::Vector2f player) {
    BossArena a;
    a.left = level.arenaX;
    a.right = level.bossX;
    a.floor = level.arenaY;
    a.player = player;
    return a;
}

void startBossFight(BossState& boss, const Level& level) {
    spawnBoss(boss, level.bossId, level.arenaX, level.bossX, level.arenaY);
}

const char* bossMusicId(int bossId, int act) {
    if (bossId == Ovim) return "final_boss";
    return act == 1 ? "mini_boss" : "boss";
}

void spawnBossTouchParticles(std::vector<Particle>& list, XorShift32& rng, const BossTouchResult& result) {
    for (const BossFx& fx : result.fx) {
        switch (fx.kind) {
        case BossFxKind::Hit:
            spawnParticles(list, rng, fx.pos, 18, sf::Color(kBossSparkColor), 300, 0.5f, 5, 1);
            break;
        case BossFxKind::Pop:
            spawnParticles(list, rng, fx.pos, 8, sf::Color(230, 230, 255), 200, 0.35f, 4, 0);
            break;
        case BossFxKind::Clank:
            spawnParticles(list, rng, fx.pos, 4, sf::Color(255, 255, 255), 160, 0.2f, 3, 1);
            break;
        }
    }
}

void spawnBossPuffs(std::vector<Particle>& list, XorShift32& rng, const std::vector<sf::Vector2f>& puffs) {
    for (const sf::Vector2f& p : puffs) {
        spawnParticles(list, rng, p, 1, sf::Color(kBossPuffColor), 40, 0.45f, 16, 0);
        spawnParticles(list, rng, p, 1, sf::Color(255, 230, 160, 200), 20, 0.35f, 18, 2);
    }
}
