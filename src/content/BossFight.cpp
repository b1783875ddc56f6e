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

BossToucher bossToucherFor(const Player& p, bool jumpHeld) {
    BossToucher t;
    t.pos = {p.x, p.y};
    t.vel = {p.vx, p.vy};
    t.groundSpeed = p.groundSpeed;
    t.grounded = p.grounded;
    t.inLoop = p.loopIndex >= 0;
    t.rolling = p.rolling;
    t.spinning = p.spinning;
    t.gliding = p.gliding;
    t.slamming = p.slamming;
    t.homing = p.homing;
    t.flameDash = p.flameTime > 0;
    t.starPower = p.invincibleTime > 0;
    t.transformed = p.transformed;
    t.jumpHeld = jumpHeld;
    t.hero = p.hero;
    return t;
}

HurtResult applyBossTouch(Player& p, const BossTouchResult& r, std::vector<ScatteredGem>& scattered) {
    if (r.setVelocity) {
        p.vx = r.velocity.x;
        p.vy = r.velocity.y;
    }
    if (r.leaveGround) {
        p.grounded = false;
        p.surface = -1;
        p.loopIndex = -1;
    }
    if (r.endAttacks) {
        p.rolling = p.spinning = p.gliding = p.slamming = p.homing = false;
        p.homingTime = 0;
        p.flameTime = 0;
        p.charging = false;
    }
    if (r.hurtPlayer) return hurt(p, scattered);
    return HurtResult::Ignored;
}

BossFrame stepBossFight(BossState& boss, BossArena& arena, Player& player, bool jumpHeld, float dt,
                        Effects& effects, XorShift32& rng) {
    BossFrame out;
    arena.player = {player.x, player.y};
    updateBoss(boss, arena, dt);
    if (arena.wind != 0) {
        if (player.grounded)
            player.groundSpeed += 2 * arena.wind * dt;
        else
            player.vx += 2 * arena.wind * dt;
    }
    spawnBossPuffs(effects.particles, rng, arena.puffs);
    if (boss.gone) {
        out.bossGone = true;
        return out;
    }
    if (boss.defeated || player.dead) return out;
    BossTouchResult r = bossTouchPlayer(boss, bossToucherFor(player, jumpHeld));
    out.bossHit = r.bossHit;
    out.bossDefeated = r.bossDefeated;
    for (const BossFx& fx : r.fx) {
        switch (fx.kind) {
        case BossFxKind::Hit: out.sounds.push_back(kBossHitSound); break;
        case BossFxKind::Clank: out.sounds.push_back(kBossClankSound); break;
        case BossFxKind::Pop: out.sounds.push_back(kBossPopSound); break;
        }
    }
    spawnBossTouchParticles(effects.particles, rng, r);
    out.hurt = applyBossTouch(player, r, effects.scatteredGems);
    return out;
}
