// The fight rules shared by every boss: spawning, shots, zones, the hit flash,
// defeat and the touch outcomes.
#include <gtest/gtest.h>

#include <cmath>

#include "content/Bosses.h"

namespace {

constexpr float kL = 1000, kR = 2100, kF = 600, kDt = 1.0f / 60.0f;

BossArena arenaWithPlayer(float px, float py) {
    BossArena a;
    a.left = kL;
    a.right = kR;
    a.floor = kF;
    a.player = {px, py};
    return a;
}

// A boss already fighting, held vulnerable at a known weak point with one hurt
// circle, so the touch rules can be driven directly.
BossState exposedBoss(int kind, int hp) {
    BossState b;
    spawnBoss(b, kind, kL, kR, kF);
    b.hp = hp;
    b.x = 1500;
    b.y = 400;
    b.vulnerable = true;
    b.weakX = 1500;
    b.weakY = 380;
    b.weakRadius = 30;
    b.hurtCircles = {{1500, 440, 30}};
    return b;
}

BossToucher fallingOnto(float x, float y) {
    BossToucher p;
    p.pos = {x, y};
    p.vel = {0, 300};
    return p;
}

}  // namespace

TEST(BossTable, HasTwelveBossesWithTheirHitPoints) {
    const auto& t = bossTable();
    ASSERT_EQ(t.size(), 12u);
    const int hp[12] = {4, 6, 4, 6, 4, 6, 4, 5, 4, 12, 4, 6};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(t[std::size_t(i)].hitPoints, hp[i]) << i;
    EXPECT_EQ(t[9].name, "Ovim");
    EXPECT_EQ(t[8].taunt, "...");
    EXPECT_EQ(t[11].defeatLine, "The stones... are yours to keep now...");
}

TEST(BossSpawn, PlacesEachBossAndSaysItsTaunt) {
    struct Case {
        int kind;
        float x, y;
    } cases[] = {
        {0, kR + 200, kF - 60},      {1, kR - 150, kF},          {2, 1550, kF - 600},
        {4, 1550, kF - 500},         {5, 1550, kF - 600},        {7, kR - 100, kF - 18},
        {8, kR - 200, kF - 90},      {9, 1550, kF - 700},        {10, 1550, kF + 60},
        {11, 1550, kF - 650},
    };
    for (const Case& c : cases) {
        BossState b;
        b.hp = 99;
        b.shots.push_back({});
        spawnBoss(b, c.kind, kL, kR, kF);
        EXPECT_FLOAT_EQ(b.x, c.x) << c.kind;
        EXPECT_FLOAT_EQ(b.y, c.y) << c.kind;
        EXPECT_EQ(b.hp, bossTable()[std::size_t(c.kind)].hitPoints);
        EXPECT_EQ(b.speech, bossTable()[std::size_t(c.kind)].taunt);
        EXPECT_FLOAT_EQ(b.speechTimer, 3.0f);
        EXPECT_EQ(b.facing, -1);
        EXPECT_TRUE(b.shots.empty());
    }
    BossState o;
    spawnBoss(o, 9, kL, kR, kF);
    EXPECT_EQ(o.orbiters.size(), 4u);
    BossState k;
    spawnBoss(k, 11, kL, kR, kF);
    EXPECT_EQ(k.orbiters.size(), 7u);
    BossState bad;
    spawnBoss(bad, 57, kL, kR, kF);  // out of range: clamped, not a crash
    EXPECT_EQ(bad.kind, 11);
}

TEST(BossShots, HomingIsCappedAndGravityShotsEndAtTheFloor) {
    BossShot homing;
    homing.x = 1200;
    homing.y = 300;
    homing.vx = 0;
    homing.vy = -400;
    homing.life = 50;
    homing.homing = true;
    BossShot falling;
    falling.x = 1300;
    falling.y = kF - 40;
    falling.radius = 12;
    falling.life = 50;
    falling.gravity = true;
    // updateBoss runs the behaviour too; drive shots through a quiet boss.
    BossArena a = arenaWithPlayer(1800, kF - 18);
    BossState quiet;  // the beetle at full health throws nothing
    spawnBoss(quiet, 0, kL, kR, kF);
    quiet.shots = {homing, falling};
    for (int i = 0; i < 120 && !quiet.shots.empty(); ++i) {
        updateBoss(quiet, a, kDt);
        for (const BossShot& s : quiet.shots) {
            if (s.homing) {
                EXPECT_LE(std::hypot(s.vx, s.vy), 230.01f);
            }
            if (s.gravity) {
                EXPECT_LT(s.y, kF - s.radius);
            }
        }
    }
    ASSERT_EQ(quiet.shots.size(), 1u);
    EXPECT_TRUE(quiet.shots[0].homing);
    EXPECT_GT(quiet.shots[0].vx, 0);  // turned toward the player
}

TEST(BossZones, HarmlessDuringTheirWarningHoweverLong) {
    BossState b;  // the beetle lays no zones of its own
    spawnBoss(b, 0, kL, kR, kF);
    // High above the floor, out of the beetle's way.
    BossArena a = arenaWithPlayer(1300, 200);
    BossZone z{1250, 190, 100, 40, 30.0f, 0.5f, 2, 0};
    b.zones = {z};
    BossToucher p;
    p.pos = a.player;
    for (int i = 0; i < 600; ++i) {  // ten seconds of warning
        updateBoss(b, a, kDt);
        ASSERT_EQ(b.zones.size(), 1u);
        EXPECT_FALSE(bossTouchPlayer(b, p).hurtPlayer);
    }
    b.zones[0].warn = 0;
    EXPECT_TRUE(bossTouchPlayer(b, p).hurtPlayer);
    // The test point is 10.8 below the body centre.
    p.pos.y = 190 - 11;
    EXPECT_FALSE(bossTouchPlayer(b, p).hurtPlayer);
}

TEST(BossZones, TravelOnlyOnceLiveAndVanishAfterTheirLife) {
    BossState b;
    spawnBoss(b, 0, kL, kR, kF);
    BossArena a = arenaWithPlayer(1200, kF - 18);
    b.zones = {BossZone{1500, kF - 30, 60, 30, 0.5f, 0.5f, 2, -100}};
    for (int i = 0; i < 27; ++i) updateBoss(b, a, kDt);  // still warning
    ASSERT_FALSE(b.zones.empty());
    EXPECT_FLOAT_EQ(b.zones[0].x, 1500);
    for (int i = 0; i < 20; ++i) updateBoss(b, a, kDt);
    ASSERT_FALSE(b.zones.empty());
    EXPECT_LT(b.zones[0].x, 1500);
    for (int i = 0; i < 20; ++i) updateBoss(b, a, kDt);
    EXPECT_TRUE(b.zones.empty());
}

TEST(BossTouch, NoDamageDuringTheHitFlashWhileHurtCirclesStillHurt) {
    BossState b = exposedBoss(2, 4);
    b.hitFlash = 0.5f;
    BossToucher onWeak = fallingOnto(1500, 360);
    onWeak.spinning = true;
    BossTouchResult r = bossTouchPlayer(b, onWeak);
    EXPECT_EQ(b.hp, 4);
    EXPECT_FALSE(r.bossHit);

    BossToucher walker;  // not attacking, touching the hurt circle
    walker.pos = {1500, 470};
    walker.grounded = true;
    r = bossTouchPlayer(b, walker);
    EXPECT_EQ(b.hp, 4);
    EXPECT_TRUE(r.hurtPlayer);

    b.hitFlash = 0;
    r = bossTouchPlayer(b, onWeak);
    EXPECT_EQ(b.hp, 3);
    EXPECT_TRUE(r.bossHit);
    EXPECT_FLOAT_EQ(b.hitFlash, 1.0f);
    // The second touch in the same flash does nothing more.
    r = bossTouchPlayer(b, onWeak);
    EXPECT_EQ(b.hp, 3);
}

TEST(BossTouch, WhoHitsTheWeakPoint) {
    struct Case {
        const char* what;
        BossToucher p;
        bool hits;
    };
    auto at = [](float x, float y) {
        BossToucher p;
        p.pos = {x, y};
        return p;
    };
    BossToucher falling = fallingOnto(1500, 350);
    BossToucher rising = fallingOnto(1500, 350);
    rising.vel.y = -300;
    BossToucher fromBelow = fallingOnto(1500, 400);  // falling but below the weak point
    BossToucher inLoop = fallingOnto(1500, 350);
    inLoop.inLoop = true;
    BossToucher rolling = at(1520, 400);
    rolling.grounded = true;
    rolling.rolling = true;
    BossToucher bolimFast = at(1520, 400);
    bolimFast.grounded = true;
    bolimFast.hero = 4;
    bolimFast.groundSpeed = -80;
    BossToucher bolimSlow = bolimFast;
    bolimSlow.groundSpeed = 50;
    BossToucher star = at(1520, 400);
    star.grounded = true;
    star.starPower = true;
    BossToucher flame = at(1480, 380);
    flame.flameDash = true;
    BossToucher far = fallingOnto(1500, 310);  // 70 away, reach is 48
    const Case cases[] = {
        {"falling from above", falling, true},   {"rising", rising, false},
        {"falling from below", fromBelow, false}, {"falling in a loop", inLoop, false},
        {"rolling", rolling, true},             {"Bolim fast", bolimFast, true},
        {"Bolim slow", bolimSlow, false},       {"star power", star, true},
        {"flame dash", flame, true},            {"out of reach", far, false},
    };
    for (const Case& c : cases) {
        BossState b = exposedBoss(2, 4);
        b.hurtCircles.clear();
        BossTouchResult r = bossTouchPlayer(b, c.p);
        EXPECT_EQ(r.bossHit, c.hits) << c.what;
        EXPECT_EQ(b.hp, c.hits ? 3 : 4) << c.what;
    }
}

TEST(BossTouch, AHitKnocksThePlayerAwayAndRaisesTheHitEffects) {
    BossState b = exposedBoss(2, 4);
    b.stateTimer = 2.0f;
    BossToucher p = fallingOnto(1530, 380);  // right of the weak point, level with it
    p.pos.y = 379;
    p.spinning = true;
    BossTouchResult r = bossTouchPlayer(b, p);
    ASSERT_TRUE(r.bossHit);
    EXPECT_TRUE(r.setVelocity);
    EXPECT_NEAR(r.velocity.x, 420.0f, 0.5f);
    EXPECT_FLOAT_EQ(r.velocity.y, -480.0f);
    EXPECT_TRUE(r.leaveGround);
    EXPECT_TRUE(r.endAttacks);
    EXPECT_FLOAT_EQ(b.stateTimer, 0.3f);  // the boss moves on quickly
    ASSERT_FALSE(r.fx.empty());
    EXPECT_EQ(r.fx[0].kind, BossFxKind::Hit);
}

TEST(BossTouch, AVulnerableFlagFalseMeansNoDamageEvenFromAFallingPlayer) {
    for (int kind = 0; kind < kBossCount; ++kind) {
        BossState b;
        spawnBoss(b, kind, kL, kR, kF);
        // A player standing on the left third, walking to and fro.
        int checked = 0;
        for (int i = 0; i < 60 * 40; ++i) {
            float t = float(i) * kDt;
            BossArena a = arenaWithPlayer(kL + 200 + 150 * std::sin(t), kF - 18);
            updateBoss(b, a, kDt);
            if (b.vulnerable || b.defeated) continue;
            int hp = b.hp;
            BossState copy = b;
            BossToucher p = fallingOnto(b.weakX, b.weakY - b.weakRadius);
            bossTouchPlayer(copy, p);
            EXPECT_EQ(copy.hp, hp) << bossTable()[std::size_t(kind)].name << " at " << t;
            ++checked;
        }
        if (kind != PrismBat) {
            EXPECT_GT(checked, 0) << kind;
        }
    }
}

TEST(BossTouch, DefeatClearsEveryShotAndZoneAndTheBossSinksAway) {
    BossState b = exposedBoss(5, 1);
    b.shots.assign(5, BossShot{1200, 200, 0, 0, 10, 5, 4, false, true, true, 0});
    b.zones.assign(3, BossZone{1100, kF - 40, 40, 40, 0, 2, 3, 0});
    BossTouchResult r = bossTouchPlayer(b, fallingOnto(1500, 350));
    EXPECT_TRUE(r.bossDefeated);
    EXPECT_TRUE(b.defeated);
    EXPECT_TRUE(b.shots.empty());
    EXPECT_TRUE(b.zones.empty());
    EXPECT_EQ(b.speech, bossTable()[5].defeatLine);
    EXPECT_FLOAT_EQ(b.deathTimer, 2.5f);
    // Once beaten, touching does nothing.
    EXPECT_FALSE(bossTouchPlayer(b, fallingOnto(1500, 350)).bossHit);

    BossArena a = arenaWithPlayer(1200, kF - 18);
    float y0 = b.y;
    int frames = 0, puffFrames = 0;
    while (!b.gone && frames < 600) {
        updateBoss(b, a, kDt);
        EXPECT_TRUE(b.shots.empty());
        for (const sf::Vector2f& p : a.puffs) {
            EXPECT_LE(std::fabs(p.x - b.x), 50.0f);
            EXPECT_LE(std::fabs(p.y - b.y), 50.0f);
        }
        puffFrames += a.puffs.empty() ? 0 : 1;
        ++frames;
    }
    EXPECT_TRUE(b.gone);
    EXPECT_NEAR(float(frames) * kDt, 2.5f, 0.05f);
    EXPECT_GT(b.y, y0 + 50);
    EXPECT_GT(puffFrames, 20);
    EXPECT_LT(puffFrames, frames);
}

TEST(BossTouch, OvimSpeaksEachPhaseLineExactlyOnce) {
    BossState b = exposedBoss(9, 12);
    int first = 0, second = 0;
    std::string last = b.speech;
    for (int hit = 0; hit < 12; ++hit) {
        b.hitFlash = 0;
        b.vulnerable = true;
        int before = b.hp;
        bossTouchPlayer(b, fallingOnto(1500, 350));
        ASSERT_EQ(b.hp, before - 1);
        if (b.speech != last) {
            if (b.speech == "You think a hit can unsay ME? Watch the floor vanish!") {
                ++first;
                EXPECT_EQ(b.hp, 8);
            }
            if (b.speech == "ENOUGH! I will unsay the whole universe!") {
                ++second;
                EXPECT_EQ(b.hp, 4);
            }
            last = b.speech;
        }
    }
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
    EXPECT_TRUE(b.defeated);
    EXPECT_EQ(b.speech, "No... the word... is spoken... again...");
}

TEST(BossTouch, HurtCircles) {
    struct Case {
        const char* what;
        BossToucher p;
        bool hurt, rebound;
    };
    BossToucher walker;
    walker.pos = {1500, 480};  // 40 below the circle's centre
    walker.grounded = true;
    BossToucher roller = walker;
    roller.rolling = true;
    BossToucher looping = walker;
    looping.inLoop = true;
    BossToucher formed = walker;
    formed.transformed = true;
    BossToucher star = walker;
    star.starPower = true;
    BossToucher away = walker;
    away.pos.y = 490;  // 50 away, reach 48
    const Case cases[] = {
        {"walker", walker, true, false},      {"roller", roller, false, true},
        {"in a loop", looping, false, true},  {"transformed: to the hurt rule", formed, true, false},
        {"star power", star, false, true},    {"out of reach", away, false, false},
    };
    for (const Case& c : cases) {
        BossState b = exposedBoss(2, 4);
        b.vulnerable = false;
        BossTouchResult r = bossTouchPlayer(b, c.p);
        EXPECT_EQ(r.hurtPlayer, c.hurt) << c.what;
        EXPECT_EQ(r.setVelocity, c.rebound) << c.what;
        if (c.rebound) {
            EXPECT_NEAR(r.velocity.x, 0, 0.01f) << c.what;
            EXPECT_NEAR(r.velocity.y, 520 - 200, 0.01f) << c.what;  // pushed down and away, less 200 up
            EXPECT_TRUE(r.leaveGround && r.endAttacks);
            ASSERT_FALSE(r.fx.empty());
            EXPECT_EQ(r.fx[0].kind, BossFxKind::Clank);
        }
        EXPECT_EQ(b.hp, 4);
    }
}

TEST(BossTouch, Shots) {
    struct Case {
        const char* what;
        bool destroyable, attacking, grounded, jumpHeld;
        bool hurt, pop;
        float bounce;  // 0: no bounce
    };
    const Case cases[] = {
        {"plain shot, attacker", false, true, false, false, true, false, 0},
        {"mine, walker", true, false, true, false, true, false, 0},
        {"mine, spin with jump held", true, true, false, true, false, true, -560},
        {"mine, spin", true, true, false, false, false, true, -420},
        {"mine, roller on the ground", true, true, true, false, false, true, 0},
    };
    for (const Case& c : cases) {
        BossState b;
        spawnBoss(b, 5, kL, kR, kF);
        b.shots = {BossShot{1300, 500, 0, 0, 16, 5, 4, false, c.destroyable, true, 0},
                   BossShot{1800, 500, 0, 0, 16, 5, 4, false, c.destroyable, true, 0}};
        BossToucher p;
        p.pos = {1310, 520};
        p.vel = {200, 100};
        p.grounded = c.grounded;
        p.spinning = c.attacking && !c.grounded;
        p.rolling = c.attacking && c.grounded;
        p.jumpHeld = c.jumpHeld;
        BossTouchResult r = bossTouchPlayer(b, p);
        EXPECT_EQ(b.shots.size(), 1u) << c.what;  // the touched one is gone either way
        EXPECT_FLOAT_EQ(b.shots[0].x, 1800) << c.what;
        EXPECT_EQ(r.hurtPlayer, c.hurt) << c.what;
        EXPECT_EQ(!r.fx.empty() && r.fx[0].kind == BossFxKind::Pop, c.pop) << c.what;
        if (c.bounce != 0) {
            EXPECT_TRUE(r.setVelocity) << c.what;
            EXPECT_FLOAT_EQ(r.velocity.y, c.bounce) << c.what;
            EXPECT_FLOAT_EQ(r.velocity.x, 200) << c.what;
        } else {
            EXPECT_FALSE(r.setVelocity) << c.what;
        }
    }
}
