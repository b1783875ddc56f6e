// A boss fight set up from a generated act.
#include <gtest/gtest.h>

#include "content/BossDuel.h"
#include "content/BossFight.h"
#include "level/ActGenerator.h"
#include "level/Level.h"

TEST(BossFight, EveryActSpawnsItsZonesBossInAnArenaTheDuelAlsoUses) {
    for (int zone = 0; zone < 6; ++zone) {
        for (int act = 1; act <= 2; ++act) {
            Level level;
            generateAct(level, zone, act);
            BossState boss;
            startBossFight(boss, level);
            EXPECT_EQ(boss.kind, level.bossId);
            EXPECT_EQ(boss.hp, bossTable()[std::size_t(level.bossId)].hitPoints);
            BossArena a = bossArenaOf(level, level.startPos);
            EXPECT_FLOAT_EQ(a.width(), duelArenaWidth(level.bossId)) << zone << " " << act;
            EXPECT_FLOAT_EQ(a.floor, level.arenaY);
            GroundHeight g = level.groundHeightAt(a.centre());
            ASSERT_TRUE(g.found);
            EXPECT_FLOAT_EQ(g.y, a.floor);
        }
    }
    EXPECT_STREQ(bossMusicId(9, 2), "final_boss");
    EXPECT_STREQ(bossMusicId(0, 1), "mini_boss");
    EXPECT_STREQ(bossMusicId(11, 2), "boss");
}

TEST(BossFight, TouchOutcomesAndPuffsBecomeParticles) {
    BossTouchResult r;
    r.fx = {{BossFxKind::Hit, {10, 20}}, {BossFxKind::Pop, {30, 40}}};
    std::vector<Particle> list;
    XorShift32 rng(7);
    spawnBossTouchParticles(list, rng, r);
    EXPECT_EQ(list.size(), 26u);
    spawnBossPuffs(list, rng, {{0, 0}, {5, 5}});
    EXPECT_EQ(list.size(), 30u);
}

TEST(BossFight, TheTouchOutcomeIsAppliedToThePlayer) {
    Player p = makePlayer(0, {1500, 582});
    p.grounded = true;
    p.rolling = true;
    p.flameTime = 0.2f;
    BossToucher t = bossToucherFor(p, true);
    EXPECT_TRUE(t.rolling && t.grounded && t.flameDash && t.jumpHeld);
    EXPECT_TRUE(bossTouchAttacking(t));

    BossTouchResult knock;
    knock.setVelocity = knock.leaveGround = knock.endAttacks = true;
    knock.velocity = {300, -480};
    std::vector<ScatteredGem> scattered;
    EXPECT_EQ(applyBossTouch(p, knock, scattered), HurtResult::Ignored);
    EXPECT_FALSE(p.grounded);
    EXPECT_FALSE(p.rolling);
    EXPECT_EQ(p.flameTime, 0);
    EXPECT_FLOAT_EQ(p.vx, 300);
    EXPECT_FLOAT_EQ(p.vy, -480);

    BossTouchResult hurtIt;
    hurtIt.hurtPlayer = true;
    p.gems = 5;
    EXPECT_EQ(applyBossTouch(p, hurtIt, scattered), HurtResult::Hit);
    EXPECT_EQ(p.hearts, 2);
    EXPECT_EQ(scattered.size(), 5u);
    // Mercy time, then a transformed player, are spared.
    EXPECT_EQ(applyBossTouch(p, hurtIt, scattered), HurtResult::Ignored);
    p.hurtTime = 0;
    p.transformed = true;
    EXPECT_EQ(applyBossTouch(p, hurtIt, scattered), HurtResult::Ignored);
    EXPECT_EQ(p.hearts, 2);
}

TEST(BossFight, AFrameOfTheFightHitsTheBossAndBlowsThePlayer) {
    Level level;
    generateAct(level, 2, 1);  // the Gale Turret's act
    ASSERT_EQ(level.bossId, GaleTurret);
    BossState boss;
    startBossFight(boss, level);
    BossArena arena = bossArenaOf(level, {level.arenaX + 100, level.arenaY - 18});
    Player p = makePlayer(0, {level.arenaX + 100, level.arenaY - 18});
    p.grounded = true;
    Effects fx;
    XorShift32 rng(3);
    bool blown = false;
    for (int i = 0; i < 60 * 20 && !blown; ++i) {
        auto speed = [&] { return p.grounded ? p.groundSpeed : p.vx; };
        p.hurtTime = 10;  // spared the lobs: only the wind is watched here
        float before = speed();
        stepBossFight(boss, arena, p, false, 1.0f / 60.0f, fx, rng);
        if (arena.wind != 0) {
            blown = true;
            EXPECT_LT(speed(), before);  // the player stands left of the turret: pushed left
        }
    }
    EXPECT_TRUE(blown);

    // Open the turret and drop the player on its weak point.
    boss.vulnerable = true;
    boss.hitFlash = 0;
    boss.hp = 1;
    boss.state = 3;
    boss.stateTimer = 5;
    p = makePlayer(0, {boss.x, boss.y - 30 - 40});
    p.vy = 200;
    BossFrame f = stepBossFight(boss, arena, p, false, 1.0f / 60.0f, fx, rng);
    EXPECT_TRUE(f.bossHit);
    EXPECT_TRUE(f.bossDefeated);
    ASSERT_EQ(f.sounds.size(), 1u);
    EXPECT_EQ(f.sounds[0], kBossHitSound);
    EXPECT_LT(p.vy, 0);  // knocked up
    EXPECT_GE(fx.particles.size(), 18u);
    int frames = 0;
    while (!stepBossFight(boss, arena, p, false, 1.0f / 60.0f, fx, rng).bossGone && frames < 400) ++frames;
    EXPECT_NEAR(float(frames) / 60.0f, 2.5f, 0.1f);
}
